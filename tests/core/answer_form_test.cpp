#include "answer_form.h"

#include <gtest/gtest.h>

#include "answer_check.h"

namespace ep {
namespace {

const std::string kNumber = "Write a whole number or a decimal, like 2.5 or 1,200";
const std::string kFraction = "Write a fraction like 3/4";
const std::string kMixed = "Write a mixed number: the whole number, a space, then the fraction, like 2 3/4";
const std::string kRatio = "Write a ratio like 3:2";
const std::string kChoice = "Write 1, 2, 3 or 4";

struct FormCase {
    const char* name;
    const char* kind;
    const char* text;
    const std::string* problem;  // nullptr: the text reads in its form
};

void PrintTo(const FormCase& c, std::ostream* os) { *os << c.name; }

class AnswerFormProblemTest : public ::testing::TestWithParam<FormCase> {};

TEST_P(AnswerFormProblemTest, SaysWhatFormIsExpected) {
    const FormCase& c = GetParam();
    EXPECT_EQ(AnswerFormProblem(c.kind, c.text), c.problem ? *c.problem : std::string())
        << c.kind << " \"" << c.text << "\"";
}

std::string FormCaseName(const ::testing::TestParamInfo<FormCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(
    Kinds, AnswerFormProblemTest,
    ::testing::Values(
        // Nothing typed yet is no form problem: the remaining list deals with it.
        FormCase{"EmptyNumber", "N", "", nullptr}, FormCase{"SpacesOnlyFraction", "F", "   ", nullptr},
        FormCase{"NumberPlain", "N", "84", nullptr}, FormCase{"NumberOuterSpaces", "N", "  84 ", nullptr},
        FormCase{"NumberTrailingZero", "N", "0.50", nullptr}, FormCase{"NumberGrouped", "N", "1,200", nullptr},
        // Reads, as 1.2: whether that is what was meant is the check's business.
        FormCase{"NumberPointThree", "N", "1.200", nullptr}, FormCase{"NumberLeadingPoint", "N", ".5", nullptr},
        FormCase{"NumberNegative", "N", "-4", nullptr}, FormCase{"NumberWithUnit", "N", "84 cm", &kNumber},
        FormCase{"NumberCommaDecimal", "N", "3,5", &kNumber}, FormCase{"NumberBadGrouping", "N", "12,34", &kNumber},
        FormCase{"NumberFraction", "N", "3/4", &kNumber}, FormCase{"NumberLoneSlash", "N", "/", &kNumber},
        FormCase{"NumberInnerSpace", "N", "1 200", &kNumber},
        FormCase{"FractionPlain", "F", "3/4", nullptr}, FormCase{"FractionSpacedSlash", "F", " 3 / 4 ", nullptr},
        FormCase{"FractionNotSimplest", "F", "3/6", nullptr}, FormCase{"FractionImproper", "F", "11/4", nullptr},
        // The check drops every space of a fraction, so this reads as 23/4.
        FormCase{"FractionReadsMixedAsOne", "F", "2 3/4", nullptr},
        FormCase{"FractionDecimal", "F", "0.75", &kFraction}, FormCase{"FractionWhole", "F", "3", &kFraction},
        FormCase{"FractionLoneSlash", "F", "/", &kFraction}, FormCase{"FractionNoBottom", "F", "3/", &kFraction},
        FormCase{"FractionZeroBottom", "F", "3/0", &kFraction}, FormCase{"FractionTwoSlashes", "F", "1/2/3", &kFraction},
        FormCase{"FractionNegative", "F", "-3/4", &kFraction}, FormCase{"FractionWords", "F", "3 out of 4", &kFraction},
        FormCase{"MixedPlain", "X", "2 3/4", nullptr}, FormCase{"MixedExtraSpaces", "X", " 2  3 / 4 ", nullptr},
        FormCase{"MixedNotSimplest", "X", "2 6/8", nullptr}, FormCase{"MixedImproperPart", "X", "1 7/4", nullptr},
        FormCase{"MixedImproperFraction", "X", "11/4", &kMixed}, FormCase{"MixedNoSpace", "X", "23/4", &kMixed},
        FormCase{"MixedSpaceAfterSlash", "X", "2/ 3", &kMixed}, FormCase{"MixedDecimal", "X", "2.75", &kMixed},
        FormCase{"MixedWholeOnly", "X", "2", &kMixed}, FormCase{"MixedLoneSlash", "X", "2 /", &kMixed},
        FormCase{"MixedPlusSign", "X", "2+3/4", &kMixed},
        FormCase{"RatioPlain", "R", "3:2", nullptr}, FormCase{"RatioSpaced", "R", "6 : 4", nullptr},
        FormCase{"RatioThreeParts", "R", "5:3:2", nullptr}, FormCase{"RatioOnePart", "R", "3", &kRatio},
        FormCase{"RatioDecimalPart", "R", "1.5:1", &kRatio}, FormCase{"RatioEmptyPart", "R", "3::2", &kRatio},
        FormCase{"RatioWithTo", "R", "3 to 2", &kRatio}, FormCase{"RatioSlash", "R", "3/2", &kRatio},
        FormCase{"ChoicePlain", "Q", "3", nullptr}, FormCase{"ChoiceSpaced", "Q", " 4 ", nullptr},
        FormCase{"ChoiceFive", "Q", "5", &kChoice}, FormCase{"ChoiceLetter", "Q", "b", &kChoice},
        FormCase{"ChoiceTwoDigits", "Q", "12", &kChoice}, FormCase{"TextAnything", "T", "12.42 pm", nullptr},
        FormCase{"LongTextAnything", "L", "a right angle", nullptr}, FormCase{"GroupAnything", "G", "x", nullptr},
        FormCase{"UnknownKind", "Z", "anything", nullptr}),
    FormCaseName);

// "No form problem" is exactly "some key written in the kind's form ticks it":
// such a key is the text as the check reads it.
TEST(AnswerFormProblemTest, AcceptsExactlyWhatTheCheckCanTick) {
    auto keyReadFrom = [](const std::string& kind, std::string text) {
        text = std::string(TrimSpaces(text));
        std::string key;
        const std::size_t firstSpace = kind == "X" ? text.find(' ') : std::string::npos;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] != ' ' || i == firstSpace) key += text[i];
        }
        return key;
    };
    const char* texts[] = {"3/4", " 3 / 4", "2 3/4", "2  3/ 4", "12 1/4", "1 2 3/4", "2 3", "7:23", "7 : 2 3",
                           "5:3:2", "3/6", "0.75", "3:", ":3", "3//4", "3/4/", " / ", "a/b", "2 3/0", "10 0/7"};
    for (const char* kind : {"F", "X", "R"}) {
        for (const char* text : texts) {
            const std::string key = keyReadFrom(kind, text);
            const bool reads = AnswerFormProblem(kind, text).empty();
            // A text that reads is ticked by the key it reads as, and that key is
            // itself in the kind's form; a text that does not read is ticked by no
            // key of that form.
            if (reads) {
                EXPECT_EQ(CheckAnswer(text, key, kind), kTickMark) << kind << " \"" << text << "\"";
                EXPECT_TRUE(AnswerFormProblem(kind, key).empty()) << kind << " key \"" << key << "\"";
            } else {
                EXPECT_FALSE(AnswerFormProblem(kind, key).empty()) << kind << " \"" << text << "\"";
            }
        }
    }
}

