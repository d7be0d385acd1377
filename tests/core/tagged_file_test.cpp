#include "tagged_file.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace ep {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class TaggedFileTest : public ::testing::Test {
protected:
    std::filesystem::path Write(const std::string& bytes, const std::string& name = "file.txt") {
        std::filesystem::path file = dir_ / name;
        WriteBytes(file, bytes);
        return file;
    }
    TempDir dir_;
};

std::vector<std::string> Head(const TextList& list, std::size_t n) {
    std::vector<std::string> out;
    for (std::size_t i = 1; i <= n; ++i) out.push_back(list[i]);
    return out;
}

TEST(SplitTaggedLineTest, EmptyValuesAndTheRestOfTheLine) {
    TextList three = SplitTaggedLine50("#FSE#>>>", 3);
    EXPECT_EQ(three.size(), 50u);
    EXPECT_EQ(Head(three, 3), (std::vector<std::string>{"", "", ""}));
    // Asking for fewer values than the line holds leaves the rest in the last one.
    TextList two = SplitTaggedLine50("#FSE#>>>", 2);
    EXPECT_EQ(Head(two, 2), (std::vector<std::string>{"", ">"}));
    TextList names = SplitTaggedLine80("#TN2#>Whole Numbers>Decimals>Fractions", 2);
    EXPECT_EQ(names.size(), 80u);
    EXPECT_EQ(Head(names, 2), (std::vector<std::string>{"Whole Numbers", "Decimals>Fractions"}));
    EXPECT_EQ(names[3], "");
}

TEST(SplitTaggedLineTest, ZeroValuesNeverFail) {
    TextList none = SplitTaggedLine50("#TRD#", 0);
    EXPECT_EQ(none.size(), 50u);
    for (const std::string& value : none) EXPECT_EQ(value, "");
    EXPECT_TRUE(SplitAllValues("#TRD#").empty());
}

TEST(SplitTaggedLineTest, TooManyValuesOrPastCapacityIsAnError) {
    EXPECT_THROW(SplitTaggedLine50("#FSE#>>>", 4), TaggedFileError);
    EXPECT_THROW(SplitTaggedLine50("#FSE#", 1), TaggedFileError);
    EXPECT_THROW(SplitTaggedLine50(std::string("#FSE#") + std::string(51, '>'), 51), TaggedFileError);
    EXPECT_THROW(SplitTaggedLine80("#FSE#>", -1), TaggedFileError);
    try {
        SplitTaggedLine80("#107#>a>b", 3);
        FAIL();
    } catch (const TaggedFileError& error) {
        EXPECT_EQ(error.key(), "107");
    }
}

TEST(SplitTaggedLineTest, PositionsCountCharactersNotBytes) {
    // "ü" is two bytes in memory but one character on disk.
    TextList values = SplitTaggedLine80("#101#>\u00FC>\u00FB>x", 3);
    EXPECT_EQ(Head(values, 3), (std::vector<std::string>{"\u00FC", "\u00FB", "x"}));
}

TEST_F(TaggedFileTest, ReadFieldTakesTheFirstMatchingLine) {
    auto file = Write("...\r\n#NME#>Maths Practice\r\n#COD#>\r\nnoise #NME#>second\r\n...");
    EXPECT_EQ(ReadField(file, "NME"), "Maths Practice");
    EXPECT_EQ(ReadField(file, "COD"), "");  // the line is exactly 6 characters
    EXPECT_EQ(ReadField(file, "LAH"), "");  // absent
    EXPECT_EQ(ReadTaggedLine(file, "COD"), "#COD#>");
    EXPECT_EQ(ReadTaggedLine(file, "LAH"), "");
}

TEST_F(TaggedFileTest, ShippedFramingLinesReadLikeNone) {
    auto framed = Write("...\r\n#TN2#>Whole Numbers>Decimals\r\n" + std::string(31, '-') + "\r\n...", "a.txt");
    auto plain = Write("#TN2#>Whole Numbers>Decimals\r\n", "b.txt");
    auto bareLf = Write("#TN2#>Whole Numbers>Decimals\n", "c.txt");
    for (const auto& file : {framed, plain, bareLf}) {
        TextList names = ReadValues10(file, "TN2", 2);
        EXPECT_EQ(names.size(), 10u);
        EXPECT_EQ(Head(names, 2), (std::vector<std::string>{"Whole Numbers", "Decimals"})) << file;
        EXPECT_EQ(ReadAllValues(file, "TN2").size(), 2u);
    }
}

