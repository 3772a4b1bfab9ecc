-- Workload (c): a text append and a remove per turn. A ten-character text gets two more
-- characters appended and is cut back to its first ten; the loop as in counter.lua. Prints the
-- loop's CPU seconds.
-- Run: lua5.4 text.lua TURNS
local total = tonumber(arg[1]) or 10000000
local loop = 0
local work = "TIME 00:00"
local piece = ".5"
local length = #work
local sub = string.sub
local clock = os.clock

local started = clock()
while loop < total do
  work = work .. piece
  work = sub(work, 1, length)
  loop = loop + 1
end
local seconds = clock() - started

print(string.format("seconds %.9f turns %d check %s", seconds, total, work))
