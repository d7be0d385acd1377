#include "course_check.h"

#include <algorithm>
#include <array>
#include <map>
#include <numeric>
#include <regex>
#include <set>

#include "answer_check.h"
#include "answer_form.h"
#include "cp1252.h"
#include "course.h"
#include "tagged_file.h"
#include "text_format.h"
#include "web_archive.h"

namespace ep::coursetool {
namespace {

// The shape of the shipped course. Stored results files depend on it: a
// paper's slot count is the length of its lines in the results files.
constexpr int kModule = 2;
constexpr int kPaperCount = 50;
constexpr int kQuestionCount = 1410;
constexpr int kSlotCount = 1521;
constexpr int kFirstId = 20011;
constexpr int kLastId = 22841;
constexpr std::size_t kDefinitionBytes = 285;
constexpr std::size_t kMarksTemplateBytes = 450;
const std::array<const char*, 10> kTopics = {
    "Whole Numbers", "Decimals", "Fractions", "Area and Perimeter", "Volume",
    "Geometry", "Percentage", "Ratio and Proportions", "Rate and Speed", "Algebra"};
const std::map<int, int> kSpecialSlotCounts = {
    {110, 34}, {115, 36}, {120, 40}, {122, 36}, {124, 37}, {125, 33}, {126, 32},
    {128, 46}, {129, 41}, {131, 33}, {135, 46}, {141, 37}, {145, 50}};
const std::map<int, int> kQuestionsBySlots = {{1, 1309}, {2, 92}, {3, 8}, {4, 1}};
const std::map<std::string, int> kKindCounts = {
    {"N", 1137}, {"Q", 241}, {"T", 49}, {"F", 36}, {"R", 35}, {"X", 23}};
const std::map<int, int> kPaperTotals = {{101, 66}, {110, 63}, {137, 48}};
constexpr std::string_view kPartLetters = "abcdefghijklmnopqrst";
// A question's worked solution is the resource of its id + 20000.
constexpr int kSolutionOffset = 20000;

int QuestionsOf(int paper) { return paper >= 146 ? 12 : 30; }

int SlotsOf(int paper) {
    auto it = kSpecialSlotCounts.find(paper);
    return it == kSpecialSlotCounts.end() ? QuestionsOf(paper) : it->second;
}

class Checker {
public:
    Checker(const ResourceSource& resources, std::filesystem::path work)
        : resources_(resources), work_(std::move(work)) {}

    CheckReport Run();

private:
    void Problem(std::string text) { report_.problems.push_back(std::move(text)); }
    std::optional<std::string> Bytes(int id, const std::string& what);
    void CheckShippedFile(int id, const std::string& what, const std::string& bytes, bool fenced);
    void CheckDefinition();
    void CheckCatalogue();
    void CheckTemplates();
    std::optional<std::string> ReadPage(int id, const std::string& where, int& pictures);
    void CheckPage(int paper, int number, int id, int firstSlot, int slots);
    void CheckSolution(int paper, int number, int id, int firstSlot, int slots);

