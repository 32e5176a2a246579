ReDim a(100000000)
x = ((((((((((1))))))))))
If Then Else
