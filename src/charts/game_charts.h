// The nine charts that are the game, as data for the chart runtime: one definition each, node for
// node, and the list the registry is built from at start-up.
#pragma once

#include <string>
#include <vector>

#include "chart/definition.h"

chart::ChartSource startChart();
chart::ChartSource cameraChart();
chart::ChartSource menusChart();
chart::ChartSource logosChart();
chart::ChartSource backgroundChart();
chart::ChartSource lettersChart();
chart::ChartSource wordChart();
chart::ChartSource statsChart();
chart::ChartSource gameChart();

// All nine definitions, `Start` first.
std::vector<chart::ChartSource> gameCharts();

// The names of the resource files the charts load: each text written into a cell just before the
// node that loads the picture or sound that cell names. Sorted, each once.
std::vector<std::string> loadedResourceNames();
