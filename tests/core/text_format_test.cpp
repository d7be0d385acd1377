#include "text_format.h"

#include <clocale>
#include <gtest/gtest.h>

namespace ep {
namespace {

TEST(PercentTextTest, RoundsToOneDecimalWithTiesToEven) {
    EXPECT_EQ(PercentText(44, 66), "66.7");
    EXPECT_EQ(PercentText(33, 66), "50");
    EXPECT_EQ(PercentText(66, 66), "100");
    EXPECT_EQ(PercentText(0, 66), "0");
    EXPECT_EQ(PercentText(3, 48), "6.2");     // 6.25
    EXPECT_EQ(PercentText(3, 16), "18.8");    // 18.75
    EXPECT_EQ(PercentText(5, 16), "31.2");    // 31.25
    EXPECT_EQ(PercentText(1, 2000), "0");     // 0.05
    EXPECT_EQ(PercentText(3, 2000), "0.2");   // 0.15
    EXPECT_EQ(PercentText(10, 22), "45.5");   // 45.4545...
    EXPECT_EQ(PercentText(1, 3), "33.3");
}

TEST(PercentTextTest, NoMarksToScoreIsZero) {
    EXPECT_EQ(PercentText(0, 0), "0");
    EXPECT_EQ(PercentText(5, 0), "0");
}

TEST(R1TextTest, RoundsDecimalsAsWritten) {
    EXPECT_EQ(R1Text((66.7 + 50) / 2), "58.4");  // 58.35, a tie, to the even digit
    EXPECT_EQ(R1Text(58.25), "58.2");
    EXPECT_EQ(R1Text(50), "50");
    EXPECT_EQ(R1Text(66.666), "66.7");
    EXPECT_EQ(R1Text(0.04), "0");
    EXPECT_EQ(R1Text(-3.45), "-3.4");
    EXPECT_EQ(R1Text(-0.01), "0");
    double sum = 0;  // ten additions leave binary noise that must not decide a tie
    for (int i = 0; i < 10; ++i) sum += 58.35;
    EXPECT_EQ(R1Text(sum / 10), "58.4");
}

TEST(ElapsedTextTest, NoLeadingZerosAndWholeHours) {
    using std::chrono::seconds;
    EXPECT_EQ(ElapsedText(seconds(7)), "0:0:7");
    EXPECT_EQ(ElapsedText(seconds(12 * 60 + 5)), "0:12:5");
    EXPECT_EQ(ElapsedText(seconds(3600)), "1:0:0");
    EXPECT_EQ(ElapsedText(seconds(25 * 3600 + 61)), "25:1:1");
    EXPECT_EQ(ElapsedText(seconds(-5)), "0:0:0");
}

TEST(ParseNumberTest, AcceptsWhatAPupilTypes) {
    EXPECT_EQ(ParseNumber("84"), 84);
    EXPECT_EQ(ParseNumber("  -3.5 "), -3.5);
    EXPECT_EQ(ParseNumber("+7"), 7);
    EXPECT_EQ(ParseNumber("12,500"), 12500);
    EXPECT_EQ(ParseNumber("1,234,567.25"), 1234567.25);
    EXPECT_EQ(ParseNumber(".5"), 0.5);
    EXPECT_EQ(ParseNumber("5."), 5);
    EXPECT_EQ(ParseNumber("2.8e3"), 2800);
    EXPECT_EQ(ParseNumber("1E-2"), 0.01);
}

TEST(ParseNumberTest, RefusesEverythingElse) {
    for (const char* text : {"", " ", "-", ".", "1,23", "1234,567", ",123", "1,,234", "3,5", "1.2.3", "84a", "$5",
                             "1e", "1e+", "inf", "nan", "0x10", "1 000", "- 5", "1e999", "5%"}) {
        EXPECT_FALSE(ParseNumber(text).has_value()) << '"' << text << '"';
    }
}

TEST(ParseNumberTest, IgnoresTheSystemLocale) {
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    std::string saved = before ? before : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        GTEST_SKIP() << "no locale with a decimal comma on this machine";
    }
    EXPECT_EQ(ParseNumber("3.75"), 3.75);
    EXPECT_FALSE(ParseNumber("3,75").has_value());
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(ParseIntegerTest, WholeNumbersOnly) {
    EXPECT_EQ(ParseInteger(" 10 "), 10);
    EXPECT_EQ(ParseInteger("+3"), 3);
    EXPECT_FALSE(ParseInteger("1.5").has_value());
    EXPECT_FALSE(ParseInteger("").has_value());
    EXPECT_FALSE(ParseInteger("+-3").has_value());
}

TEST(StoredValueTest, TheFormsTheResultsFilesHold) {
    for (const char* score : {"0", "100", "66.7", "6.2", "45.5", "99.9", "50.0"}) EXPECT_TRUE(IsStoredScore(score)) << score;
    for (const char* score : {"", "abc", "100.1", "150", "-3", "1e2", "66.", ".5", "66.75", " 50", "5,5", "1000"}) {
        EXPECT_FALSE(IsStoredScore(score)) << score;
    }
    for (const char* time : {"0:12:5", "0:0:0", "25:59:59", "00:12:05"}) EXPECT_TRUE(IsStoredTime(time)) << time;
    for (const char* time : {"", "zz:qq", "0:60:0", "0:0:60", "0:12", "0:1:2:3", "0:-1:2", "1:2:3 "}) {
        EXPECT_FALSE(IsStoredTime(time)) << time;
    }
    for (const char* date : {"14/03/2026", "3/14/26", "2026-03-14", "14.03.26", "2026. 3. 14.", "06/12/2026"}) {
        EXPECT_TRUE(IsStoredDate(date)) << date;
    }
    for (const char* date : {"", "zz", "14/13/2026", "32/12/2026", "2026-14-14", "14 Mar 2026", "14/03", "1/2/3/4",
                             "14/03/20261", "14/03/2026x"}) {
        EXPECT_FALSE(IsStoredDate(date)) << date;
    }
    EXPECT_TRUE(IsStoredState("0"));
    EXPECT_TRUE(IsStoredState("1"));
    for (const char* state : {"", "2", "01", " 1", "1.0", "x"}) EXPECT_FALSE(IsStoredState(state)) << state;
}

}  // namespace
}  // namespace ep
