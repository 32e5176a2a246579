' Object property calls: a class with a property pair, a read-only property and a method.
Option Explicit

Class Account
  Private balance_
  Private count_

  Private Sub Class_Initialize()
    balance_ = 0
    count_ = 0
  End Sub

  Public Property Get Balance()
    Balance = balance_
  End Property

  Public Property Let Balance(value)
    balance_ = value
    count_ = count_ + 1
  End Property

  Public Property Get Changes()
    Changes = count_
  End Property

  Public Sub Deposit(amount)
    balance_ = (balance_ + amount) Mod 1000003
  End Sub
End Class

Dim acct, i
Set acct = New Account
For i = 1 To 1000000
  acct.Deposit i
  acct.Balance = acct.Balance + 1
Next
WScript.Echo acct.Balance
WScript.Echo acct.Changes