    const ResourceSource& resources_;
    std::filesystem::path work_;
    CheckReport report_;
    // The catalogue as the program reads it, paper by paper.
    std::map<int, PaperCatalogue> papers_;
};

std::optional<std::string> Checker::Bytes(int id, const std::string& what) {
    std::optional<std::string> bytes = resources_.Load(id, kCustomType);
    if (!bytes) Problem(what + " (resource " + std::to_string(id) + ") is missing");
    return bytes;
}

void Checker::CheckShippedFile(int id, const std::string& what, const std::string& bytes, bool fenced) {
    std::string where = what + " (" + std::to_string(id) + ")";
    if (fenced) {
        if (bytes.rfind("...\r\n", 0) != 0) Problem(where + " does not open with a line \"...\"");
        if (bytes.size() < 5 || bytes.compare(bytes.size() - 5, 5, "\r\n...") != 0) {
            Problem(where + " does not close with a line \"...\"");
        }
    }
    if (bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0) {
        Problem(where + " ends with a CR LF after its last line");
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bool loneLf = bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r');
        bool loneCr = bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n');
        if (loneLf || loneCr) {
            Problem(where + " has a line end that is not CR LF at byte " + std::to_string(i));
            break;
        }
    }
}

void Checker::CheckDefinition() {
    std::optional<std::string> bytes = Bytes(kCourseDefinitionResource, "the course definition");
    if (!bytes) return;
    CheckShippedFile(kCourseDefinitionResource, "the course definition", *bytes, true);
    if (bytes->find("\r\n" + std::string(31, '-') + "\r\n") == std::string::npos) {
        Problem("the course definition has no ruler line of 31 \"-\"");
    }
    if (bytes->size() != kDefinitionBytes) {
        Problem("the course definition is " + std::to_string(bytes->size()) + " bytes, not " +
                std::to_string(kDefinitionBytes));
    }
    int status = 0;
    CourseDefinition definition;
    try {
        definition = ReadCourseDefinition(resources_, work_, status);
    } catch (const TaggedFileError& e) {
        Problem(std::string("the course definition cannot be read: ") + e.what());
        return;
    }
    if (status != 0) {
        Problem("the course definition cannot be extracted: " + ExtractStatusText(status));
        return;
    }
    if (definition.title.empty()) Problem("the course has no title (NME)");
    static const std::regex code("[A-Za-z0-9]{1,12}");
    if (!std::regex_match(definition.code, code)) {
        Problem("the course code \"" + definition.code + "\" is not a short run of letters and digits");
    }
    if (definition.Module(1).Defined() || definition.Module(3).Defined()) {
        Problem("only module 2 may be defined (no LAH or LCH line)");
    }
    const ModuleDefinition& m = definition.Module(kModule);
    if (m.label != "Practice") Problem("module 2 is labelled \"" + m.label + "\", not \"Practice\"");
    if (m.topicCount != 10) Problem("module 2 has " + std::to_string(m.topicCount) + " topics, not 10");
    if (m.paperCount != kPaperCount) {
        Problem("module 2 has " + std::to_string(m.paperCount) + " papers, not 50");
    }
    for (std::size_t t = 0; t < kTopics.size() && t < m.topicNames.size(); ++t) {
        if (m.topicNames[t + 1] != kTopics[t]) {
            Problem("topic " + std::to_string(t + 1) + " is \"" + m.topicNames[t + 1] + "\", not \"" +
                    kTopics[t] + "\"");
        }
    }
}

// The keys of a question-keyed file in file order, with their value counts.
std::vector<std::pair<std::string, int>> KeyedLines(const std::string& bytes) {
    std::vector<std::pair<std::string, int>> lines;
    std::size_t pos = 0;
    while (pos <= bytes.size()) {
        std::size_t end = bytes.find("\r\n", pos);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(pos, end - pos);
        if (line.size() > 7 && line[0] == '#' && line[6] == '#') {
            lines.emplace_back(line.substr(1, 5), static_cast<int>(std::count(line.begin(), line.end(), '>')));
        }
        pos = end + 2;
    }
    return lines;
}

void Checker::CheckCatalogue() {
    const std::array<std::pair<int, const char*>, 4> files = {{{PaperListResource(kModule), "the paper list"},
                                                                {AnswerKeyResource(kModule), "the answer key"},
                                                                {AnswerKindsResource(kModule), "the answer kinds"},
                                                                {SlotMarksResource(kModule), "the marks"}}};
    std::map<int, std::string> raw;
    for (const auto& [id, what] : files) {
        std::optional<std::string> bytes = Bytes(id, what);
        if (!bytes) return;
        CheckShippedFile(id, what, *bytes, true);
        raw[id] = *bytes;
    }
    std::vector<int> ids;
    std::vector<int> slotsPerQuestion;
    std::map<std::string, int> kinds;
    for (int paper = kFirstPaperKey; paper < kFirstPaperKey + kPaperCount; ++paper) {
        std::string key = std::to_string(paper);
        PaperCatalogue catalogue;
        try {
            catalogue = LoadPaperCatalogue(resources_, work_, kModule, key);
        } catch (const std::exception& e) {
            Problem("paper " + key + " cannot be loaded: " + e.what());
            continue;
        }
        std::string where = "paper " + key;
        if (catalogue.QuestionCount() != QuestionsOf(paper)) {
            Problem(where + " has " + std::to_string(catalogue.QuestionCount()) + " questions, not " +
                    std::to_string(QuestionsOf(paper)));
        }
        if (catalogue.slotCount != SlotsOf(paper)) {
            Problem(where + " has " + std::to_string(catalogue.slotCount) + " answer slots, not " +
                    std::to_string(SlotsOf(paper)));
        }
        int total = 0;
        for (std::size_t s = 1; s <= catalogue.answerKey.size(); ++s) {
            std::string slot = where + " slot " + std::to_string(s);
            const std::string& kind = catalogue.kinds[s];
            const std::string& answer = catalogue.answerKey[s];
            ++kinds[kind];
            std::optional<long long> marks = ParseInteger(catalogue.marks[s]);
            if (!marks || *marks < 1 || *marks > 3) {
                Problem(slot + ": marks \"" + catalogue.marks[s] + "\" are not 1, 2 or 3");
            } else {
                total += static_cast<int>(*marks);
            }
            std::string why = KeyProblem(kind, answer);
            if (!why.empty()) {
                Problem(slot + ": " + why);
            } else if (CheckAnswer(answer, answer, kind) != kTickMark) {
                Problem(slot + ": the key \"" + answer + "\" is not marked right against itself");
            } else if (std::string form = AnswerFormProblem(kind, answer); !form.empty()) {
                // The answer sheet would tell a pupil typing the key to write it otherwise.
                Problem(slot + ": the key \"" + answer + "\" does not read in its form (" + form + ")");
            }
        }
        auto fixed = kPaperTotals.find(paper);
        if (fixed != kPaperTotals.end() && total != fixed->second) {
            Problem(where + " carries " + std::to_string(total) + " marks, not " + std::to_string(fixed->second));
        }
        for (std::size_t q = 1; q <= catalogue.questions.size(); ++q) {
            std::optional<long long> id = ParseInteger(catalogue.questions[q]);
            if (!id || catalogue.questions[q].size() != 5) {
                Problem(where + " question " + std::to_string(q) + ": \"" + catalogue.questions[q] +
                        "\" is not a five-digit id");
                continue;
            }
            ids.push_back(static_cast<int>(*id));
            slotsPerQuestion.push_back(catalogue.parts[q]);
        }
        report_.papers += 1;
        report_.answerSlots += catalogue.slotCount;
        papers_[paper] = std::move(catalogue);
    }
    report_.questions = static_cast<int>(ids.size());
    if (static_cast<int>(ids.size()) != kQuestionCount) {
        Problem("the papers hold " + std::to_string(ids.size()) + " questions, not " +
                std::to_string(kQuestionCount));
    }
    if (report_.answerSlots != kSlotCount) {
        Problem("the papers hold " + std::to_string(report_.answerSlots) + " answer slots, not " +
                std::to_string(kSlotCount));
    }
    if (!ids.empty() && (ids.front() != kFirstId || ids.back() != kLastId)) {
        Problem("question ids run from " + std::to_string(ids.front()) + " to " + std::to_string(ids.back()) +
                ", not 20011 to 22841");
    }
    for (std::size_t i = 1; i < ids.size(); ++i) {
        if (ids[i] <= ids[i - 1]) {
            Problem("question id " + std::to_string(ids[i]) + " does not increase on " + std::to_string(ids[i - 1]));
        }
    }
    if (!ids.empty() && ids.back() - ids.front() + 1 == static_cast<int>(ids.size())) {
        Problem("question ids are contiguous");
    }
    std::map<int, int> bySlots;
    for (int n : slotsPerQuestion) ++bySlots[n];
    if (report_.questions == kQuestionCount && bySlots != kQuestionsBySlots) {
        std::string counts;
        for (auto [n, count] : bySlots) counts += " " + std::to_string(count) + " with " + std::to_string(n);
        Problem("questions by slot count:" + counts + "; wanted 1309, 92, 8, 1 with 1, 2, 3, 4");
    }
    if (report_.answerSlots == kSlotCount && kinds != kKindCounts) {
        std::string counts;
        for (const auto& [kind, count] : kinds) counts += " " + kind + " " + std::to_string(count);
        Problem("answer kinds:" + counts + "; wanted N 1137, Q 241, T 49, F 36, R 35, X 23");
    }
    // The question-keyed files must list exactly the papers' ids, in order,
    // with matching value counts: readers scan each file once.
    for (const auto& [id, what] : files) {
        if (id == PaperListResource(kModule)) continue;
        auto lines = KeyedLines(raw[id]);
        if (lines.size() != ids.size()) {
            Problem(std::string(what) + " has " + std::to_string(lines.size()) + " question lines for " +
                    std::to_string(ids.size()) + " questions");
        }
        for (std::size_t i = 0; i < std::min(lines.size(), ids.size()); ++i) {
            if (lines[i].first != std::to_string(ids[i])) {
                Problem(std::string(what) + " line " + std::to_string(i + 1) + " is question " + lines[i].first +
                        " where the papers have " + std::to_string(ids[i]));
                break;
            }
            if (lines[i].second != slotsPerQuestion[i]) {
                Problem(std::string(what) + ": question " + lines[i].first + " has " +
                        std::to_string(lines[i].second) + " values for " + std::to_string(slotsPerQuestion[i]) +
                        " slots");
            }
        }
    }
}

std::string Fenced(const std::vector<std::string>& lines) {
    std::string out = "...";
    for (const std::string& line : lines) out += "\r\n" + line;
    return out + "\r\n...";
}

void Checker::CheckTemplates() {
    std::vector<std::string> marks;
    for (const char* key : {"FSE", "SSE", "LTM", "CDD"}) marks.push_back("#" + std::string(key) + "#" + std::string(50, '>'));
    for (const char* key : {"FST", "SST"}) {
        std::string line = "#" + std::string(key) + "#";
        for (int i = 0; i < 50; ++i) line += ">0";
        marks.push_back(line);
    }
    std::vector<std::string> perPaper;
    for (int paper = kFirstPaperKey; paper < kFirstPaperKey + kPaperCount; ++paper) {
        perPaper.push_back("#" + std::to_string(paper) + "#" + std::string(static_cast<std::size_t>(SlotsOf(paper)), '>'));
    }
    const std::string expected[6] = {Fenced(marks), Fenced(perPaper), Fenced(perPaper), Fenced(perPaper),
                                     Fenced(perPaper), "#TRD#"};
    const char* names[6] = {"marks", "first", "second", "fresults", "sresults", "trend"};
    if (expected[0].size() != kMarksTemplateBytes) Problem("internal: marks template layout");
    for (int i = 0; i < 6; ++i) {
        int id = 30101 + 10 * kModule + i;
        std::optional<std::string> bytes = Bytes(id, std::string("the ") + names[i] + " template");
        if (!bytes) continue;
        if (*bytes != expected[i]) {
            std::size_t at = 0;
            while (at < bytes->size() && at < expected[i].size() && (*bytes)[at] == expected[i][at]) ++at;
            Problem(std::string("the ") + names[i] + " template (" + std::to_string(id) + ") differs from its layout at byte " +
                    std::to_string(at) + " (" + std::to_string(bytes->size()) + " bytes, " +
                    std::to_string(expected[i].size()) + " expected)");
        }
    }
}

std::vector<std::string> References(const std::string& html) {
    std::vector<std::string> refs;
    for (const char* attribute : {" src=\"", " href=\""}) {
        std::size_t pos = 0;
        std::string a = attribute;
        while ((pos = html.find(a, pos)) != std::string::npos) {
            pos += a.size();
            std::size_t end = html.find('"', pos);
            if (end == std::string::npos) break;
            refs.push_back(html.substr(pos, end - pos));
        }
    }
    return refs;
}

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + what.size())) ++n;
    return n;
}

