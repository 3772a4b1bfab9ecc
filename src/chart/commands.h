// The chart language's commands, in one list. The enum, the names printed in diagnostics, the
// argument kinds the start-up verifier demands and the types each argument accepts all come from
// the list below; adding a command is adding one line to it (and its action to the dispatch).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace chart {

// The words a cell's type is reported with, in the order the check tries them.
enum class TypeWord : std::uint8_t {
  Math,
  Text,
  Object,
  MathObject,
  TextObject,
  EmptyConstant,
  EmptyVariable,
};
inline constexpr std::array<std::string_view, 7> kTypeWordNames = {
    "Math", "Text", "Object", "Math Object", "Text Object", "EMPTY Constant", "EMPTY Variable"};

constexpr std::uint8_t wordBit(TypeWord word) { return std::uint8_t(1u << unsigned(word)); }

// The lists of accepted types, as printed in the fifth line of a wrong-type message, and the
// words they let through. "YES" and "YES or NO" name the number cells an argument is meant to
// be; the check is that of "Math".
#define ALOFT_ACCEPTED_TYPES(X)                                                                    \
  X(Math, "Math", wordBit(TypeWord::Math))                                                         \
  X(Text, "Text", wordBit(TypeWord::Text))                                                         \
  X(Object, "Object", wordBit(TypeWord::Object))                                                   \
  X(MathOrEmptyConstant, "Math or EMPTY Constant",                                                 \
    wordBit(TypeWord::Math) | wordBit(TypeWord::EmptyConstant))                                    \
  X(TextOrEmptyConstant, "Text or EMPTY Constant",                                                 \
    wordBit(TypeWord::Text) | wordBit(TypeWord::EmptyConstant))                                    \
  X(EmptyConstantOrText, "EMPTY Constant or Text",                                                 \
    wordBit(TypeWord::EmptyConstant) | wordBit(TypeWord::Text))                                    \
  X(ObjectOrEmptyConstant, "Object or EMPTY Constant",                                             \
    wordBit(TypeWord::Object) | wordBit(TypeWord::EmptyConstant))                                  \
  X(MathOrMathObjectOrEmptyConstant, "Math or Math Object or EMPTY Constant",                      \
    wordBit(TypeWord::Math) | wordBit(TypeWord::MathObject) | wordBit(TypeWord::EmptyConstant))    \
  X(AnyList, "Object or Math Object or Text Object",                                               \
    wordBit(TypeWord::Object) | wordBit(TypeWord::MathObject) | wordBit(TypeWord::TextObject))     \
  X(AnyValue, "Math or Text or Object or Math Object or Text Object",                              \
    wordBit(TypeWord::Math) | wordBit(TypeWord::Text) | wordBit(TypeWord::Object) |                \
        wordBit(TypeWord::MathObject) | wordBit(TypeWord::TextObject))                             \
  X(StorableValue, "Math or Text or Math Object or Text Object",                                   \
    wordBit(TypeWord::Math) | wordBit(TypeWord::Text) | wordBit(TypeWord::MathObject) |            \
        wordBit(TypeWord::TextObject))                                                             \
  X(Yes, "YES", wordBit(TypeWord::Math))                                                           \
  X(YesOrNo, "YES or NO", wordBit(TypeWord::Math))

enum class Accepts : std::uint8_t {
  None,  // no such argument
#define ALOFT_ACCEPTS_ENUM(name, printed, words) name,
  ALOFT_ACCEPTED_TYPES(ALOFT_ACCEPTS_ENUM)
#undef ALOFT_ACCEPTS_ENUM
};

struct AcceptedTypes {
  std::string_view printed;
  std::uint8_t words;
};
inline constexpr AcceptedTypes kAcceptedTypes[] = {
    {"", 0},
#define ALOFT_ACCEPTS_ROW(name, printed, words) {printed, words},
    ALOFT_ACCEPTED_TYPES(ALOFT_ACCEPTS_ROW)
#undef ALOFT_ACCEPTS_ROW
};
constexpr const AcceptedTypes& acceptedTypes(Accepts accepts) {
  return kAcceptedTypes[unsigned(accepts)];
}

