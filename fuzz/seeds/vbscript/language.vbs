Dim x, i
x = 0
For i = 1 To 10
  x = x + i * 2
Next
WScript.Echo "x=" & x, -3^2, 2^3^2, 1/3, 10 \ 3, 10 Mod 3, "a" & Null
Function Fact(n)
  If n <= 1 Then
    Fact = 1
  Else
    Fact = n * Fact(n - 1)
  End If
End Function
WScript.Echo Fact(10), Fact(20)
Sub Inc(ByRef v) : v = v + 1 : End Sub
Sub IncV(ByVal v) : v = v + 1 : End Sub
Dim y : y = 5 : Inc y : WScript.Echo y : IncV y : WScript.Echo y : Inc (y) : WScript.Echo y
Dim arr(3) : arr(1) = 10 : Inc arr(1) : WScript.Echo arr(1), UBound(arr)
Class Foo
  Private m
  Public Name
  Sub Class_Initialize : m = 42 : Name = "foo" : End Sub
  Sub Class_Terminate : WScript.Echo "bye " & Name : End Sub
  Public Default Property Get Value : Value = m : End Property
  Public Property Let Value(v) : m = v : End Property
  Function Twice : Twice = m * 2 : End Function
End Class
Dim o : Set o = New Foo
WScript.Echo o.Value, o, o.Twice, o.Name
o.Value = 7 : WScript.Echo o + 1
Set o = Nothing
WScript.Echo "after"
On Error Resume Next
Dim z : z = 1 / 0
WScript.Echo Err.Number, Err.Description
Err.Clear
z = CInt("abc")
WScript.Echo Err.Number
On Error GoTo 0
Select Case 5
  Case 1, 2 : WScript.Echo "no"
  Case 3 To 6 : WScript.Echo "yes"
  Case Else : WScript.Echo "else"
End Select
Dim s : s = ""
Do While Len(s) < 5 : s = s & "a" : Loop
WScript.Echo s
With o2
End With
