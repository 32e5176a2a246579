-- Object property calls: a class with a property pair, a read-only property and a method.
local Account = {}
Account.__index = Account

function Account.new()
  return setmetatable({ balance_ = 0, count_ = 0 }, Account)
end

function Account:getBalance() return self.balance_ end

function Account:setBalance(value)
  self.balance_ = value
  self.count_ = self.count_ + 1
end

function Account:getChanges() return self.count_ end

function Account:deposit(amount)
  self.balance_ = (self.balance_ + amount) % 1000003
end

local acct = Account.new()
for i = 1, 1000000 do
  acct:deposit(i)
  acct:setBalance(acct:getBalance() + 1)
end
print(acct:getBalance())
print(acct:getChanges())
