// Line plots drawn as SVG by the board itself: a run's flight and a player's best times. The
// picture is a whole SVG document that also reads as SVG inside an HTML page; its title and
// description are its text alternative.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace board {

struct PlotAxis {
  std::string label;
  double from = 0, to = 1;
  std::function<std::string(double)> tickText;  // the text of a tick at that value
  bool downward = false;                        // for the vertical axis: values grow down
  double minStep = 0;                           // ticks at least this far apart
};

struct PlotSeries {
  std::string label;   // named in a legend when there are several
  std::string colour;  // a CSS colour
  std::vector<std::pair<double, double>> points;
  bool steps = false;  // held level until the next point, as a best time is
};

struct Plot {
  std::string title, description;  // the board's own words: written as given
  PlotAxis x, y;
  std::vector<PlotSeries> series;
  bool legend = false;  // each series named above the plot
};

std::string svgPlot(const Plot& plot);

// About five round values (1, 2 or 5 times a power of ten apart) from `from` to `to`.
std::vector<double> ticks(double from, double to, double minStep = 0);

}  // namespace board
