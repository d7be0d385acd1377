#include "cp1252.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

TEST(Cp1252Test, EveryByteSurvivesAReadAndAWrite) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string text = Cp1252ToUtf8(all);
    ASSERT_TRUE(DecodeUtf8(text).has_value());
    EXPECT_EQ(Utf8ToCp1252(text), all);
}

TEST(Cp1252Test, MapsTheCharactersOfTheCodePage) {
    EXPECT_EQ(Cp1252ToUtf8("\xFC\xFB"), "\u00FC\u00FB");
    EXPECT_EQ(Cp1252ToUtf8("\x80\x93\x9F"), "\u20AC\u201C\u0178");
    EXPECT_EQ(Utf8ToCp1252("5\u00BD \u2013 \u20AC"), "5\xBD \x96 \x80");
}

TEST(Cp1252Test, RefusesWhatTheCodePageCannotHoldAndBrokenUtf8) {
    EXPECT_FALSE(Utf8ToCp1252("\u03C0").has_value());   // pi
    EXPECT_FALSE(Utf8ToCp1252("\u2713").has_value());   // a real tick
    EXPECT_FALSE(Utf8ToCp1252("\xC3").has_value());     // truncated sequence
    EXPECT_FALSE(Utf8ToCp1252("\xC0\xAF").has_value()); // overlong
    EXPECT_FALSE(Utf8ToCp1252("\xED\xA0\x80").has_value());  // surrogate
    EXPECT_TRUE(IsCp1252Storable("plain ASCII"));
    EXPECT_FALSE(IsCp1252Storable("\U0001F600"));
}

}  // namespace
}  // namespace ep
