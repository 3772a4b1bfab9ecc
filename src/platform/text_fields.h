// Fields of the line-based text the programs read (input scripts, replays, submissions, command
// lines, query parameters): a number is the whole field or nothing, and words are separated by
// spaces, tabs and carriage returns (a file written on another system keeps its "\r\n").
#pragma once

#include <charconv>
#include <string_view>
#include <system_error>
#include <vector>

namespace platform {

// True when all of `text` is one number of `Number`'s type, stored in `value`.
template <typename Number>
bool parseWhole(std::string_view text, Number& value) {
  const auto [end, status] = std::from_chars(text.data(), text.data() + text.size(), value);
  return status == std::errc() && end == text.data() + text.size();
}

inline std::vector<std::string_view> splitWords(std::string_view line) {
  constexpr std::string_view kSpaces = " \t\r";
  std::vector<std::string_view> words;
  std::size_t at = line.find_first_not_of(kSpaces);
  while (at != std::string_view::npos) {
    const std::size_t end = std::min(line.find_first_of(kSpaces, at), line.size());
    words.push_back(line.substr(at, end - at));
    at = line.find_first_not_of(kSpaces, end);
  }
  return words;
}

}  // namespace platform