std::optional<std::string> Checker::ReadPage(int id, const std::string& where, int& pictures) {
    std::optional<std::string> bytes = Bytes(id, where);
    if (!bytes) return std::nullopt;
    std::string error;
    std::optional<WebArchive> archive = ParseWebArchive(*bytes, error);
    if (!archive) {
        Problem(where + " is not a well-formed web archive: " + error);
        return std::nullopt;
    }
    const ArchivePart& root = archive->parts.front();
    if (root.ContentType() != "text/html") Problem(where + ": the root part is " + root.ContentType());
    std::string charset = HeaderParameter(root.Header("content-type"), "charset");
    std::transform(charset.begin(), charset.end(), charset.begin(), [](unsigned char c) { return std::tolower(c); });
    if (charset != "utf-8") Problem(where + ": the root part is not marked UTF-8");
    if (!DecodeUtf8(root.body)) Problem(where + ": the root part is not valid UTF-8");
    std::set<std::string> locations;
    for (const ArchivePart& part : archive->parts) {
        if (part.Location().rfind("http://", 0) != 0) {
            Problem(where + ": a part's Content-Location \"" + part.Location() + "\" is not an http:// address");
        }
        locations.insert(part.Location());
    }
    for (const std::string& ref : References(root.body)) {
        if (!locations.count(ResolveReference(root.Location(), ref))) {
            Problem(where + ": \"" + ref + "\" is not a part of the archive");
        }
    }
    pictures += static_cast<int>(archive->parts.size()) - 1;
    return root.body;
}

