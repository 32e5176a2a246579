Do
Loop
