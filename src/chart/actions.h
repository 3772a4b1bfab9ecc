// The action of each node kind and command, one function each. The engine's switch calls them;
// each checks its arguments (raising the fatal diagnostics) before it acts.
#pragma once

#include "chart/program.h"

namespace chart {

class Chart;

// Value nodes.
void createChart(Chart& chart, const Node& node);

// Math and text.
void mathEquation(Chart& chart, const Node& node);
void mathSine(Chart& chart, const Node& node);
void mathCosine(Chart& chart, const Node& node);
void mathToText(Chart& chart, const Node& node);
void textAdd(Chart& chart, const Node& node);
void textRemoveAll(Chart& chart, const Node& node);
void textLength(Chart& chart, const Node& node);
void textSelectedIndex(Chart& chart, const Node& node);
void textSelectedCharacter(Chart& chart, const Node& node);
void textCharacterToNumber(Chart& chart, const Node& node);

// Objects.
void objectAdd(Chart& chart, const Node& node);
void objectAddMath(Chart& chart, const Node& node);
void objectUpdate(Chart& chart, const Node& node, bool lastOnly);
void objectSelectedIndex(Chart& chart, const Node& node);
void objectSelectedObject(Chart& chart, const Node& node);

// Global variables.
void globalVariableSend(Chart& chart, const Node& node);
void globalVariableReceive(Chart& chart, const Node& node);
void globalVariableRemove(Chart& chart, const Node& node);
void globalVariableRemoveAll(Chart& chart, const Node& node);

// Preferences.
void preferenceOpen(Chart& chart, const Node& node);
void preferenceSave(Chart& chart, const Node& node);

// Graphics: geometry, polygons, placement, textures, render state, picture ratio, picking.
void collectVertex(Chart& chart, const Node& node);
void collectColor(Chart& chart, const Node& node);
void collectImageMap(Chart& chart, const Node& node);
void polygonAdd(Chart& chart, const Node& node);
void polygonReplace(Chart& chart, const Node& node);
void polygonReplaceRange(Chart& chart, const Node& node);
void polygonUpdate(Chart& chart, const Node& node);
void place(Chart& chart, const Node& node);
void imageAdd(Chart& chart, const Node& node);
void imageUpdate(Chart& chart, const Node& node);
void blend(Chart& chart, const Node& node);
void depth(Chart& chart, const Node& node);
void screenRatio(Chart& chart, const Node& node);
void pickingAdd(Chart& chart, const Node& node);
void pickingUpdate(Chart& chart, const Node& node);

// Sounds.
void soundAdd(Chart& chart, const Node& node);
void soundPlay(Chart& chart, const Node& node);
void soundLoop(Chart& chart, const Node& node);
void soundTimeSend(Chart& chart, const Node& node);

// Input.
void keyboardDown(Chart& chart, const Node& node);
void mouseType(Chart& chart, const Node& node);

}  // namespace chart
