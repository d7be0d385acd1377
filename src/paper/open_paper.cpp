#include "open_paper.h"

#include <cmath>

#include "answer_check.h"
#include "store_change.h"
#include "tagged_file.h"
#include "text_format.h"

namespace ep {
namespace {

bool ReadsAsOne(const std::string& text) {
    std::optional<double> value = ParseNumber(text);
    return value && *value == 1;
}

}  // namespace

OpenPaper OpenPaper::Load(const ResourceSource& resources, const std::filesystem::path& dataFolder,
                          const PaperRequest& request) {
    OpenPaper paper;
    paper.request_ = request;
    paper.dataFolder_ = dataFolder;
    const std::string key = std::to_string(request.paperKey);
    paper.catalogue_ = LoadPaperCatalogue(resources, dataFolder, request.module, key);
    for (int n = 1; n <= paper.QuestionCount(); ++n) {
        if (paper.PartsOf(n) < 1 || paper.PartsOf(n) > kSheetRows) {
            throw TaggedFileError("course catalogue", paper.catalogue_.questions[static_cast<std::size_t>(n)],
                                  "a question must have 1 to " + std::to_string(kSheetRows) + " answers");
        }
    }
    const int papers = request.paperCount;
    const int slots = paper.SlotCount();
    if (request.attempt == Attempt::kFirst) {
        paper.answers_ = ReadPaperLine(paper.File(ResultsFile::kFirst), papers, request.paperKey, slots);
        paper.results_ = ReadPaperLine(paper.File(ResultsFile::kFirstResults), papers, request.paperKey, slots);
    } else {
        paper.firstResults_ = ReadPaperLine(paper.File(ResultsFile::kFirstResults), papers, request.paperKey, slots);
        paper.answers_ = ReadPaperLine(paper.File(ResultsFile::kSecond), papers, request.paperKey, slots);
        paper.results_ = ReadPaperLine(paper.File(ResultsFile::kSecondResults), papers, request.paperKey, slots);
        paper.firstAnswers_ = ReadPaperLine(paper.File(ResultsFile::kFirst), papers, request.paperKey, slots);
        // Slots right the first time stand as they were; the "second" file
        // takes them at the next save.
        for (int i = 1; i <= slots; ++i) {
            if (paper.IsCarried(i)) {
                paper.answers_.values[static_cast<std::size_t>(i)] = paper.firstAnswers_.values[static_cast<std::size_t>(i)];
                paper.results_.values[static_cast<std::size_t>(i)] = std::string(kTickMark);
            }
        }
    }
    // A paper of a module whose store is damaged is not opened: its next
    // save would write over what the pupil may still bring back.
    for (const StoreProblem& problem : CheckModuleStore(dataFolder, request.courseCode, request.module, papers)) {
        throw TaggedFileError((dataFolder / problem.file).string(), {},
                              problem.missing ? "the file is missing" : problem.reason);
    }
    paper.marks_ = ReadMarksLists(paper.File(ResultsFile::kMarks), papers);
    return paper;
}

std::filesystem::path OpenPaper::File(ResultsFile file) const {
    return ResultsFilePath(dataFolder_, file, request_.module, request_.courseCode);
}

int OpenPaper::QuestionOfSlot(int slot) const {
    int sum = 0;
    for (int q = 1; q <= QuestionCount(); ++q) {
        sum += PartsOf(q);
        if (sum >= slot) return q;
    }
    return 0;
}

int OpenPaper::QuestionId(int question) const {
    std::optional<long long> id = ParseInteger(catalogue_.questions[static_cast<std::size_t>(question)]);
    return id ? static_cast<int>(*id) : 0;
}

std::string OpenPaper::Caption() const {
    return request_.topicName + " - Paper " + std::to_string(request_.paperKey - 100 - request_.topicFirstSlot + 1);
}

const TextList& OpenPaper::firstAnswers() const {
    return request_.attempt == Attempt::kFirst ? answers_.values : firstAnswers_.values;
}

const TextList& OpenPaper::firstResults() const {
    return request_.attempt == Attempt::kFirst ? results_.values : firstResults_.values;
}

bool OpenPaper::Marked() const {
    const TextList& state = request_.attempt == Attempt::kFirst ? marks_.FST : marks_.SST;
    return ReadsAsOne(state[static_cast<std::size_t>(PaperSlot())]);
}

std::string OpenPaper::ScoreText() const {
    const TextList& score = request_.attempt == Attempt::kFirst ? marks_.FSE : marks_.SSE;
    return score[static_cast<std::size_t>(PaperSlot())];
}

std::string OpenPaper::TimeTakenText() const { return marks_.LTM[static_cast<std::size_t>(PaperSlot())]; }

std::string OpenPaper::CompletedDateText() const { return marks_.CDD[static_cast<std::size_t>(PaperSlot())]; }

bool OpenPaper::IsCarried(int slot) const {
    return request_.attempt == Attempt::kSecond && firstResults_.values[static_cast<std::size_t>(slot)] == kTickMark;
}

void OpenPaper::StoreAnswers(int question, const std::vector<std::string>& rows) {
    const int first = FirstSlotOf(question);
    const int parts = PartsOf(question);
    for (int k = 1; k <= parts && k <= static_cast<int>(rows.size()); ++k) SetAnswer(first + k - 1, rows[k - 1]);
}

void OpenPaper::SetAnswer(int slot, std::string answer) {
    answers_.values[static_cast<std::size_t>(slot)] = std::move(answer);
}

void OpenPaper::SaveAnswers() {
    ResultsFile file = request_.attempt == Attempt::kFirst ? ResultsFile::kFirst : ResultsFile::kSecond;
    StoreChange change(dataFolder_, request_.courseCode);
    change.Replace(File(file),
                   PaperLineBytes(File(file), answers_, answers_.values, request_.paperKey, request_.paperCount,
                                  SlotCount()),
                   std::to_string(request_.paperKey));
    change.Commit();
    SetPaperLine(answers_, answers_.values, request_.paperKey, SlotCount());
}

List<int> OpenPaper::RemainingQuestions() const {
    List<int> remaining;
    for (int i = 1; i <= SlotCount(); ++i) {
        if (!TrimSpaces(answers_.values[static_cast<std::size_t>(i)]).empty()) continue;
        int q = QuestionOfSlot(i);
        if (remaining.empty() || remaining[remaining.size()] != q) remaining.push_back(q);
    }
    return remaining;
}

int OpenPaper::AnsweredCount() const {
    int count = 0;
    for (const std::string& answer : answers_.values) count += answer.empty() ? 0 : 1;
    return count;
}

bool OpenPaper::HasUnansweredSlots() const {
    for (int i = 1; i <= SlotCount(); ++i) {
        if (!IsCarried(i) && answers_.values[static_cast<std::size_t>(i)].empty()) return true;
    }
    return false;
}

MarkOutcome OpenPaper::Mark(std::chrono::seconds elapsed, const std::string& dateText) {
    if (Marked()) return {0, ScoreText()};
    const TextList& keys = catalogue_.answerKey;
    const TextList& kinds = catalogue_.kinds;
    const TextList& given = answers_.values;
    TextList results(static_cast<std::size_t>(SlotCount()));
    double score = 0;
    for (std::size_t i = 1; i <= results.size(); ++i) {
        results[i] = IsGroupKind(kinds[i]) ? CheckGroupAnswer(given, keys, kinds, i)
                                           : CheckAnswer(given[i], keys[i], kinds[i]);
        if (results[i] == kTickMark) score = std::round(score + ParseNumber(catalogue_.marks[i]).value_or(0));
    }
    MarkOutcome outcome{static_cast<int>(score), PercentText(static_cast<long long>(score), catalogue_.totalMarks)};

    const std::size_t p = static_cast<std::size_t>(PaperSlot());
    MarksLists marks = marks_;
    // The results line, the marks file and (first attempt) the trend line
    // change as one: the marks file never says "marked" without the rest.
    StoreChange change(dataFolder_, request_.courseCode);
    if (request_.attempt == Attempt::kFirst) {
        // A date the marks file would not read back as one is not written.
        if (!IsStoredDate(dateText) || !IsStorableValue(dateText)) {
            throw TaggedFileError(File(ResultsFile::kMarks).string(), "CDD",
                                  "the date \"" + dateText + "\" cannot be stored");
        }
        marks.FSE[p] = outcome.percentText;
        marks.LTM[p] = ElapsedText(elapsed);
        marks.CDD[p] = dateText;
        marks.FST[p] = "1";
        change.Replace(File(ResultsFile::kTrend), TrendBytesWith(File(ResultsFile::kTrend), outcome.percentText),
                       "TRD");
    } else {
        marks.SSE[p] = outcome.percentText;
        marks.SST[p] = "1";
    }
    const ResultsFile resultsFile = request_.attempt == Attempt::kFirst ? ResultsFile::kFirstResults
                                                                        : ResultsFile::kSecondResults;
    change.Replace(File(resultsFile),
                   PaperLineBytes(File(resultsFile), results_, results, request_.paperKey, request_.paperCount,
                                  SlotCount()),
                   std::to_string(request_.paperKey));
    change.Replace(File(ResultsFile::kMarks), MarksBytes(File(ResultsFile::kMarks), marks, request_.paperCount),
                   "FST");
    change.Commit();
    SetPaperLine(results_, results, request_.paperKey, SlotCount());
    marks_ = std::move(marks);
    return outcome;
}

std::string OpenPaper::ModelAnswer(int slot) const {
    const std::string& key = catalogue_.answerKey[static_cast<std::size_t>(slot)];
    if (request_.attempt == Attempt::kFirst) return key;
    const std::string& kind = catalogue_.kinds[static_cast<std::size_t>(slot)];
    if (kind == "G") {
        return GroupModelAnswer(answers_.values, catalogue_.answerKey, catalogue_.kinds, static_cast<std::size_t>(slot));
    }
    if (kind == "M") {
        // The first accepted value: from the second character up to the next ";".
        std::size_t end = key.size() > 1 ? key.find(';', 1) : std::string::npos;
        if (end != std::string::npos) return key.substr(1, end - 1);
        return !key.empty() && key.front() == ';' ? key.substr(1) : key;
    }
    return key;
}

}  // namespace ep
