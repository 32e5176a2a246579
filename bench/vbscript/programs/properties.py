# Object property calls: a class with a property pair, a read-only property and a method.
class Account:
    def __init__(self):
        self._balance = 0
        self._count = 0

    @property
    def balance(self):
        return self._balance

    @balance.setter
    def balance(self, value):
        self._balance = value
        self._count = self._count + 1

    @property
    def changes(self):
        return self._count

    def deposit(self, amount):
        self._balance = (self._balance + amount) % 1000003


acct = Account()
for i in range(1, 1000001):
    acct.deposit(i)
    acct.balance = acct.balance + 1
print(acct.balance)
print(acct.changes)
