// The pictures of a verified run, made once when it is verified and kept with it: its height over
// time and its track seen from above, from the flight the verifier wrote, and the Game chart with
// each node coloured by how often the run took it, drawn by Graphviz from the game's own graph.
#pragma once

#include <atomic>
#include <string>
#include <vector>

namespace board {

struct Picture {
  std::string name;  // "height.svg", "track.svg" or "charts.svg": the end of its address
  std::string alt;   // its text alternative
  std::string svg;
};

// The two flight pictures from the verifier's flight text (the last run in it), or none when it
// holds no run.
std::vector<Picture> flightPictures(const std::string& flight);

inline constexpr const char* kChartPictureAlt =
    "The Game chart as a flowchart, each node coloured by how often this run took it and showing "
    "that count; the nodes it never took are grey and dashed.";

// The chart picture from the node counts the verifier wrote: `game --chart-graph Game --counts`
// then Graphviz's dot, each under limits, their files in `scratch`. Empty when either fails.
// `memoryBytes` is the verification's address-space limit (0: none, for sanitized builds, whose
// shadow memory needs terabytes of address space); the picture's programs get at most 1 GiB.
std::string chartPicture(const std::string& game, const std::string& counts,
                         const std::string& scratch, std::size_t memoryBytes,
                         const std::atomic<bool>& stop);

}  // namespace board