TEST_F(TaggedFileTest, AnyLineEndReadsTheSame) {
    // A marks file that passed through another system: CR alone, LF alone, or a mix.
    const std::vector<std::string> lines = {"...", "#FSE#>66.7>>", "#SSE#>>>", "#FST#>1>0>0", "#SST#>0>0>0", "..."};
    auto join = [&](const std::vector<std::string>& ends) {
        std::string bytes;
        for (std::size_t i = 0; i < lines.size(); ++i) bytes += lines[i] + (i + 1 < lines.size() ? ends[i % ends.size()] : "");
        return bytes;
    };
    const auto crlf = Write(join({"\r\n"}), "crlf.txt");
    for (const auto& file : {Write(join({"\r"}), "cr.txt"), Write(join({"\n"}), "lf.txt"),
                             Write(join({"\r", "\n", "\r\n"}) + "\r\n", "mixed.txt")}) {
        for (const char* key : {"FSE", "SSE", "FST", "SST"}) {
            EXPECT_EQ(ReadValues50(file, key, 3), ReadValues50(crlf, key, 3)) << file << " " << key;
        }
        EXPECT_EQ(ReadValues50(file, "FST", 3)[1], "1") << file;
        EXPECT_EQ(ReadTaggedLine(file, "SST"), "#SST#>0>0>0") << file;
    }
    // An empty line between CR LF pairs is still a line, and a key after it is found.
    EXPECT_EQ(ReadNumberedLines(Write("#101#>a\r\n\r\n\r#102#>b", "gaps.txt"), 2)[2], "#102#>b");
}

TEST_F(TaggedFileTest, ReadingErrorsNameTheFileAndTheKey) {
    auto file = Write("#FSE#>1>2\r\n#LTM#\r\n");
    try {
        ReadValues50(file, "SSE", 2);
        FAIL() << "a missing key must fail";
    } catch (const TaggedFileError& error) {
        EXPECT_EQ(error.key(), "SSE");
        EXPECT_EQ(error.file(), file.string());
        EXPECT_NE(std::string(error.what()).find(file.string()), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("SSE"), std::string::npos);
    }
    EXPECT_THROW(ReadValues50(file, "FSE", 3), TaggedFileError);    // too few values
    EXPECT_THROW(ReadValues10(file, "FSE", 11), TaggedFileError);   // past capacity
    EXPECT_THROW(ReadAllValues(file, "LTM"), TaggedFileError);      // a key without values
    EXPECT_THROW(ReadField(dir_ / "missing.txt", "FSE"), TaggedFileError);
    EXPECT_NO_THROW(ReadValues50(file, "FSE", 0));
}

TEST_F(TaggedFileTest, NumberedLinesStopAtTheFirstMissingKey) {
    auto ascending = Write("...\r\n#101#>a\r\n#102#>b>c\r\n#104#>d\r\n...", "up.txt");
    TextList lines = ReadNumberedLines(ascending, 4);
    EXPECT_EQ(lines.size(), 50u);
    EXPECT_EQ(Head(lines, 4), (std::vector<std::string>{"#101#>a", "#102#>b>c", "", ""}));

    std::string descending;
    for (int key = 150; key >= 101; --key) descending += "#" + std::to_string(key) + "#>\r\n";
    TextList found = ReadNumberedLines(Write(descending, "down.txt"), 50);
    EXPECT_EQ(found[1], "#101#>");
    for (std::size_t i = 2; i <= 50; ++i) EXPECT_EQ(found[i], "") << i;
}

TEST_F(TaggedFileTest, ValuesForKeysReadInFileOrder) {
    auto file = Write("...\r\n#20011#>84\r\n#20013#>12>Derrick\r\n#20015#>;3;5> \r\n...");
    TextList keys{"20011", "20013", "20015"};
    TextList values = ReadValuesForKeys(file, keys, 3);
    EXPECT_EQ(values.items(), (std::vector<std::string>{"84", "12", "Derrick", ";3;5", " "}));
    EXPECT_EQ(CountValuesForKeys(file, keys, 3).items(), (std::vector<int>{1, 2, 2}));
    // The file is read once from the top: keys out of order are not found.
    TextList backwards{"20013", "20011"};
    EXPECT_THROW(ReadValuesForKeys(file, backwards, 2), TaggedFileError);
    EXPECT_THROW(CountValuesForKeys(file, keys, 4), TaggedFileError);  // more keys than the list holds
}

TEST_F(TaggedFileTest, RewriteReplacesOneLineAndDropsFraming) {
    std::string bytes = "...";
    for (int key = 101; key <= 150; ++key) bytes += "\r\n#" + std::to_string(key) + "#>>>";
    bytes += "\r\n...";
    auto file = Write(bytes);
    TextList lines = ReadNumberedLines(file, 50);
    RewriteTaggedLine(lines, TextList{"3/4", "", "Derrick"}, "3", "103", 50, 3, file);

    std::string expected;
    for (int key = 101; key <= 150; ++key) {
        expected += key == 103 ? "#103#>3/4>>Derrick" : "#" + std::to_string(key) + "#>>>";
        expected += "\r\n";
    }
    EXPECT_EQ(ReadBytes(file), expected);
    EXPECT_EQ(lines[3], "#103#>3/4>>Derrick");
    EXPECT_FALSE(std::filesystem::exists(file.string() + ".tmp"));
}

