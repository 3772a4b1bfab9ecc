#include "chart/utf16.h"

#include <gtest/gtest.h>

namespace chart {
namespace {

// Every plane round trips, the emoji as two code units; malformed UTF-8 is refused; half a
// surrogate pair is written as the replacement character.
TEST(Utf16, RoundTripsEveryPlaneAndRefusesMalformedText) {
  const std::string text = "a\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80";  // a, u-umlaut, euro, emoji
  const std::u16string units = u"a\u00FC\u20AC\U0001F600";
  EXPECT_EQ(toUtf16(text), units);
  EXPECT_EQ(toUtf8(units), text);
  // Not UTF-8, cut short, overlong, a surrogate, past U+10FFFF.
  for (const char* malformed : {"\xFF", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
    EXPECT_EQ(toUtf16(malformed), std::nullopt) << malformed;
  }
  EXPECT_EQ(toUtf8(units.substr(3, 1)), "\xEF\xBF\xBD");
  EXPECT_EQ(toUtf8(units.substr(4)), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace chart
