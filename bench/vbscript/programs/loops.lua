-- Plain loops and recursion: integer arithmetic, a nested loop and Fib.
local function fib(n)
  if n < 2 then
    return n
  else
    return fib(n - 1) + fib(n - 2)
  end
end

local function sumLoop(count)
  local total = 0
  for i = 1, count do
    total = (total + i * 3 - 1) % 1000003
  end
  return total
end

local function nested(size)
  local hits = 0
  for i = 1, size do
    for j = 1, size do
      if (i + j) % 7 == 0 then hits = hits + 1 end
    end
  end
  return hits
end

print(sumLoop(3000000))
print(nested(1000))
print(fib(27))
