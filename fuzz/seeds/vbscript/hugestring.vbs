s = "x"
Do
s = s & s
Loop