// Whether a command writes a result cell besides its arguments.
enum class Writes : std::uint8_t { Nothing, Result };

// One line per command: name, name as printed, first argument, second argument (checked in that
// order), result. `Math.equation` takes any number of operands, each accepted as
// the first argument here.
#define ALOFT_CHART_COMMANDS(X)                                                                    \
  /* result = the arithmetic expression over the operands; an empty operand empties it */          \
  X(Math_equation, "Math.equation", MathOrEmptyConstant, None, Result)                             \
  /* result = sine / cosine of the angle in radians */                                            \
  X(Math_sine, "Math_sine", Math, None, Result)                                                    \
  X(Math_cosine, "Math_cosine", Math, None, Result)                                                \
  /* result text = the number in %g form with 7 significant digits */                             \
  X(Math_to_text, "Math_to_text", Math, None, Result)                                              \
  /* result text += source text; the EMPTY constant empties the result */                         \
  X(Text_add, "Text_add", TextOrEmptyConstant, None, Result)                                       \
  /* text = "" */                                                                                 \
  X(Text_remove_all, "Text_remove_all", Text, None, Nothing)                                       \
  /* result = number of UTF-16 code units */                                                      \
  X(Text_length, "Text_length", Text, None, Result)                                                \
  /* result text = the code unit at SELECTED_TEXT */                                              \
  X(Text_selected_character, "Text_selected_character", Text, None, Result)                        \
  /* SELECTED_TEXT = index */                                                                     \
  X(Text_selected_index, "Text_selected_index", Math, None, Nothing)                               \
  /* result = code of the first code unit */                                                      \
  X(Text_character_to_number, "Text_character_to_number", Text, None, Result)                      \
  /* result list += the source's charts; the EMPTY constant empties the result */                 \
  X(Object_add, "Object_add", ObjectOrEmptyConstant, None, Result)                                 \
  /* result number list += the number or the numbers of the list */                               \
  X(Object_add_math, "Object_add_math", MathOrMathObjectOrEmptyConstant, None, Result)             \
  /* update every chart of the list with the snippet (EMPTY: "Start") */                          \
  X(Object_update_all, "Object_update_all", TextOrEmptyConstant, Object, Nothing)                  \
  /* update the last chart of the list with the snippet */                                        \
  X(Object_update_last, "Object_update_last", TextOrEmptyConstant, Object, Nothing)                \
  /* result = the element at SELECTED_OBJECT */                                                   \
  X(Object_selected_object, "Object_selected_object", AnyList, None, Result)                       \
  /* SELECTED_OBJECT = index */                                                                   \
  X(Object_selected_index, "Object_selected_index", Math, None, Nothing)                           \
  /* global named after the variable = its value, with the key text */                            \
  X(Global_variable_send, "Global_variable_send", AnyValue, EmptyConstantOrText, Nothing)          \
  /* result = copy of the global named after it, when the key matches; else empty */              \
  X(Global_variable_receive, "Global_variable_receive", EmptyConstantOrText, None, Result)         \
  /* remove the global named after the variable, when the key matches */                          \
  X(Global_variable_remove, "Global_variable_remove", AnyValue, EmptyConstantOrText, Nothing)      \
  /* remove every global */                                                                       \
  X(Global_variable_remove_all, "Global_variable_remove_all", Yes, None, Nothing)                  \
  /* result = the preference under the key text; missing: empty */                                \
  X(Preference_open, "Preference_open", Text, None, Result)                                        \
  /* preference under the key text = the value, written to disk at once */                        \
  X(Preference_save, "Preference_save", Text, StorableValue, Nothing)                              \
  /* result = polygon made from the collected vertices, colours and texture points */              \
  X(Polygon_add, "Polygon_add", Text, None, Result)                                                \
  /* draw the polygon and close the placement */                                                   \
  X(Polygon_update, "Polygon_update", Math, None, Nothing)                                         \
  /* replace the polygon's arrays with the collected ones */                                       \
  X(Polygon_replace, "Polygon_replace", Math, None, Nothing)                                       \
  /* the range (length, start) the next replace works on */                                        \
  X(Polygon_replace_range, "Polygon_replace_range", Math, Math, Nothing)                           \
  /* result = texture loaded from the file */                                                      \
  X(Image_add, "Image_add", Text, None, Result)                                                    \
  /* bind the texture */                                                                           \
  X(Image_update, "Image_update", Math, None, Nothing)                                             \
  /* collect a texture coordinate */                                                               \
  X(Image_map_x, "Image_map_x", Math, None, Nothing)                                               \
  X(Image_map_y, "Image_map_y", Math, None, Nothing)                                               \
  /* collect a vertex coordinate */                                                                \
  X(Vertex_x, "Vertex_x", Math, None, Nothing)                                                     \
  X(Vertex_y, "Vertex_y", Math, None, Nothing)                                                     \
  X(Vertex_z, "Vertex_z", Math, None, Nothing)                                                     \
  /* collect a colour component */                                                                 \
  X(Color_red, "Color_red", Math, None, Nothing)                                                   \
  X(Color_green, "Color_green", Math, None, Nothing)                                               \
  X(Color_blue, "Color_blue", Math, None, Nothing)                                                 \
  X(Color_alpha, "Color_alpha", Math, None, Nothing)                                               \
  /* open the placement, translate along one axis */                                               \
  X(Move_x, "Move_x", Math, None, Nothing)                                                         \
  X(Move_y, "Move_y", Math, None, Nothing)                                                         \
  X(Move_z, "Move_z", Math, None, Nothing)                                                         \
  /* open the placement, rotate by degrees about one axis */                                       \
  X(Rotate_x, "Rotate_x", Math, None, Nothing)                                                     \
  X(Rotate_z, "Rotate_z", Math, None, Nothing)                                                     \
  /* viewport ratio = second term : first term */                                                  \
  X(Screen_ratio, "Screen_ratio", Math, Math, Nothing)                                             \
  /* blending on (YES) or off (NO) */                                                              \
  X(Blend, "Blend", YesOrNo, None, Nothing)                                                        \
  /* depth test on (YES) or off (NO) */                                                            \
  X(Depth, "Depth", YesOrNo, None, Nothing)                                                        \
  /* result = picking entry for the polygon */                                                     \
  X(Picking_add, "Picking_add", Math, None, Result)                                                \
  /* result = the polygon under the mouse, or -1 */                                                \
  X(Picking_update, "Picking_update", Math, None, Result)                                          \
  /* result = sound loaded from the file */                                                        \
  X(Sound_add, "Sound_add", Text, None, Result)                                                    \
  /* play the sound */                                                                             \
  X(Sound_play, "Sound_play", Math, None, Nothing)                                                 \
  /* looping on (YES) or off for the sound */                                                      \
  X(Sound_loop, "Sound_loop", Math, YesOrNo, Nothing)                                              \
  /* set the sound's playback position */                                                          \
  X(Sound_time_send, "Sound_time_send", Math, Math, Nothing)                                       \
  /* result text = the current key, as a hex code (YES) or a character (NO) */                     \
  X(Keyboard_down, "Keyboard_down", YesOrNo, None, Result)                                         \
  /* result = YES while the named mouse event is current, else NO */                               \
  X(Mouse_type, "Mouse_type", Text, None, Result)

enum class Command : std::uint8_t {
#define ALOFT_COMMAND_ENUM(name, printed, first, second, writes) name,
  ALOFT_CHART_COMMANDS(ALOFT_COMMAND_ENUM)
#undef ALOFT_COMMAND_ENUM
};

struct CommandInfo {
  std::string_view printed;
  std::array<Accepts, 2> arguments;
  Writes writes;

  int argumentCount() const {
    return (arguments[0] != Accepts::None) + (arguments[1] != Accepts::None);
  }
};

inline constexpr CommandInfo kCommands[] = {
#define ALOFT_COMMAND_ROW(name, printed, first, second, writes) \
  {printed, {Accepts::first, Accepts::second}, Writes::writes},
    ALOFT_CHART_COMMANDS(ALOFT_COMMAND_ROW)
#undef ALOFT_COMMAND_ROW
};

constexpr const CommandInfo& commandInfo(Command command) { return kCommands[unsigned(command)]; }

}  // namespace chart
