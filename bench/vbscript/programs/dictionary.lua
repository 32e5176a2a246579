-- A Dictionary of 100,000 text keys: add, look up, test, count and remove.
local d = {}
local count = 0
for i = 1, 100000 do
  d["key" .. i] = i
  count = count + 1
end
local total = 0
for i = 1, 100000 do
  total = total + d["key" .. i]
end
local found = 0
for i = 1, 200000, 2 do
  if d["key" .. i] ~= nil then found = found + 1 end
end
for i = 1, 100000, 10 do
  d["key" .. i] = nil
  count = count - 1
end
print(total)
print(found)
print(count)
