WScript.Echo "never printed"
If x Then
  y = 1
Wend
