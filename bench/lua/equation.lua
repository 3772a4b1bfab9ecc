-- Workload (b): one four-operand equation and one decision per turn, `x = x * 1.0001 + 0.5`,
-- back to 0 when x passes a million; the loop as in counter.lua. Prints the loop's CPU seconds.
-- Run: lua5.4 equation.lua TURNS
local total = tonumber(arg[1]) or 10000000
local loop = 0
local x = 0.0
local limit = 1000000.0
local clock = os.clock

local started = clock()
while loop < total do
  x = x * 1.0001 + 0.5
  if x > limit then
    x = 0.0
  end
  loop = loop + 1
end
local seconds = clock() - started

print(string.format("seconds %.9f turns %d check %.3f", seconds, total, x))