void Checker::CheckPage(int paper, int number, int id, int firstSlot, int slots) {
    std::string where = "page " + std::to_string(id) + " (paper " + std::to_string(paper) + " question " +
                        std::to_string(number) + ")";
    std::optional<std::string> page = ReadPage(id, where, report_.pictures);
    if (!page) return;
    ++report_.pages;
    const std::string& html = *page;
    if (PageText(html).size() < 10) Problem(where + " shows no question text");
    // One part per slot; letters (a), (b), ... only when there are two or more.
    int parts = Count(html, "<div class=\"part");
    if (parts != slots) {
        Problem(where + " has " + std::to_string(parts) + " parts for " + std::to_string(slots) + " slots");
    }
    int letters = Count(html, "<span class=\"label\">(");
    int wantLetters = slots > 1 ? slots : 0;
    if (letters != wantLetters) {
        Problem(where + " shows " + std::to_string(letters) + " part letters for " + std::to_string(slots) + " slots");
    }
    // Each part, from its opening to the next one's, shows its letter and marks.
    std::vector<std::size_t> starts;
    for (std::size_t at = html.find("<div class=\"part"); at != std::string::npos;
         at = html.find("<div class=\"part", at + 1)) {
        starts.push_back(at);
    }
    const PaperCatalogue& catalogue = papers_.at(paper);
    int choices = 0;
    for (int k = 0; k < slots && k < parts; ++k) {
        std::size_t s = static_cast<std::size_t>(firstSlot + k);
        std::size_t from = starts[static_cast<std::size_t>(k)];
        std::size_t to = k + 1 < parts ? starts[static_cast<std::size_t>(k) + 1] : html.size();
        std::string part = html.substr(from, to - from);
        std::string name = slots > 1 ? std::string("part (") + kPartLetters[static_cast<std::size_t>(k)] + ")"
                                     : std::string("the answer part");
        if (slots > 1 && part.find(std::string("<span class=\"label\">(") + kPartLetters[static_cast<std::size_t>(k)] +
                                   ")") == std::string::npos) {
            Problem(where + ": part " + std::to_string(k + 1) + " is not labelled (" +
                    kPartLetters[static_cast<std::size_t>(k)] + ")");
        }
        const std::string& m = catalogue.marks[s];
        std::string marks = "[" + m + (m == "1" ? " mark]" : " marks]");
        if (part.find(marks) == std::string::npos) Problem(where + ": " + name + " does not show " + marks);
        if (catalogue.kinds[s] == "Q") ++choices;
    }
    for (int option = 1; option <= 4; ++option) {
        std::string shown = "<span class=\"option\">(" + std::to_string(option) + ")";
        if (Count(html, shown) != choices) {
            Problem(where + ": option (" + std::to_string(option) + ") shown " + std::to_string(Count(html, shown)) +
                    " times for " + std::to_string(choices) + " choice slots");
        }
    }
}

