// Conversions between the UTF-8 of source code, files and messages and the UTF-16 of chart texts,
// whose positions and lengths count UTF-16 code units.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace chart {

// Returns nothing when `utf8` is not well-formed UTF-8.
std::optional<std::u16string> toUtf16(std::string_view utf8);

// A lone surrogate, which a chart can make by taking a text apart, becomes U+FFFD.
std::string toUtf8(std::u16string_view utf16);

}  // namespace chart
