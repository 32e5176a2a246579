# Plain loops and recursion: integer arithmetic, a nested loop and Fib.
def fib(n):
    if n < 2:
        return n
    else:
        return fib(n - 1) + fib(n - 2)


def sum_loop(count):
    total = 0
    for i in range(1, count + 1):
        total = (total + i * 3 - 1) % 1000003
    return total


def nested(size):
    hits = 0
    for i in range(1, size + 1):
        for j in range(1, size + 1):
            if (i + j) % 7 == 0:
                hits = hits + 1
    return hits


print(sum_loop(3000000))
print(nested(1000))
print(fib(27))