// The final answers of a worked solution, in page order: (slot, text).
std::vector<std::pair<int, std::string>> FinalAnswers(const std::string& html) {
    static const std::string open = "<span class=\"final\" data-slot=\"";
    std::vector<std::pair<int, std::string>> finals;
    for (std::size_t at = html.find(open); at != std::string::npos; at = html.find(open, at + 1)) {
        std::size_t quote = html.find('"', at + open.size());
        std::size_t close = html.find("</span>", at);
        if (quote == std::string::npos || close == std::string::npos) break;
        std::optional<long long> slot = ParseInteger(html.substr(at + open.size(), quote - at - open.size()));
        std::size_t text = html.find('>', quote) + 1;
        finals.emplace_back(slot ? static_cast<int>(*slot) : 0, PageText(html.substr(text, close - text)));
    }
    return finals;
}

void Checker::CheckSolution(int paper, int number, int id, int firstSlot, int slots) {
    int sid = id + kSolutionOffset;
    std::string where = "the solution " + std::to_string(sid) + " (paper " + std::to_string(paper) + " question " +
                        std::to_string(number) + ")";
    std::optional<std::string> page = ReadPage(sid, where, report_.solutionPictures);
    if (!page) return;
    ++report_.solutions;
    if (page->find("worked solution</h1>") == std::string::npos) Problem(where + " is not headed as a solution");
    if (PageText(*page).size() < 10) Problem(where + " shows no working");
    std::vector<std::pair<int, std::string>> finals = FinalAnswers(*page);
    if (static_cast<int>(finals.size()) != slots) {
        Problem(where + " marks " + std::to_string(finals.size()) + " final answers for " + std::to_string(slots) +
                " slots");
        return;
    }
    const PaperCatalogue& catalogue = papers_.at(paper);
    for (int k = 0; k < slots; ++k) {
        auto [slot, text] = finals[static_cast<std::size_t>(k)];
        if (slot != k + 1) {
            Problem(where + ": final answer " + std::to_string(k + 1) + " is marked for slot " + std::to_string(slot));
            continue;
        }
        std::size_t s = static_cast<std::size_t>(firstSlot + k);
        const std::string& kind = catalogue.kinds[s];
        const std::string& key = catalogue.answerKey[s];
        if (kind == "G" || kind == "M" || CheckAnswer(text, key, kind) != kTickMark) {
            Problem(where + ": the final answer \"" + text + "\" of slot " + std::to_string(slot) +
                    " is not marked right against the key \"" + key + "\"");
        } else {
            ++report_.finalsRight;
        }
    }
}

