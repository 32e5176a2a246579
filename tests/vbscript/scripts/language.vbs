' Broad language tour; the expected output is in language.expected.
Option Explicit
Dim i, total, s, arr, k
total = 0
For i = 1 To 100
  If i Mod 3 = 0 Or i Mod 5 = 0 Then total = total + i
Next
WScript.Echo "sum", total

s = ""
For Each k In Array("a", "b", "c")
  s = s & UCase(k)
Next
WScript.Echo s, Len(s), TypeName(s)

ReDim arr(2)
arr(0) = 1 : arr(1) = 2 : arr(2) = 3
ReDim Preserve arr(4)
arr(4) = 5
WScript.Echo Join(arr, ","), UBound(arr)

Class Stack
  Private items, count
  Private Sub Class_Initialize
    ReDim items(3)
    count = 0
  End Sub
  Public Sub Push(v)
    If count > UBound(items) Then ReDim Preserve items(count * 2)
    items(count) = v
    count = count + 1
  End Sub
  Public Function Pop()
    count = count - 1
    Pop = items(count)
  End Function
  Public Property Get Size
    Size = count
  End Property
End Class

Dim st
Set st = New Stack
For i = 1 To 10
  st.Push i * i
Next
WScript.Echo st.Size, st.Pop, st.Pop, st.Size

Function Fib(n)
  If n < 2 Then Fib = n Else Fib = Fib(n - 1) + Fib(n - 2)
End Function
WScript.Echo Fib(20)

Sub Swap(a, b)
  Dim t : t = a : a = b : b = t
End Sub
Dim x, y
x = "left" : y = "right"
Swap x, y
WScript.Echo x, y

Select Case Fib(10)
  Case 1 To 50 : WScript.Echo "small"
  Case 55 : WScript.Echo "fib10"
  Case Else : WScript.Echo "other"
End Select

Dim d
Set d = CreateObject("Scripting.Dictionary")
d.Add "one", 1
d("two") = 2
WScript.Echo d.Count, d("two"), d.Exists("one")

WScript.Echo -3^2, 2^3^2, 7 \ 2, -7 Mod 3, 1 / 4, TypeName(32767 + 1), &HFF, "a" & Null & "b"
WScript.StdOut.WriteLine "done"
