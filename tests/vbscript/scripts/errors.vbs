' On Error flows, then an unhandled error ends the script.
Sub Risky(n)
  Dim a(2)
  a(n) = 1
End Sub

On Error Resume Next
Risky 5
WScript.Echo "after risky", Err.Number, Err.Description
Err.Clear
Risky 1
WScript.Echo "fine", Err.Number
Err.Raise 1001 + 6000, "Game", "Custom failure"
WScript.Echo Err.Number, Err.Source, Err.Description
On Error GoTo 0
WScript.Echo "now unhandled"
Dim z
z = 10 / 0
WScript.Echo "not reached"