CheckReport Checker::Run() {
    CheckDefinition();
    CheckCatalogue();
    CheckTemplates();
    for (const auto& [paper, catalogue] : papers_) {
        int slot = 1;
        for (std::size_t q = 1; q <= catalogue.questions.size(); ++q) {
            std::optional<long long> id = ParseInteger(catalogue.questions[q]);
            if (id) {
                CheckPage(paper, static_cast<int>(q), static_cast<int>(*id), slot, catalogue.parts[q]);
                CheckSolution(paper, static_cast<int>(q), static_cast<int>(*id), slot, catalogue.parts[q]);
            }
            slot += catalogue.parts[q];
        }
    }
    return report_;
}

}  // namespace

std::string CheckReport::Summary() const {
    return "course valid: " + std::to_string(papers) + " papers, " + std::to_string(questions) + " questions, " +
           std::to_string(answerSlots) + " answer slots, " + std::to_string(pages) + " pages with " +
           std::to_string(pictures) + " pictures, " + std::to_string(solutions) + " worked solutions with " +
           std::to_string(solutionPictures) + " pictures, " + std::to_string(finalsRight) +
           " final answers right against their keys";
}

std::string KeyProblem(std::string_view kind, std::string_view key) {
    static const std::regex number(R"((0|[1-9][0-9]*)(\.[0-9]*[1-9])?)");
    static const std::regex fraction(R"(([1-9][0-9]*)/([1-9][0-9]*))");
    static const std::regex mixed(R"(([1-9][0-9]*) ([1-9][0-9]*)/([1-9][0-9]*))");
    static const std::regex ratio(R"([1-9][0-9]*(:[1-9][0-9]*)+)");
    std::string k(key);
    std::smatch m;
    if (k.empty() || TrimSpaces(k) != k) return "the key \"" + k + "\" is empty or has outer spaces";
    if (kind == "N") {
        if (!std::regex_match(k, number)) return "\"" + k + "\" is not a plain decimal number";
    } else if (kind == "Q") {
        if (k.size() != 1 || k[0] < '1' || k[0] > '4') return "the choice \"" + k + "\" is not 1 to 4";
    } else if (kind == "F") {
        if (!std::regex_match(k, m, fraction)) return "\"" + k + "\" is not a fraction a/b";
        long long a = std::stoll(m[1]), b = std::stoll(m[2]);
        if (b < 2 || std::gcd(a, b) != 1) return "the fraction \"" + k + "\" is not in its simplest form";
    } else if (kind == "X") {
        if (!std::regex_match(k, m, mixed)) return "\"" + k + "\" is not a mixed number w n/d";
        long long n = std::stoll(m[2]), d = std::stoll(m[3]);
        if (n >= d || std::gcd(n, d) != 1) return "the mixed number \"" + k + "\" is not proper and simplest";
    } else if (kind == "R") {
        if (!std::regex_match(k, ratio)) return "\"" + k + "\" is not a ratio of whole numbers";
        long long g = 0;
        std::size_t start = 0;
        while (start <= k.size()) {
            std::size_t colon = k.find(':', start);
            g = std::gcd(g, std::stoll(k.substr(start, colon - start)));
            if (colon == std::string::npos) break;
            start = colon + 1;
        }
        if (g != 1) return "the ratio \"" + k + "\" is not in its simplest form";
    } else if (kind == "T") {
        if (k.find("  ") != std::string::npos) return "the text key \"" + k + "\" has a double space";
    } else {
        return "the kind \"" + std::string(kind) + "\" is not shipped";
    }
    return {};
}

