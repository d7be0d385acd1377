// The course checker against a copy of the packed course, broken on purpose
// one way at a time, and the web-archive reader it rests on.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "answer_form.h"
#include "course.h"
#include "course_check.h"
#include "resources.h"
#include "web_archive.h"

namespace fs = std::filesystem;
using ep::coursetool::CheckReport;
using ep::coursetool::ParseWebArchive;
using ep::coursetool::WebArchive;

namespace {

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void Write(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

bool Mentions(const CheckReport& report, const std::string& text) {
    return std::any_of(report.problems.begin(), report.problems.end(),
                       [&](const std::string& p) { return p.find(text) != std::string::npos; });
}

std::string Problems(const CheckReport& report) {
    std::string all;
    for (const std::string& p : report.problems) all += p + "\n";
    return all;
}

void ReplaceOnce(std::string& text, const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

// A page written again with its parts unencoded, so a test can change its HTML.
std::string Rebuild(const WebArchive& archive) {
    std::string out = "MIME-Version: 1.0\r\nContent-Type: multipart/related;\r\n\tboundary=\"b-test\"\r\n\r\n";
    for (const auto& part : archive.parts) {
        out += "--b-test\r\nContent-Type: " + part.Header("content-type") +
               "\r\nContent-Transfer-Encoding: 8bit\r\nContent-Location: " + part.Location() + "\r\n\r\n" + part.body +
               "\r\n";
    }
    return out + "--b-test--\r\n";
}

// A fresh copy of the packed course for each test.
class CourseCopy : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        folder_ = fs::temp_directory_path() / ("course-check-" + std::to_string(seed()));
        fs::create_directories(folder_ / "work");
        fs::copy(EP_PACKED_COURSE, folder_ / "course");
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path Resource(int id) const { return folder_ / "course" / std::to_string(id); }
    std::string Bytes(int id) const { return Read(Resource(id)); }
    void Replace(int id, const std::string& bytes) const { Write(Resource(id), bytes); }

    WebArchive Page(int id) const {
        std::string error;
        auto archive = ParseWebArchive(Bytes(id), error);
        EXPECT_TRUE(archive) << error;
        return archive.value_or(WebArchive{});
    }
    // The first page of the course with a picture and with several parts.
    int PageWithPicture() const { return FirstPage([](const WebArchive& a) { return a.parts.size() > 1; }); }
    int PageWithParts() const {
        return FirstPage([](const WebArchive& a) { return a.parts[0].body.find("(b)</span>") != std::string::npos; });
    }

    CheckReport Check() const {
        ep::FolderResources resources(folder_ / "course");
        return ep::coursetool::ValidateCourse(resources, folder_ / "work");
    }

private:
    template <typename Want>
    int FirstPage(Want want) const {
        for (int id = 20011; id <= 22841; ++id) {
            if (!fs::exists(Resource(id))) continue;
            std::string error;
            auto archive = ParseWebArchive(Bytes(id), error);
            if (archive && want(*archive)) return id;
        }
        ADD_FAILURE() << "no such page";
        return 0;
    }

protected:
    fs::path folder_;
};

TEST_F(CourseCopy, ShippedCoursePasses) {
    CheckReport report = Check();
    EXPECT_TRUE(report.Passed()) << Problems(report);
    EXPECT_EQ(report.papers, 50);
    EXPECT_EQ(report.questions, 1410);
    EXPECT_EQ(report.answerSlots, 1521);
    EXPECT_EQ(report.pages, 1410);
    EXPECT_GT(report.pictures, 0);
    EXPECT_EQ(report.solutions, 1410);
    EXPECT_EQ(report.finalsRight, 1521);
}

TEST_F(CourseCopy, SolutionsMissingWrongOrOutOfOrder) {
    fs::remove(Resource(40011));
    // A one-part solution whose answer is changed, and one whose answer is
    // no longer marked as final.
    WebArchive wrong = Page(40013);
    ASSERT_FALSE(wrong.parts.empty());
    std::size_t at = wrong.parts[0].body.find("<span class=\"final\" data-slot=\"1\">");
    ASSERT_NE(at, std::string::npos);
    wrong.parts[0].body.insert(wrong.parts[0].body.find('>', at) + 1, "9");
    Replace(40013, Rebuild(wrong));
    WebArchive unmarked = Page(40015);
    ASSERT_FALSE(unmarked.parts.empty());
    ReplaceOnce(unmarked.parts[0].body, "class=\"final\"", "class=\"answer\"");
    Replace(40015, Rebuild(unmarked));
    // A two-part solution whose finals name their slots the wrong way round.
    int twoParts = PageWithParts() + 20000;
    WebArchive swapped = Page(twoParts);
    ASSERT_FALSE(swapped.parts.empty());
    ReplaceOnce(swapped.parts[0].body, "data-slot=\"1\"", "data-slot=\"x\"");
    ReplaceOnce(swapped.parts[0].body, "data-slot=\"2\"", "data-slot=\"1\"");
    ReplaceOnce(swapped.parts[0].body, "data-slot=\"x\"", "data-slot=\"2\"");
    Replace(twoParts, Rebuild(swapped));
    CheckReport report = Check();
    EXPECT_TRUE(Mentions(report, "the solution 40011 (paper 101 question 1) (resource 40011) is missing"))
        << Problems(report);
    EXPECT_TRUE(Mentions(report, "the solution 40013 (paper 101 question 2): the final answer \"9"));
    EXPECT_TRUE(Mentions(report, "the solution 40015 (paper 101 question 3) marks 0 final answers for 1 slots"));
    EXPECT_TRUE(Mentions(report, "the solution " + std::to_string(twoParts)));
    EXPECT_TRUE(Mentions(report, "final answer 1 is marked for slot 2"));
    EXPECT_EQ(report.solutions, 1409);
}

TEST_F(CourseCopy, SolutionMustBeHeadedAsOne) {
    WebArchive page = Page(40011);
    ASSERT_FALSE(page.parts.empty());
    ReplaceOnce(page.parts[0].body, "worked solution</h1>", "</h1>");
    Replace(40011, Rebuild(page));
    EXPECT_TRUE(Mentions(Check(), "the solution 40011 (paper 101 question 1) is not headed as a solution"));
}

TEST_F(CourseCopy, PaperShowsEachSolutionUnderItsQuestion) {
    ep::FolderResources resources(folder_ / "course");
    std::string paper = ep::coursetool::DescribePaper(resources, folder_ / "work", "115");
    std::size_t q1 = paper.find("Question 1 ");
    std::size_t solution = paper.find("Worked solution:", q1);
    std::size_t q2 = paper.find("Question 2 ");
    ASSERT_NE(solution, std::string::npos);
    EXPECT_LT(solution, q2);
    EXPECT_EQ(paper.find("(no worked solution)"), std::string::npos);
    EXPECT_NE(paper.find("Answer:", solution), std::string::npos);
}

// The answer sheet's form help never argues with the course: a pupil typing
// a key as it stands is told nothing about its form, before or after marking.
TEST_F(CourseCopy, EveryKeyReadsInItsOwnForm) {
    const fs::path course = Resource(30000).parent_path();
    ep::FolderResources resources(course);
    int slots = 0;
    for (int paper = 101; paper <= 150; ++paper) {
        const ep::PaperCatalogue catalogue =
            ep::LoadPaperCatalogue(resources, course.parent_path() / "work", 2, std::to_string(paper));
        for (std::size_t s = 1; s <= catalogue.answerKey.size(); ++s, ++slots) {
            const std::string& key = catalogue.answerKey[s];
            const std::string& kind = catalogue.kinds[s];
            EXPECT_EQ(ep::AnswerFormProblem(kind, key), "") << paper << " slot " << s << " " << kind << " " << key;
            EXPECT_EQ(ep::FormOnlyDifference(kind, key, key), "") << paper << " slot " << s;
        }
    }
    EXPECT_EQ(slots, 1521);
}

TEST_F(CourseCopy, DefinitionWithFinalLineEndOrWrongTopic) {
    std::string definition = Bytes(30000);
    Replace(30000, definition + "\r\n");
    EXPECT_TRUE(Mentions(Check(), "course definition (30000) ends with a CR LF"));
    ReplaceOnce(definition, ">Fractions>", ">Fraction>");
    Replace(30000, definition);
    CheckReport report = Check();
    EXPECT_TRUE(Mentions(report, "topic 3 is \"Fraction\""));
    EXPECT_TRUE(Mentions(report, "284 bytes, not 285"));
}

TEST_F(CourseCopy, QuestionLinesOutOfPaperOrder) {
    std::string kinds = Bytes(30024);
    std::size_t first = kinds.find("\r\n#20011#");
    std::size_t second = kinds.find("\r\n#20013#");
    std::size_t third = kinds.find("\r\n", second + 2);
    std::string a = kinds.substr(first, second - first), b = kinds.substr(second, third - second);
    kinds.replace(first, a.size() + b.size(), b + a);
    Replace(30024, kinds);
    CheckReport report = Check();
    EXPECT_TRUE(Mentions(report, "the answer kinds line 1 is question 20013")) << Problems(report);
}

TEST_F(CourseCopy, KeysThatAreNotWellFormed) {
    std::string keys = Bytes(30023);
    std::size_t line = keys.find("#20011#>");
    std::size_t end = keys.find("\r\n", line);
    keys.replace(line, end - line, "#20011#>3.50");
    Replace(30023, keys);
    EXPECT_TRUE(Mentions(Check(), "paper 101 slot 1: \"3.50\" is not a plain decimal number"));
}

TEST_F(CourseCopy, MarksOutOfRangeAndWrongTotal) {
    std::string marks = Bytes(30025);
    std::size_t at = marks.find("#20011#>") + 8;
    int was = marks[at] - '0';
    marks[at] = '4';
    Replace(30025, marks);
    CheckReport report = Check();
    EXPECT_TRUE(Mentions(report, "paper 101 slot 1: marks \"4\" are not 1, 2 or 3"));
    // The out-of-range mark is not counted, so the total falls short.
    EXPECT_TRUE(Mentions(report, "paper 101 carries " + std::to_string(66 - was) + " marks, not 66"))
        << Problems(report);
}

TEST_F(CourseCopy, KindThatIsNotShipped) {
    std::string kinds = Bytes(30024);
    ReplaceOnce(kinds, "#20011#>N", "#20011#>L");
    Replace(30024, kinds);
    CheckReport report = Check();
    EXPECT_TRUE(Mentions(report, "the kind \"L\" is not shipped"));
    EXPECT_TRUE(Mentions(report, "answer kinds: F 36 L 1 N 1136")) << Problems(report);
}

TEST_F(CourseCopy, SlotCountsThatDisagree) {
    std::string keys = Bytes(30023);
    ReplaceOnce(keys, "#20011#>", "#20011#>7>");
    Replace(30023, keys);
    EXPECT_TRUE(Mentions(Check(), "paper 101 cannot be loaded"));
}

TEST_F(CourseCopy, TemplateThatDiffersByOneByte) {
    std::string first = Bytes(30122);
    ReplaceOnce(first, "#110#>", "#110#");
    Replace(30122, first);
    Replace(30126, "#TRD#\r\n");
    CheckReport report = Check();
    EXPECT_TRUE(Mentions(report, "the first template (30122) differs from its layout"));
    EXPECT_TRUE(Mentions(report, "the trend template (30126) differs"));
    EXPECT_FALSE(Mentions(report, "the second template"));
}

TEST_F(CourseCopy, PageWithoutItsPicture) {
    int id = PageWithPicture();
    WebArchive page = Page(id);
    page.parts.resize(1);
    Replace(id, Rebuild(page));
    EXPECT_TRUE(Mentions(Check(), "page " + std::to_string(id))) ;
    EXPECT_TRUE(Mentions(Check(), "is not a part of the archive"));
}

TEST_F(CourseCopy, RebuiltPageStillPasses) {
    int id = PageWithPicture();
    Replace(id, Rebuild(Page(id)));
    CheckReport report = Check();
    EXPECT_TRUE(report.Passed()) << Problems(report);
}

TEST_F(CourseCopy, PagePartLettersAndMarksMustMatchTheSlots) {
    int id = PageWithParts();
    WebArchive page = Page(id);
    ReplaceOnce(page.parts[0].body, "<span class=\"label\">(b)</span>", "");
    Replace(id, Rebuild(page));
    CheckReport report = Check();
    EXPECT_TRUE(Mentions(report, "shows 1 part letters for 2 slots")) << Problems(report);
    EXPECT_TRUE(Mentions(report, "part 2 is not labelled (b)"));
}

TEST_F(CourseCopy, MissingOrTruncatedPage) {
    fs::remove(Resource(20011));
    std::string page = Bytes(20013);
    Replace(20013, page.substr(0, page.size() / 2));
    CheckReport report = Check();
    EXPECT_TRUE(Mentions(report, "page 20011 (paper 101 question 1) (resource 20011) is missing"));
    EXPECT_TRUE(Mentions(report, "page 20013 (paper 101 question 2) is not a well-formed web archive"));
}

TEST(WebArchiveReader, DecodesFoldedHeadersAndEveryEncoding) {
    std::string bytes =
        "Subject: x\r\nContent-Type: multipart/related;\r\n\ttype=\"text/html\";\r\n\tboundary=\"--b\"\r\n\r\n"
        "----b\r\nContent-Type: text/html; charset=utf-8\r\nContent-Transfer-Encoding: quoted-printable\r\n"
        "Content-Location: http://h/q1/index.html\r\n\r\n<p class=3D\"a\">Caf=C3=A9 long=\r\n line</p>\r\n"
        "----b\r\nContent-Type: image/svg+xml\r\nContent-Transfer-Encoding: base64\r\n"
        "Content-Location: http://h/q1/p.svg\r\n\r\nPHN2Zy8+\r\n----b--\r\n";
    std::string error;
    auto archive = ParseWebArchive(bytes, error);
    ASSERT_TRUE(archive) << error;
    ASSERT_EQ(archive->parts.size(), 2u);
    EXPECT_EQ(archive->parts[0].body, "<p class=\"a\">Caf\xC3\xA9 long line</p>");
    EXPECT_EQ(archive->parts[0].ContentType(), "text/html");
    EXPECT_EQ(archive->parts[1].body, "<svg/>");
    EXPECT_EQ(ep::coursetool::ResolveReference(archive->parts[0].Location(), "p.svg"), "http://h/q1/p.svg");
}

TEST(WebArchiveReader, RefusesWhatIsNotAnArchive) {
    std::string error;
    EXPECT_FALSE(ParseWebArchive("Content-Type: text/html\r\n\r\n<p>x</p>", error));
    EXPECT_NE(error.find("multipart/related"), std::string::npos);
    EXPECT_FALSE(ParseWebArchive("Content-Type: multipart/related; boundary=b\r\n\r\n--b\r\n\r\nx\r\n", error));
    EXPECT_NE(error.find("closing boundary"), std::string::npos);
    EXPECT_FALSE(ParseWebArchive("Content-Type: multipart/related; boundary=b\r\n\r\n--b\r\n"
                                 "Content-Transfer-Encoding: quoted-printable\r\n\r\n=ZZ\r\n--b--\r\n",
                                 error));
}

TEST(WebArchiveReader, MalformedArchivesAreRefusedWithAReason) {
    // Each once threw from the reader instead of saying what is wrong.
    const std::vector<std::string> malformed = {
        std::string("Content-Type:multipart/related;boundary=-\n\r", 43),
        "Content-Type: multipart/related; boundary=b\n\n--b",
        "Content-Type: multipart/related; boundary=b\n\n--b\n",
        "Content-Type: multipart/related; boundary=b\r\n\r\n--b\r\nContent-Type: text/html",
        "",
        "\n",
    };
    for (const std::string& bytes : malformed) {
        std::string error;
        std::optional<ep::coursetool::WebArchive> archive;
        EXPECT_NO_THROW(archive = ParseWebArchive(bytes, error)) << bytes;
        EXPECT_FALSE(archive) << bytes;
        EXPECT_FALSE(error.empty()) << bytes;
    }
}

TEST(PageText, ReadsLikeThePage) {
    EXPECT_EQ(ep::coursetool::PageText(
                  "<html><head><style>p{}</style></head><body><header><h1>Question 3</h1></header>"
                  "<p>What is <span class=\"frac\"><span class=\"num\">3</span><span class=\"den\">4</span></span>"
                  " of <b>$20</b>?</p>\n<p>A&#160;&amp;&#160;B</p></body></html>"),
              "What is 3/4 of $20? A & B");
    // The words a screen reader says for a fraction do not repeat it.
    EXPECT_EQ(ep::coursetool::PageText(
                  "<p>7 \xC3\xB7 <span class=\"frac\"><span class=\"num\" aria-hidden=\"true\">1</span>"
                  "<span class=\"den\" aria-hidden=\"true\">5</span><span class=\"sr\">1 over 5</span></span> =</p>"),
              "7 \xC3\xB7 1/5 =");
}

TEST(KeyProblem, ByKind) {
    using ep::coursetool::KeyProblem;
    for (auto [kind, key] : {std::pair{"N", "84"}, {"N", "3.75"}, {"Q", "4"}, {"F", "109/200"}, {"X", "5 2/3"},
                             {"R", "5:3:2"}, {"T", "12.42pm"}}) {
        EXPECT_EQ(KeyProblem(kind, key), "") << kind << " " << key;
    }
    for (auto [kind, key] : {std::pair{"N", "3.50"}, {"N", "1,000"}, {"Q", "0"}, {"F", "6/8"}, {"F", "5/1"},
                             {"X", "2 4/3"}, {"R", "6:9"}, {"T", " x"}, {"G", ";3;5"}}) {
        EXPECT_NE(KeyProblem(kind, key), "") << kind << " " << key;
    }
}

}  // namespace