struct DifferenceCase {
    const char* name;
    const char* kind;
    const char* key;
    const char* text;
    const char* note;  // "" for none
};

void PrintTo(const DifferenceCase& c, std::ostream* os) { *os << c.name; }

class FormOnlyDifferenceTest : public ::testing::TestWithParam<DifferenceCase> {};

TEST_P(FormOnlyDifferenceTest, NamesWhatIsWrongWithTheForm) {
    const DifferenceCase& c = GetParam();
    EXPECT_EQ(FormOnlyDifference(c.kind, c.key, c.text), c.note)
        << c.kind << " key \"" << c.key << "\" answer \"" << c.text << "\"";
}

std::string DifferenceCaseName(const ::testing::TestParamInfo<DifferenceCase>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(
    Kinds, FormOnlyDifferenceTest,
    ::testing::Values(
        DifferenceCase{"FractionNotSimplest", "F", "1/2", "3/6", "not in its simplest form"},
        DifferenceCase{"FractionNotSimplestSpaced", "F", "109/200", " 218 / 400 ", "not in its simplest form"},
        DifferenceCase{"FractionDecimal", "F", "3/4", "0.75", "give a fraction, not a decimal"},
        DifferenceCase{"FractionTrailingZero", "F", "1/2", "0.50", "give a fraction, not a decimal"},
        DifferenceCase{"FractionMixed", "F", "11/4", "2 3/4", "give a fraction, not a mixed number"},
        DifferenceCase{"FractionOtherValue", "F", "3/4", "3/5", ""},
        DifferenceCase{"FractionDecimalOtherValue", "F", "1/3", "0.33", ""},
        DifferenceCase{"FractionRight", "F", "3/4", "3 / 4", ""},
        DifferenceCase{"FractionLeadingZeroIsNoFormNote", "F", "3/4", "03/4", ""},
        DifferenceCase{"FractionEmpty", "F", "3/4", "", ""}, DifferenceCase{"FractionLoneSlash", "F", "3/4", "/", ""},
        DifferenceCase{"MixedImproper", "X", "2 3/4", "11/4", "give a mixed number, not an improper fraction"},
        DifferenceCase{"MixedImproperNotSimplest", "X", "2 3/4", "22/8",
                       "give a mixed number, not an improper fraction"},
        DifferenceCase{"MixedNotSimplest", "X", "5 2/3", "5 4/6", "not in its simplest form"},
        DifferenceCase{"MixedImproperPart", "X", "2 3/4", "1 7/4", "not in its simplest form"},
        DifferenceCase{"MixedDecimal", "X", "2 3/4", "2.75", "give a mixed number, not a decimal"},
        DifferenceCase{"MixedNoSpaceOtherValue", "X", "5 2/3", "52/3", ""},
        DifferenceCase{"MixedRight", "X", "5 2/3", "5  2 / 3", ""},
        DifferenceCase{"RatioNotSimplest", "R", "3:2", "6:4", "give the ratio in its simplest form"},
        DifferenceCase{"RatioNotSimplestSpaced", "R", "7:23", "14 : 46", "give the ratio in its simplest form"},
        DifferenceCase{"RatioDecimal", "R", "3:2", "1.5:1", "give the ratio in its simplest form"},
        DifferenceCase{"RatioThreeParts", "R", "5:3:2", "10:6:4", "give the ratio in its simplest form"},
        DifferenceCase{"RatioNotProportional", "R", "5:3:2", "10:6:5", ""},
        DifferenceCase{"RatioReversed", "R", "3:2", "2:3", ""},
        DifferenceCase{"RatioFewerParts", "R", "5:3:2", "5:3", ""},
        DifferenceCase{"RatioAllZero", "R", "3:2", "0:0", ""},
        DifferenceCase{"RatioRight", "R", "3:2", "3 : 2", ""},
        // Numbers are compared by value already; text kinds have no form.
        DifferenceCase{"NumberPointThree", "N", "1200", "1.200", ""},
        DifferenceCase{"TextCase", "T", "9.10", "9.1", ""}, DifferenceCase{"ChoiceOther", "Q", "3", "03", ""},
        DifferenceCase{"HugeNumbersGetNoNote", "F", "1/2", "5000000000/10000000000", ""}),
    DifferenceCaseName);

TEST(FormOnlyDifferenceTest, AKeyAgainstItselfHasNoFormNote) {
    for (const auto& [kind, key] : std::vector<std::pair<const char*, const char*>>{
             {"N", "2800"}, {"F", "109/200"}, {"F", "36/5"}, {"X", "5 2/3"}, {"X", "12 1/4"}, {"R", "7:23"},
             {"R", "18:6:5"}, {"Q", "4"}, {"T", "12.42pm"}}) {
        EXPECT_EQ(AnswerFormProblem(kind, key), "") << kind << " " << key;
        EXPECT_EQ(FormOnlyDifference(kind, key, key), "") << kind << " " << key;
    }
}

TEST(AnswerRefusalTest, NamesTheFirstCharacterAFileCannotHold) {
    EXPECT_EQ(AnswerRefusal("x>5"), "\">\" cannot be used: the results file keeps answers apart with it");
    EXPECT_EQ(AnswerRefusal("#3"), "\"#\" cannot be used: the results file marks its lines with it");
    EXPECT_EQ(AnswerRefusal("5\n6"), "A line break cannot be used: an answer is one line");
    EXPECT_EQ(AnswerRefusal("5\r"), "A line break cannot be used: an answer is one line");
    EXPECT_EQ(AnswerRefusal("\u221a2"), "\"\u221a\" cannot be used: the results file cannot hold it");
    EXPECT_EQ(AnswerRefusal("1\u200b2"),
              "An invisible character (U+200B) cannot be used: the results file cannot hold it");
    // The first refused character is the one named.
    EXPECT_EQ(AnswerRefusal("\u221a>"), AnswerRefusal("\u221a"));
    EXPECT_EQ(AnswerRefusal("\xff"), "This text cannot be used: the results file cannot hold it");
    // What a file can hold is never refused: accents, the euro, a tab.
    EXPECT_EQ(AnswerRefusal("caf\u00e9 \u20ac5\t\u00bd"), "");
    EXPECT_EQ(AnswerRefusal(""), "");
}

}  // namespace
}  // namespace ep