CheckReport ValidateCourse(const ResourceSource& resources, const std::filesystem::path& workFolder) {
    return Checker(resources, workFolder).Run();
}

// A worked solution as lines an author reads: one per step, answer or note.
std::string SolutionText(const ResourceSource& resources, int id) {
    std::optional<std::string> page = id ? resources.Load(id + kSolutionOffset, kCustomType) : std::nullopt;
    if (!page) return "    (no worked solution)\n";
    std::string error;
    std::optional<WebArchive> archive = ParseWebArchive(*page, error);
    if (!archive) return "    (not a web archive: " + error + ")\n";
    std::string html = archive->parts.front().body;
    std::size_t body = html.find("</header>");
    if (body != std::string::npos) html.erase(0, body + 9);
    std::string out;
    std::size_t from = 0;
    while (from < html.size()) {
        std::size_t end = html.size();
        for (const char* close : {"</p>", "</li>"}) {
            std::size_t at = html.find(close, from);
            if (at != std::string::npos && at < end) end = at + std::string_view(close).size();
        }
        std::string line = PageText(html.substr(from, end - from));
        if (!line.empty()) out += "    " + line + "\n";
        from = end;
    }
    return out;
}

std::string DescribePaper(const ResourceSource& resources, const std::filesystem::path& workFolder,
                          std::string_view paperKey) {
    PaperCatalogue catalogue = LoadPaperCatalogue(resources, workFolder, kModule, paperKey);
    std::string out = "Paper " + std::string(paperKey) + ": " + std::to_string(catalogue.QuestionCount()) +
                      " questions, " + std::to_string(catalogue.slotCount) + " answer slots\n";
    int slot = 1;
    for (std::size_t q = 1; q <= catalogue.questions.size(); ++q) {
        std::string text = "(page missing)";
        std::optional<long long> id = ParseInteger(catalogue.questions[q]);
        std::optional<std::string> page = id ? resources.Load(static_cast<int>(*id), kCustomType) : std::nullopt;
        std::string error;
        if (page) {
            std::optional<WebArchive> archive = ParseWebArchive(*page, error);
            text = archive ? PageText(archive->parts.front().body) : "(not a web archive: " + error + ")";
        }
        out += "\nQuestion " + std::to_string(q) + "  [" + catalogue.questions[q] + "]\n  " + text + "\n";
        for (int k = 0; k < catalogue.parts[q]; ++k, ++slot) {
            std::size_t s = static_cast<std::size_t>(slot);
            std::string label = catalogue.parts[q] > 1 ? std::string("(") + kPartLetters[static_cast<std::size_t>(k)] + ") " : "";
            out += "  " + label + catalogue.kinds[s] + "  " + catalogue.answerKey[s] + "  [" + catalogue.marks[s] +
                   (catalogue.marks[s] == "1" ? " mark]\n" : " marks]\n");
        }
        out += "  Worked solution:\n" + SolutionText(resources, id ? static_cast<int>(*id) : 0);
    }
    out += "\nTotal: " + std::to_string(catalogue.totalMarks) + " marks\n";
    return out;
}

}  // namespace ep::coursetool
