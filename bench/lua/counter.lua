-- Workload (a): `loop = loop + 1` while `loop < total`. Prints the CPU seconds of the loop alone.
-- Run: lua5.4 counter.lua TURNS
local total = tonumber(arg[1]) or 10000000
local loop = 0
local clock = os.clock

local started = clock()
while loop < total do
  loop = loop + 1
end
local seconds = clock() - started

print(string.format("seconds %.9f turns %d check %d", seconds, total, loop))
