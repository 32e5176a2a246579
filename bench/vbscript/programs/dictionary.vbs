' A Dictionary of 100,000 text keys: add, look up, test, count and remove.
Option Explicit
Dim d, i, total, found
Set d = CreateObject("Scripting.Dictionary")
For i = 1 To 100000
  d.Add "key" & i, i
Next
total = 0
For i = 1 To 100000
  total = total + d("key" & i)
Next
found = 0
For i = 1 To 200000 Step 2
  If d.Exists("key" & i) Then found = found + 1
Next
For i = 1 To 100000 Step 10
  d.Remove "key" & i
Next
WScript.Echo total
WScript.Echo found
WScript.Echo d.Count
