// Loading sounds and playing, looping and rewinding them through the audio service.
#include "chart/actions.h"
#include "chart/chart.h"
#include "chart/diagnostics.h"
#include "chart/resource_path.h"
#include "chart/utf16.h"

namespace chart {

namespace {

std::int32_t soundIndexIn(Chart& chart, std::uint16_t cellIndex) {
  return truncatedIndex(chart.cell(cellIndex).math);
}

}  // namespace

void soundAdd(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Sound_add, 0, node.arguments[0]);
  const Text* text = chart.cell(node.arguments[0]).text;
  const std::string name = text != nullptr ? toUtf8(text->units) : std::string();
  const std::optional<std::string> path = resourceFilePath(name);
  if (!path) raise(missingResourceMessage("sound", chart.chartName(), name));

  const std::int32_t index = chart.services().audio->addSound(*path);
  storeTakenNumber(chart.cell(node.result), float(index));
  chart.recordForDealloc(Resource::Sound, index);
}

void soundPlay(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Sound_play, 0, node.arguments[0]);
  chart.services().audio->playSound(soundIndexIn(chart, node.arguments[0]));
}

void soundLoop(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Sound_loop, 0, node.arguments[0]);
  checkArgument(chart, Command::Sound_loop, 1, node.arguments[1]);
  const bool loop = chart.cell(node.arguments[1]).math == chart.cell(kYes).math;
  chart.services().audio->setLoopSound(loop, soundIndexIn(chart, node.arguments[0]));
}

void soundTimeSend(Chart& chart, const Node& node) {
  checkArgument(chart, Command::Sound_time_send, 0, node.arguments[0]);
  checkArgument(chart, Command::Sound_time_send, 1, node.arguments[1]);
  chart.services().audio->setTimeSound(chart.cell(node.arguments[1]).math,
                                       soundIndexIn(chart, node.arguments[0]));
}

}  // namespace chart
