#!/usr/bin/env bash
# Redraws the chart pictures in docs/charts: NAME.dot from the game's own compiled charts
# (`aloft --chart-graph NAME`) and NAME.svg from it with Graphviz's dot. A test fails while the
# committed .dot files differ from what the game prints.
#
#   scripts/chart-pictures.sh [BUILD_DIR]   the build holding the game (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
aloft=${1:-build}/aloft
[[ -x $aloft ]] || { echo "chart-pictures: build the game first ($aloft not found)" >&2; exit 2; }

mkdir -p docs/charts
for chart in Start Camera Menus Logos Background Letters Word Stats Game; do
  "$aloft" --chart-graph "$chart" > "docs/charts/$chart.dot"
  dot -Tsvg "docs/charts/$chart.dot" -o "docs/charts/$chart.svg"
done
