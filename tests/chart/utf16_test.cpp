#include "chart/utf16.h"

#include <gtest/gtest.h>

namespace chart {
namespace {

TEST(Utf16, RoundTripsEveryPlane) {
  const std::string text = "a\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80";  // a, u-umlaut, euro, emoji
  const auto units = toUtf16(text);
  ASSERT_TRUE(units.has_value());
  EXPECT_EQ(*units, std::u16string(u"a\u00FC\u20AC\U0001F600"));
  EXPECT_EQ(units->size(), 5u);  // the emoji is two code units
  EXPECT_EQ(toUtf8(*units), text);
}

TEST(Utf16, RefusesMalformedUtf8) {
  EXPECT_FALSE(toUtf16("\xFF").has_value());
  EXPECT_FALSE(toUtf16("\xC3").has_value());              // cut short
  EXPECT_FALSE(toUtf16("\xC0\xAF").has_value());          // overlong
  EXPECT_FALSE(toUtf16("\xED\xA0\x80").has_value());      // a surrogate
  EXPECT_FALSE(toUtf16("\xF4\x90\x80\x80").has_value());  // past U+10FFFF
}

TEST(Utf16, ALoneSurrogateBecomesTheReplacementCharacter) {
  const std::u16string half = u"\U0001F600";
  EXPECT_EQ(toUtf8(half.substr(0, 1)), "\xEF\xBF\xBD");
  EXPECT_EQ(toUtf8(half.substr(1)), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace chart
