# A Dictionary of 100,000 text keys: add, look up, test, count and remove.
d = {}
for i in range(1, 100001):
    d["key" + str(i)] = i
total = 0
for i in range(1, 100001):
    total = total + d["key" + str(i)]
found = 0
for i in range(1, 200001, 2):
    if ("key" + str(i)) in d:
        found = found + 1
for i in range(1, 100001, 10):
    del d["key" + str(i)]
print(total)
print(found)
print(len(d))
