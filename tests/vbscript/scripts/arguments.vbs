Dim a
WScript.Echo WScript.Arguments.Count
For Each a In WScript.Arguments
  WScript.Echo "[" & a & "]"
Next
WScript.Echo WScript.Arguments(1)
WScript.Quit 3
WScript.Echo "not reached"
