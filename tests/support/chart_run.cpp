#include "support/chart_run.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <nlohmann/json.hpp>
#include <numbers>
#include <sstream>

#include "chart/preferences.h"
#include "engine/kiv_audio.h"
#include "engine/kiv_polygons.h"
#include "support/engine_counts.h"

namespace {

using namespace chart_tree;

constexpr std::array<const char*, 6> kClockDigits = {"minuteL", "minuteR",  "secondL",
                                                     "secondR", "milisecL", "milisecR"};

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// Numbers match to a ten-thousandth of their size (the charts compute in float); stored lists as
// JSON (1 and 1.0 are the same number); all else exactly.
bool holds(const std::string& got, char relation, const std::string& want) {
  if (got.starts_with('[') && relation == '=') {
    const auto left = nlohmann::json::parse(got, nullptr, false);
    const auto right = nlohmann::json::parse(want, nullptr, false);
    if (!left.is_discarded() && !right.is_discarded()) return left == right;
  }
  char *gotEnd = nullptr, *wantEnd = nullptr;
  const double a = std::strtod(got.c_str(), &gotEnd), b = std::strtod(want.c_str(), &wantEnd);
  if (got.empty() || want.empty() || *gotEnd || *wantEnd) return relation == '=' && got == want;
  if (relation == '<') return a < b;
  if (relation == '>') return a > b;
  return std::abs(a - b) <= 1e-4 * std::max(1.0, std::abs(b));
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string elementsOf(const chart::List* list) {
  std::string elements;
  for (std::size_t at = 0; list && at < list->size(); ++at) {
    const chart::ListElement& element = (*list)[at];
    elements += at ? " " : "";
    if (const auto* child = std::get_if<chart::Chart*>(&element)) elements += (*child)->chartName();
    if (const auto* value = std::get_if<float>(&element)) elements += number(*value);
    if (const auto* text = std::get_if<std::u16string>(&element)) elements += chart::toUtf8(*text);
  }
  return "[" + elements + "]";
}

// The chart that owns the cell at `path` from `root`, with the cell's name in `last`; null when a
// list on the way holds no chart at that place.
const chart::Chart* chartAt(const chart::Chart& root, const std::string& path, std::string& last) {
  const chart::Chart* at = &root;
  std::size_t from = 0;
  for (std::size_t dot; (dot = path.find('.', from)) != std::string::npos; from = dot + 1) {
    std::string step = path.substr(from, dot - from);
    const auto hash = step.find('#');
    const std::size_t index = hash == std::string::npos ? 0 : std::stoul(step.substr(hash + 1));
    if (hash != std::string::npos) step.resize(hash);
    const auto found = children(*at, step);
    EXPECT_TRUE(hash != std::string::npos || found.size() <= 1) << path;
    if (index >= found.size()) return nullptr;
    at = found[index];
  }
  last = path.substr(from);
  return at;
}

std::string cellValue(const chart::Chart& root, const std::string& path) {
  std::string last;
  const chart::Chart* owner = chartAt(root, path, last);
  if (!owner) return "none";
  const chart::Cell& found = cell(*owner, last);
  switch (found.type) {
    case chart::kEmpty: return "empty";
    case chart::kUndefined: return "undefined";
    case chart::kNumber: return number(found.math);
    case chart::kText:
      return "'" + (found.text ? chart::toUtf8(found.text->units) : std::string()) + "'";
    default: return elementsOf(found.object);
  }
}

std::int32_t indexIn(const chart::Chart& root, const std::string& path) {
  return std::int32_t(std::stof(cellValue(root, path)));
}

// Six vertices of three floats and six texture points of two a glyph; t is stored negated.
std::string glyph(const engine::PolygonRecord* polygon, const std::string& part, int index) {
  if (!polygon) return "none";
  if (part == "glyphs") return std::to_string(polygon->verticesNumber / 18);
  if (polygon->textures.size() < std::size_t(index + 1) * 12) return "none";
  const float* st = polygon->textures.data() + index * 12;
  const float* xyz = polygon->vertices->data() + index * 18;
  return number((xyz[0] + xyz[3]) / 2) + " " + number(st[0]) + " " + number(st[2]) + " " +
         number(-st[1]) + " " + number(-st[5]);
}

// The camera places the scene by translate(0, 0, zoom) x rotate-x(xAngle) x translate(0, 0,
// zHeight); the engine keeps the product column by column, as GL does.
std::string cameraMatrix(const chart::Chart* camera) {
  if (!camera) return "none";
  const double zoom = cell(*camera, "zoom").math, zHeight = cell(*camera, "zHeight").math;
  const double radians = cell(*camera, "xAngle").math * std::numbers::pi / 180;
  const double c = std::cos(radians), s = std::sin(radians);
  const std::array<double, 16> expected = {
      1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, -s * zHeight, c * zHeight + zoom, 1};
  const engine::Matrix& actual = engine::KivPolygons::share().state().modelView.top();
  for (std::size_t at = 0; at < actual.size(); ++at) {
    if (std::abs(actual[at] - expected[at]) > 1e-4) return "differs at " + std::to_string(at);
  }
  return "matches";
}

}  // namespace

void ChartRunTest::SetUp() {
  chart::Preferences::openInMemory(nlohmann::json::object());
  GameTree::SetUp();
}

void ChartRunTest::play(const std::string& script) {
  // The input goes through the view's own event path; chart frame F is the view's F + drawn.
  const std::int64_t drawn = view->framesDrawn();
  std::map<int, std::vector<std::string>> frames;
  std::string events;
  int last = 0;
  std::istringstream in(script);
  for (std::string text; std::getline(in, text);) {
    if (trimmed(text).empty()) continue;
    std::istringstream clauses(text);
    int frame = 0;
    clauses >> frame;
    ASSERT_GT(frame, 0) << text;
    last = std::max(last, frame);
    for (std::string clause; std::getline(clauses, clause, ';');) {
      clause = trimmed(clause);
      if (clause.starts_with("key-") || clause.starts_with("mouse-")) {
        events += std::to_string(frame + drawn) + " " + clause + "\n";
      } else {
        frames[frame].push_back(clause);
      }
    }
  }
  InputScript input = scriptOf(events);
  for (int frame = 1; frame <= last && !HasFatalFailure(); ++frame) {
    const auto checked = [](const std::string& clause) {
      return clause.find_first_of("=<>") != std::string::npos;
    };
    for (const std::string& clause : frames[frame]) {
      if (!checked(clause)) intervene(clause);
    }
    clock.waitForNextTick();
    input.deliver(view->framesDrawn() + 1);
    view->takeFrameEvents();
    std::string alert;
    try {
      view->renderFrame();
    } catch (const engine::FatalAlert& raised) {
      alert = raised.what();
      std::replace(alert.begin(), alert.end(), '\n', '|');
    }
    // The picture is read back only when a line looks at it.
    if (std::any_of(frames[frame].begin(), frames[frame].end(),
                    [](const std::string& clause) { return clause.starts_with("drawn"); })) {
      const platform::Size size = window->drawableSize();
      lastFrame = readFrameBuffer(size.width, size.height);
    }
    view->present();
    bool alertExpected = false;
    for (const std::string& clause : frames[frame]) {
      if (!checked(clause)) continue;
      const auto at = clause.find_first_of("=<>");
      const std::string what = trimmed(clause.substr(0, at)), want = trimmed(clause.substr(at + 1));
      const std::string got = what == "alert" ? (alert.empty() ? "none" : alert) : value(what);
      alertExpected = alertExpected || what == "alert";
      EXPECT_TRUE(holds(got, clause[at], want))
          << "frame " << frame << ": " << what << " is " << got << ", expected " << clause[at]
          << " " << want;
    }
    ASSERT_TRUE(alert.empty() || alertExpected) << "frame " << frame << ": " << alert;
  }
}

void ChartRunTest::intervene(const std::string& clause) {
  std::istringstream words(clause);
  std::string verb, name, argument;
  words >> verb >> name;
  std::getline(words >> std::ws, argument);
  auto& globals = chart::Data::share().globalVariableDictionary();
  if (verb == "send") {
    // As another chart would send it: a number, or a 'text'.
    chart::GlobalEntry entry;
    entry.hasValue = true;
    entry.valueType = argument.starts_with('\'') ? chart::kText : chart::kNumber;
    if (entry.valueType == chart::kText) {
      entry.text = chart::Text::create(*chart::toUtf16(argument.substr(1, argument.size() - 2)));
    } else {
      entry.number = std::stof(argument);
    }
    globals.store(globals.keyFor(name), entry);
  } else if (verb == "remove") {
    globals.remove(globals.keyFor(name));
  } else if (verb == "set" || verb == "clock") {
    std::string cellName;
    const chart::Chart* owner = chartAt(start(), verb == "clock" ? name + ".x" : name, cellName);
    ASSERT_NE(owner, nullptr) << name;
    // The tree's charts are the test's to change between frames.
    auto store = [&](std::string_view named, float value) {
      chart::storeNumber(const_cast<chart::Cell&>(cell(*owner, named)), value);
    };
    if (verb == "set") return store(cellName, std::stof(argument));
    // MM:SS.HH: digit k is at k + k / 2.
    for (std::size_t at = 0; at < kClockDigits.size(); ++at) {
      store(kClockDigits[at], float(argument.at(at + at / 2) - '0'));
    }
  } else if (verb == "seek") {
    engine::KivAudio::share().sound(indexIn(start(), name))->setCurrentTime(std::stod(argument));
  } else if (verb == "store") {
    chart::Preferences::share().save(name, nlohmann::json::parse(argument));
  } else if (verb == "step") {
    clock.setStep(std::stod(name));
  } else if (verb == "pause") {
    view->togglePause();
    view->togglePause();
  } else {
    ADD_FAILURE() << "no verb in \"" << clause << "\"";
  }
}

std::string ChartRunTest::value(const std::string& what) {
  std::istringstream words(what);
  std::string kind, name, cellName;
  int index = 0;
  words >> kind >> name >> index;
  if (kind == "global") {
    const chart::GlobalEntry* entry = global(name);
    if (!entry) return "none";
    if (entry->valueType == chart::kText) return "'" + chart::toUtf8(entry->text->units) + "'";
    if (entry->valueType == chart::kNumber) return number(entry->number);
    return elementsOf(entry->list);
  }
  if (kind == "globals")
    return std::to_string(chart::Data::share().globalVariableDictionary().size());
  if (kind == "stored") {
    const nlohmann::json* stored = chart::Preferences::share().find(name);
    return stored ? stored->dump() : "none";
  }
  if (kind == "drawn") return lastFrame.litPixels() > 0 ? "yes" : "no";
  if (kind == "polygons") return std::to_string(engineCounts().polygons);
  if (kind == "textures") return std::to_string(engineCounts().textures);
  if (kind == "sound") {
    Sound* sound = engine::KivAudio::share().sound(indexIn(start(), name));
    if (!sound) return "none";
    return (sound->isPlaying() ? "playing " : "stopped ") + number(sound->currentTime());
  }
  if (kind == "clock") {
    const chart::Chart* word = chartAt(start(), name + ".x", cellName);
    std::string shown;
    for (std::size_t at = 0; word && at < kClockDigits.size(); ++at) {
      shown += std::to_string(int(cell(*word, kClockDigits[at]).math));
      shown += at == 1 ? ":" : at == 3 ? "." : "";
    }
    return word ? shown : "none";
  }
  if (kind.starts_with("glyph")) {
    return glyph(engine::KivPolygons::share().polygon(indexIn(start(), name)), kind, index);
  }
  if (kind == "camera") return cameraMatrix(chartAt(start(), name + ".x", cellName));
  return cellValue(start(), what);
}
