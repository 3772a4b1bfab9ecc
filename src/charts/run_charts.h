// The four charts of the game screen and the stats screen, as data for the chart runtime: one
// definition each, node for node.
#pragma once

#include "chart/definition.h"

chart::ChartSource lettersChart();
chart::ChartSource wordChart();
chart::ChartSource statsChart();
chart::ChartSource gameChart();
