// A chart object: the cells of its definition, the engine resources it made (given back when it
// is torn down), and the engine that runs its nodes. Charts are reference counted; the last
// release tears the chart down explicitly, never from a destructor, because giving resources
// back to the engine may raise a fatal alert.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "chart/cell.h"
#include "chart/program.h"
#include "engine/services.h"

namespace chart {

class Registry;

// The kinds of engine resource a chart records for its teardown, in teardown order.
enum class Resource : std::uint8_t { Polygon, Picking, Lighting, Image, Sound };
inline constexpr int kResourceKinds = 5;

// The one snippet every chart serves.
inline constexpr std::string_view kDefaultSnippet = "Start";

class Chart {
 public:
  // A new chart of the registry's program `programIndex`, set up: constants given, services
  // taken. It runs nothing until its first update. The one
  // reference is the caller's.
  static Chart* create(const Registry& registry, std::uint32_t programIndex,
                       const engine::Services& services);

  void retain() { ++references; }
  // Drops one reference; the last one tears the chart down (engine resources given back in the
  // recorded order, cells and their lists released, which may release child charts) and frees
  // it. Accepts null.
  static void release(Chart* chart);

  std::string_view chartName() const { return program_->name; }
  const Program& program() const { return *program_; }

  // The per-frame entry: tells the services the chart is running, then runs the whole chain of
  // nodes for the snippet "Start".
  void update(std::string_view snippet);
  static bool checkForValidSnippet(std::u16string_view snippet) { return snippet == u"Start"; }

  // Cell access by index, and the by-name operations that make a chart's cells reachable from
  // outside. `setVariable` stores a copy with its own references; `variableFromString` returns a
  // copy whose references the caller owns (release with `releaseCell`); an unknown name gives
  // the contents of `EMPTY`.
  std::span<Cell> cells() { return {cells_.get(), program_->cellCount()}; }
  std::span<const Cell> cells() const { return {cells_.get(), program_->cellCount()}; }
  Cell& cell(std::uint16_t index) { return cells_[index]; }
  void setVariable(const Cell& value, std::string_view name);
  Cell variableFromString(std::string_view name) const;

  // What a command that makes the engine hold something records, so that teardown gives it
  // back; and the record itself.
  void recordForDealloc(Resource kind, std::int32_t index);
  const std::vector<float>& deallocArray(Resource kind) const {
    return deallocArrays[unsigned(kind)];
  }

  // The geometry the vertex, colour and image-map commands collect, value by value, for the
  // next `Polygon_add` or `Polygon_replace`, which hands it over and empties it.
  struct ScratchArrays {
    std::vector<float> vertices;  // x y z per vertex
    std::vector<float> colors;    // r g b a per vertex
    std::vector<float> normals;   // filled by no command
    std::vector<float> textures;  // s t per vertex
  };
  ScratchArrays& scratchArrays() { return scratch; }

  // A text that a receive emptied out of a cell, kept for the next receive of a text into an
  // empty cell: a global text sent and removed every frame (a digit of the run clock) is then
  // taken without a new allocation each time. `keepSpareText` takes over the one reference;
  // `takeSpareText` hands it out (null when none is kept).
  void keepSpareText(Text* text);
  Text* takeSpareText() { return std::exchange(spareText, nullptr); }

  const engine::Services& services() const { return services_; }
  const Registry& registry() const { return *registry_; }
  // Tells the three services that work from now on is this chart's.
  void announceToServices() const;

 private:
  Chart(const Registry& registry, const Program& program, const engine::Services& services);
  ~Chart() = default;

  void dealloc();
  template <bool kTrace>
  void runFrom(std::uint32_t node);
  void runCommand(const Node& node);

  const Registry* registry_;
  const Program* program_;
  engine::Services services_;
  std::unique_ptr<Cell[]> cells_;
  std::array<std::vector<float>, kResourceKinds> deallocArrays;
  ScratchArrays scratch;
  Text* spareText = nullptr;
  std::int32_t references = 1;
  bool traced;
};

}  // namespace chart
