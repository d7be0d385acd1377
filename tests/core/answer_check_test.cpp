#include "answer_check.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

const std::string kTick(kTickMark);
const std::string kCross(kCrossMark);

struct Case {
    const char* name;
    const char* kind;
    const char* key;
    const char* given;
    bool right;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class CheckAnswerTest : public ::testing::TestWithParam<Case> {};

TEST_P(CheckAnswerTest, Marks) {
    const Case& c = GetParam();
    EXPECT_EQ(CheckAnswer(c.given, c.key, c.kind), c.right ? kTick : kCross)
        << c.kind << " key \"" << c.key << "\" answer \"" << c.given << "\"";
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(
    Kinds, CheckAnswerTest,
    ::testing::Values(
        Case{"NumberPlain", "N", "84", "84", true}, Case{"NumberTrailingZero", "N", "84", "84.0", true},
        Case{"NumberSpaces", "N", "84", " 84 ", true}, Case{"NumberLetters", "N", "84", "84a", false},
        Case{"NumberEmpty", "N", "84", "", false}, Case{"NumberOther", "N", "84", "85", false},
        Case{"NumberGrouped", "N", "2800", "2,800", true}, Case{"NumberDecimalKey", "N", "3.75", "3.750", true},
        Case{"NumberNoTolerance", "N", "3.75", "3.7500001", false},
        Case{"NumberLeadingPoint", "N", "0.5", ".5", true}, Case{"NumberSign", "N", "-4", "-4", true},
        Case{"NumberCommaDecimalIsNotANumber", "N", "3.5", "3,5", false},
        Case{"NumberBadGrouping", "N", "1234", "12,34", false},
        Case{"TextCaseAndSpace", "T", "Derrick", "derrick ", true},
        Case{"TextTrailingZeroMatters", "T", "9.10", "9.1", false},
        Case{"TextInnerSpacesMatter", "T", "12.42pm", "12.42 pm", false},
        Case{"TextAccentedCase", "T", "\u00C9lodie", "\u00E9LODIE", true},
        Case{"ChoiceSame", "Q", "3", " 3", true}, Case{"ChoiceOther", "Q", "3", "4", false},
        Case{"LongText", "L", "Right angle", "right angle", true},
        Case{"MixedExact", "X", "5 2/3", "5 2/3", true},
        Case{"MixedExtraSpaces", "X", "5 2/3", "5  2 / 3", true},
        Case{"MixedNoSpace", "X", "5 2/3", "52/3", false},
        Case{"MixedOuterSpaces", "X", "5 2/3", "  5 2/3 ", true},
        Case{"FractionPlain", "F", "109/200", "109/200", true},
        Case{"FractionSpacedSlash", "F", "109/200", "109 / 200", true},
        Case{"FractionNotSimplest", "F", "109/200", "218/400", false},
        Case{"RatioSpacedColon", "R", "7:23", "7 : 23", true},
        Case{"ThreePartRatio", "R", "5:3:2", "5: 3 :2", true},
        Case{"RatioReversed", "R", "7:23", "23:7", false},
        Case{"RatioCaseSensitiveNotFolded", "R", "a:b", "A:B", false}),
    CaseName);

TEST(CheckAnswerTest, UnknownKindHasNoRule) {
    EXPECT_EQ(CheckAnswer("84", "84", "Z"), "");
    EXPECT_EQ(CheckAnswer("84", "84", ""), "");
    EXPECT_EQ(CheckAnswer("84", "84", "n"), "");
}

TEST(CheckAnswerTest, EveryKeyIsRightAgainstItself) {
    for (const auto& [kind, key] : std::vector<std::pair<const char*, const char*>>{
             {"N", "2800"}, {"N", "3.75"}, {"T", "12.42pm"}, {"Q", "4"}, {"F", "3/8"}, {"X", "12 1/4"},
             {"R", "5:3:2"}}) {
        EXPECT_EQ(CheckAnswer(key, key, kind), kTick) << kind << " " << key;
    }
}

// Marks every slot as marking does: groups as groups, other slots alone.
std::vector<std::string> MarkAll(const TextList& given, const TextList& keys, const TextList& kinds) {
    std::vector<std::string> marks;
    for (std::size_t i = 1; i <= keys.size(); ++i) {
        marks.push_back(IsGroupKind(kinds[i]) ? CheckGroupAnswer(given, keys, kinds, i)
                                              : CheckAnswer(given[i], keys[i], kinds[i]));
    }
    return marks;
}

TEST(GroupAnswerTest, ValuesInAnyOrderEachCountingOnce) {
    TextList keys{";3;5", " "};
    TextList kinds{"G", "G"};
    EXPECT_EQ(MarkAll(TextList{"5", "3"}, keys, kinds), (std::vector<std::string>{kTick, kTick}));
    EXPECT_EQ(MarkAll(TextList{"3", "3"}, keys, kinds), (std::vector<std::string>{kTick, kCross}));
    EXPECT_EQ(MarkAll(TextList{"", "3"}, keys, kinds), (std::vector<std::string>{kCross, kTick}));
    EXPECT_EQ(MarkAll(TextList{" 5 ", "THREE"}, TextList{";3;5", " "}, kinds), (std::vector<std::string>{kTick, kCross}));
}

TEST(GroupAnswerTest, GroupsSitBesideOrdinarySlots) {
    TextList keys{"84", ";a;b;c", " ", " ", ";x;y", " "};
    TextList kinds{"N", "G", "G", "G", "G", "G"};
    TextList given{"84", "c", "A", "c", "y", "x"};
    EXPECT_EQ(MarkAll(given, keys, kinds), (std::vector<std::string>{kTick, kTick, kTick, kCross, kTick, kTick}));
    // An empty answer never takes a value.
    EXPECT_EQ(CheckGroupAnswer(TextList{"a", "", ""}, TextList{";a;b;", " ", " "}, kinds, 3), kCross);
}

TEST(GroupAnswerTest, SeveralAcceptedValuesOnOneSlot) {
    TextList keys{";12;twelve"};
    TextList kinds{"M"};
    EXPECT_EQ(CheckGroupAnswer(TextList{"Twelve"}, keys, kinds, 1), kTick);
    EXPECT_EQ(CheckGroupAnswer(TextList{"12"}, keys, kinds, 1), kTick);
    EXPECT_EQ(CheckGroupAnswer(TextList{"13"}, keys, kinds, 1), kCross);
}

TEST(GroupAnswerTest, OrphanedContinuationIsWrongNotACrash) {
    EXPECT_EQ(CheckGroupAnswer(TextList{"3"}, TextList{" "}, TextList{"G"}, 1), kCross);
    EXPECT_EQ(GroupModelAnswer(TextList{"3"}, TextList{" "}, TextList{}, 1), "");
}

TEST(GroupModelAnswerTest, ShowsAValueNobodyGave) {
    TextList keys{";3;5", " "};
    TextList none;
    // Head right, second slot wrong: the second slot is shown the value still missing.
    EXPECT_EQ(GroupModelAnswer(TextList{"3", "7"}, keys, none, 2), "5");
    // Head wrong, second right: the head is shown the other value.
    EXPECT_EQ(GroupModelAnswer(TextList{"7", "3"}, keys, none, 1), "5");
    // Both wrong: the values in key order.
    EXPECT_EQ(GroupModelAnswer(TextList{"", ""}, keys, none, 1), "3");
    EXPECT_EQ(GroupModelAnswer(TextList{"", ""}, keys, none, 2), "5");
    // Every value given: nothing is left to show.
    EXPECT_EQ(GroupModelAnswer(TextList{"3", "5"}, keys, none, 2), "");
    // Three slots, the middle one right.
    TextList three{";2;4;6", " ", " "};
    EXPECT_EQ(GroupModelAnswer(TextList{"1", "4", "9"}, three, none, 1), "2");
    EXPECT_EQ(GroupModelAnswer(TextList{"1", "4", "9"}, three, none, 3), "6");
}

TEST(TextHelpersTest, TrimAndLowerCase) {
    EXPECT_EQ(TrimSpaces("  a b  "), "a b");
    EXPECT_EQ(TrimSpaces("\ta "), "\ta");  // only spaces are trimmed
    EXPECT_EQ(LowerCase("ABC \u00C0\u00DE\u00D7 \u0160\u0178"), "abc \u00E0\u00FE\u00D7 \u0161\u00FF");
}

}  // namespace
}  // namespace ep