TEST_F(TaggedFileTest, ResultMarksAreSingleBytesOnDisk) {
    auto file = Write("#101#>>\r\n");
    TextList lines = ReadNumberedLines(file, 1);
    RewriteTaggedLine(lines, TextList{"\u00FC", "\u00FB"}, "1", "101", 1, 2, file);
    EXPECT_EQ(ReadBytes(file), "#101#>\xFC>\xFB\r\n");
    EXPECT_EQ(SplitAllValues(ReadNumberedLines(file, 1)[1]).items(),
              (std::vector<std::string>{"\u00FC", "\u00FB"}));
}

TEST_F(TaggedFileTest, WritersRefuseValuesThatWouldCorruptTheFile) {
    auto file = Write("#101#>\r\n#102#>\r\n");
    const std::string before = ReadBytes(file);
    TextList lines = ReadNumberedLines(file, 2);
    const TextList linesBefore = lines;
    for (const char* bad : {"3>4", "#5", "a\nb", "a\rb", "\u03C0"}) {
        EXPECT_THROW(RewriteTaggedLine(lines, TextList{bad}, "1", "101", 2, 1, file), TaggedFileError) << bad;
        EXPECT_FALSE(IsStorableValue(bad)) << bad;
    }
    EXPECT_THROW(RewriteTaggedLine(lines, TextList{"1"}, "3", "103", 2, 1, file), TaggedFileError);  // no line 3
    EXPECT_THROW(RewriteTaggedLine(lines, TextList{"1"}, "x", "101", 2, 1, file), TaggedFileError);
    EXPECT_THROW(RewriteTaggedLine(lines, TextList{"1"}, "1", "101", 2, 2, file), TaggedFileError);  // short list
    TextList marks{"1"};
    EXPECT_THROW(WriteMarksFile({&marks, &marks, &marks, &marks, &marks, &marks},
                                {"FSE", "SSE", "LTM", "CDD", "FST", "S>T"}, 1, file),
                 TaggedFileError);
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(lines, linesBefore);
    EXPECT_TRUE(IsStorableValue("5 2/3 \u00E9\u20AC"));
}

TEST_F(TaggedFileTest, AFailedRewriteKeepsTheOldFileAndTheLines) {
    auto file = Write("#101#>old\r\n");
    TextList lines = ReadNumberedLines(file, 1);
    // A folder where the temporary file must go makes the write fail, even for root.
    std::filesystem::create_directory(file.string() + ".tmp");
    EXPECT_THROW(RewriteTaggedLine(lines, TextList{"new"}, "1", "101", 1, 1, file), TaggedFileError);
    EXPECT_EQ(ReadBytes(file), "#101#>old\r\n");
    EXPECT_EQ(lines[1], "#101#>old");
}

TEST_F(TaggedFileTest, MarksFileIsExactlySixLines) {
    auto file = dir_ / "marks.txt";
    TextList fse{"66.7", "", "100"}, sse{"", "", ""}, ltm{"0:12:5", "", "1:0:0"}, cdd{"06/12/2026", "", "x"},
        fst{"1", "0", "1"}, sst{"0", "0", "0"};
    WriteMarksFile({&fse, &sse, &ltm, &cdd, &fst, &sst}, {"FSE", "SSE", "LTM", "CDD", "FST", "SST"}, 3, file);
    EXPECT_EQ(ReadBytes(file),
              "#FSE#>66.7>>100\r\n#SSE#>>>\r\n#LTM#>0:12:5>>1:0:0\r\n#CDD#>06/12/2026>>x\r\n"
              "#FST#>1>0>1\r\n#SST#>0>0>0\r\n");
    EXPECT_EQ(Head(ReadValues50(file, "LTM", 3), 3), (std::vector<std::string>{"0:12:5", "", "1:0:0"}));
}

TEST_F(TaggedFileTest, WholeLinesAreWrittenWithLineEnds) {
    auto file = dir_ / "trend.txt";
    WriteTaggedLines(file, TextList{"#TRD#>50>66.7"}, "TRD");
    EXPECT_EQ(ReadBytes(file), "#TRD#>50>66.7\r\n");
    EXPECT_THROW(WriteTaggedLines(file, TextList{"a\r\nb"}, "TRD"), TaggedFileError);
}

}  // namespace
}  // namespace ep
