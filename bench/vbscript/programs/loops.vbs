' Plain loops and recursion: integer arithmetic, a nested loop and Fib.
Option Explicit

Function Fib(n)
  If n < 2 Then
    Fib = n
  Else
    Fib = Fib(n - 1) + Fib(n - 2)
  End If
End Function

Function SumLoop(count)
  Dim i, total
  total = 0
  For i = 1 To count
    total = (total + i * 3 - 1) Mod 1000003
  Next
  SumLoop = total
End Function

Function Nested(size)
  Dim i, j, hits
  hits = 0
  For i = 1 To size
    For j = 1 To size
      If (i + j) Mod 7 = 0 Then hits = hits + 1
    Next
  Next
  Nested = hits
End Function

WScript.Echo SumLoop(3000000)
WScript.Echo Nested(1000)
WScript.Echo Fib(27)
