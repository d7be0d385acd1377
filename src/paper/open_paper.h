#pragma once

// The state of one open paper, as the first- and second-attempt windows hold
// it: the paper's catalogue, the pupil's answers and results of the attempt,
// the module's marks, and the files they live in. Standard C++ only, so the
// paper's whole life (load, answer, save, mark, reopen) is tested without a
// window.

#include <chrono>
#include <filesystem>
#include <string>

#include "course.h"
#include "list.h"
#include "resources.h"
#include "results_store.h"

namespace ep {

enum class Attempt { kFirst = 1, kSecond = 2 };

// What a paper window reads from the home window's fields when it opens.
struct PaperRequest {
    int module = 0;           // LChose
    std::string courseCode;   // lblCOD
    int paperCount = 0;       // TtPapersCon
    int topicFirstSlot = 1;   // TopicCount: slot of the chosen topic's first paper
    int paperKey = 0;         // PaperNum, 101..150
    std::string topicName;    // SubH1
    Attempt attempt = Attempt::kFirst;
};

inline constexpr int kSheetRows = 20;

// What marking recorded.
struct MarkOutcome {
    int score = 0;             // whole marks of the ticked slots
    std::string percentText;   // as shown and stored: "66.7"
};

class OpenPaper {
public:
    // Reads everything the paper needs, in the order a paper window loads:
    // the catalogue (through the data folder's temporary file), then the
    // attempt's per-paper lines and the marks file. A second attempt carries
    // over, in memory, every slot that was right the first time. Any file that
    // cannot be read, or does not fit the paper, is a TaggedFileError.
    static OpenPaper Load(const ResourceSource& resources, const std::filesystem::path& dataFolder,
                          const PaperRequest& request);

    const PaperRequest& request() const { return request_; }
    const PaperCatalogue& catalogue() const { return catalogue_; }
    int QuestionCount() const { return catalogue_.QuestionCount(); }
    int SlotCount() const { return catalogue_.slotCount; }
    int PartsOf(int question) const { return catalogue_.parts[static_cast<std::size_t>(question)]; }
    int FirstSlotOf(int question) const { return catalogue_.FirstSlotOf(question); }
    int QuestionOfSlot(int slot) const;
    int QuestionId(int question) const;

    // "Fractions - Paper 2": the paper's number within its topic.
    std::string Caption() const;

    // This attempt's answers and results, one per slot; results are "" before marking.
    const TextList& answers() const { return answers_.values; }
    const TextList& results() const { return results_.values; }
    // The first attempt's, which a second attempt shows beside its own.
    const TextList& firstAnswers() const;
    const TextList& firstResults() const;
    const MarksLists& marks() const { return marks_; }

    // True once this attempt is marked (FST, or SST for a second attempt).
    bool Marked() const;
    // The recorded score of this attempt ("" before marking), and for a first
    // attempt its time taken and date.
    std::string ScoreText() const;
    std::string TimeTakenText() const;
    std::string CompletedDateText() const;

    // A second-attempt slot that was right the first time: shown locked, never typed.
    bool IsCarried(int slot) const;

    // Copies the answer boxes of `question` (row k is its k-th slot) into the
    // answers list; rows past the question's slots are ignored.
    void StoreAnswers(int question, const std::vector<std::string>& rows);
    void SetAnswer(int slot, std::string answer);

    // Writes the answers list to this paper's line of the attempt's answers
    // file, as one change of the store.
    void SaveAnswers();

    // Questions with at least one empty slot (spaces count as empty), ascending.
    List<int> RemainingQuestions() const;
    // Non-empty entries of the answers list.
    int AnsweredCount() const;
    // Whether marking must warn that not everything is answered: an empty
    // slot (a single space counts as an answer), carried slots aside.
    bool HasUnansweredSlots() const;

    // Judges every slot and records the attempt as one change of the store:
    // results line, marks file and, for a first attempt, the time taken, date
    // and trend line. The answers are saved before. Nothing in memory says
    // "marked" until the change is made, so a failed one can be retried.
    MarkOutcome Mark(std::chrono::seconds elapsed, const std::string& dateText);

    // The model answer a second attempt shows for a slot (the key, or for a
    // group the value still missing); a first attempt never shows one.
    std::string ModelAnswer(int slot) const;

private:
    OpenPaper() = default;
    std::filesystem::path File(ResultsFile file) const;
    int PaperSlot() const { return request_.paperKey - 100; }

    PaperRequest request_;
    std::filesystem::path dataFolder_;
    PaperCatalogue catalogue_;
    PaperLine answers_;        // "first", or "second" for a second attempt
    PaperLine results_;        // "fresults", or "sresults"
    PaperLine firstAnswers_;   // second attempt only
    PaperLine firstResults_;   // second attempt only
    MarksLists marks_;
};

}  // namespace ep
