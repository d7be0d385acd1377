#pragma once

// For the end-to-end journeys: a pupil who answers the program's pop-ups and
// message boxes through their buttons, the program on the pupil's desk with
// clicks that wait for everything they start (a modal question, the marking
// animation), and a model of the results store that every file on disk is
// checked against.

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "contents.h"
#include "course.h"
#include "home_page.h"
#include "paper_window.h"
#include "popup.h"
#include "qt_resources.h"
#include "results_store.h"

// A helper's QVERIFY returns from the helper only: stop the caller as well.
#define STEP(call)                                  \
    do {                                            \
        call;                                       \
        if (QTest::currentTestFailed()) return;     \
    } while (false)

namespace ep::e2e {

inline std::string Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string TemplateBytes(ResultsFile file) {
    return QtResources().Load(TemplateResource(file, 2), kCustomType).value_or("(no template)");
}

// Answers, in turn, every pop-up and message box that shows while it lives,
// by clicking their buttons: "Yes" and "OK" the first button, "No" the
// second. A pop-up is noted as "title|message|OK" or "title|message|Yes/No",
// a message box as "box|title|text|informative text". A question with no
// reply left is answered "No".
class Pupil : public QObject {
public:
    explicit Pupil(QStringList replies = {}) : replies_(std::move(replies)) {
        connect(&timer_, &QTimer::timeout, this, &Pupil::Poll);
        timer_.start(10);
    }
    void Reply(const QStringList& replies) { replies_ += replies; }
    QStringList seen;

private:
    void Poll() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (!widget->isVisible() || widget->property("e2eAnswered").toBool()) continue;
            if (auto* pop = qobject_cast<frmPopUp*>(widget)) {
                widget->setProperty("e2eAnswered", true);
                const bool question = !pop->But2->isHidden();
                seen << pop->lblTitle->text() + QLatin1Char('|') + pop->lblMessage->text() + QLatin1Char('|') +
                            (question ? QStringLiteral("Yes/No") : QStringLiteral("OK"));
                const QString reply = replies_.isEmpty() ? QStringLiteral("No") : replies_.takeFirst();
                QTest::mouseClick(question && reply == QLatin1String("No") ? pop->But2 : pop->But1, Qt::LeftButton);
            } else if (auto* box = qobject_cast<QMessageBox*>(widget)) {
                widget->setProperty("e2eAnswered", true);
                seen << QStringLiteral("box|") + box->windowTitle() + QLatin1Char('|') + box->text() +
                            QLatin1Char('|') + box->informativeText();
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
            }
        }
    }
    QStringList replies_;
    QTimer timer_;
};

// Clicks `widget` from the event loop, so that what the click starts (a
// modal pop-up, the marking animation) runs while the caller waits with
// QTRY_*; the flag turns true once the click has done all it does.
inline std::shared_ptr<bool> ClickLater(QWidget* widget) {
    auto done = std::make_shared<bool>(false);
    QTimer::singleShot(0, widget, [widget, done] {
        QTest::mouseClick(widget, Qt::LeftButton);
        *done = true;
    });
    return done;
}

inline const QStringList kNotAll{
    "Marking|You have not answered all the questions.  Do you still want to mark your practice?|Yes/No"};
inline constexpr int kMarkingTimeout = 30000;  // the question, then the 3 s animation

// The program on the pupil's desk: its home window over a data folder and
// the paper window open, and what the pupil does with them.
class Desk {
public:
    explicit Desk(QString folder) : folder_(std::move(folder)) {}

    // Starts the program as its main does; `said` is every pop-up and
    // message box of the start, answered in turn with `replies`, then OK.
    void Start(const QStringList& said = {}, const QStringList& replies = {}) {
        Pupil pupil(replies + QStringList{QStringLiteral("OK"), QStringLiteral("OK")});
        home = Contents::Start(resources_, folder_);
        QVERIFY(home);
        home->show();
        QVERIFY(QTest::qWaitForWindowExposed(home.get()));
        QCOMPARE(pupil.seen, said);
    }
    // Starts the program, answering the start's questions with `replies`
    // (then OK); `said` is every pop-up and message box it showed.
    void StartAnswering(const QStringList& replies, QStringList& said) {
        Pupil pupil(replies + QStringList{QStringLiteral("OK"), QStringLiteral("OK")});
        home = Contents::Start(resources_, folder_);
        QVERIFY(home);
        home->show();
        QVERIFY(QTest::qWaitForWindowExposed(home.get()));
        said = pupil.seen;
    }
    // The toolbar's "Close": the program ends.
    void Quit() {
        QTest::mouseClick(home->lblTB[3], Qt::LeftButton);
        QVERIFY(!home->isVisible());
        home.reset();
    }

    HomePage* Page() const { return home->Body_Home; }
    AnswerBox* Box(int row) const { return paper->AnsBox->FA[static_cast<std::size_t>(row)]; }
    int Shown() const { return paper->QSCount.toInt(); }

    // Opens a paper through a Home page control and finds its window.
    void Load(QWidget* control) {
        QTest::mouseClick(control, Qt::LeftButton);
        paper = home->paperWindow();
        QVERIFY(paper);
        QVERIFY(paper->isVisible());
    }
    // Moves with Next and Back, as the pupil would, to question n.
    void GoTo(int n) {
        for (int guard = 0; Shown() != n && guard < 60; ++guard) {
            QTest::mouseClick(Shown() < n ? paper->ToolBar06 : paper->ToolBar05, Qt::LeftButton);
        }
        QCOMPARE(Shown(), n);
        QCOMPARE(paper->QnTitle->text(), QStringLiteral("Question %1").arg(n));
    }
    // Clicks `control` and waits until all it started is over, answering
    // the pop-ups with `replies`; `seen` is what the pupil was shown.
    void Press(QWidget* control, const QStringList& replies, QStringList& seen) {
        Pupil pupil(replies);
        std::shared_ptr<bool> done = ClickLater(control);
        QTRY_VERIFY_WITH_TIMEOUT(*done, kMarkingTimeout);
        seen = pupil.seen;
    }
    // Clicks Close and answers "Confirm?" with Yes.
    void ClosePaper(QWidget* control) {
        QStringList seen;
        STEP(Press(control, {QStringLiteral("Yes")}, seen));
        QCOMPARE(seen, QStringList{"Close Practice|Confirm?|Yes/No"});
        QTRY_VERIFY(paper.isNull());
        QVERIFY(!home->paperWindow());
    }
    // Clicks Mark, answers the marking question with Yes and waits for the
    // animation to end; `asked` is what the pupil must have been asked.
    void Mark(QWidget* control, const QStringList& asked) {
        bool barsSeen = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] { barsSeen = barsSeen || (paper && paper->fmeMark->isVisible()); });
        watch.start(20);
        QStringList seen;
        STEP(Press(control, {QStringLiteral("Yes")}, seen));
        QCOMPARE(seen, asked);
        QVERIFY(barsSeen);
        QVERIFY(paper->fmeMark->isHidden());
        QCOMPARE(paper->Status, QStringLiteral("1"));
    }

    // After a step that failed half-way: no window is left behind.
    void Clear() {
        delete paper.data();
        home.reset();
    }

    std::unique_ptr<Contents> home;
    QPointer<PaperWindow> paper;

private:
    QString folder_;
    QtResources resources_;
};

// A percentage of whole marks with one decimal, halves to the even digit, in
// its shortest form ("66.7", "50"), worked out exactly in tenths.
inline long long TenthsOf(long long marks, long long total) {
    const long long scaled = marks * 1000;
    long long tenths = scaled / total;
    const long long twiceRest = 2 * (scaled % total);
    if (twiceRest > total || (twiceRest == total && tenths % 2 == 1)) ++tenths;
    return tenths;
}
inline std::string TenthsText(long long tenths) {
    std::string text = std::to_string(tenths / 10);
    if (tenths % 10 != 0) text += "." + std::to_string(tenths % 10);
    return text;
}
inline std::string PercentText(long long marks, long long total) { return TenthsText(TenthsOf(marks, total)); }
// The mean of scores held in tenths, rounded as above.
inline std::string MeanText(const std::vector<long long>& tenths) {
    long long sum = 0;
    for (long long t : tenths) sum += t;
    const long long n = static_cast<long long>(tenths.size());
    long long mean = sum / n;
    const long long twiceRest = 2 * (sum % n);
    if (twiceRest > n || (twiceRest == n && mean % 2 == 1)) ++mean;
    return TenthsText(mean);
}

inline const std::string kTick = "\xFC";   // as the files hold them
inline const std::string kCross = "\xFB";

// What the six results files of module 2 should hold: the templates, with
// the lines and values the journey has changed. Checked by a reader of its
// own, byte for byte, not by the program's.
class StoreModel {
public:
    StoreModel(std::filesystem::path folder, std::string code) : folder_(std::move(folder)), code_(std::move(code)) {
        Reset();
    }

    // Every file back at its template.
    void Reset() {
        lines_.clear();
        for (std::size_t k = 0; k < marks_.size(); ++k) marks_[k] = TemplateValues("#" + std::string(kMarksKeys[k]) + "#");
        trend_.clear();
    }
    // Paper `key`'s line of a per-paper file, as bytes.
    void SetLine(ResultsFile file, int key, const std::vector<std::string>& values) {
        std::string line = "#" + std::to_string(key) + "#";
        for (const std::string& v : values) line += ">" + v;
        lines_[file][key] = line;
    }
    // A marks-file value: key "FSE".."SST", paper slot 1..50.
    void SetMark(std::string_view key, int slot, const std::string& value) {
        for (std::size_t k = 0; k < kMarksKeys.size(); ++k) {
            if (kMarksKeys[k] == key) marks_[k][static_cast<std::size_t>(slot - 1)] = value;
        }
    }
    void AddTrend(const std::string& score) { trend_.push_back(score); }

    std::filesystem::path Path(ResultsFile file) const { return ResultsFilePath(folder_, file, 2, code_); }

    // "" when every file holds what it should, else what differs.
    QString Mismatch() const {
        QStringList problems;
        for (ResultsFile file : kResultsFiles) {
            const std::string name = ResultsFileName(file, 2, code_);
            const std::string bytes = Bytes(Path(file));
            if (!std::filesystem::is_regular_file(Path(file))) {
                problems << QString::fromStdString(name + " is missing");
                continue;
            }
            if (file == ResultsFile::kMarks) {
                for (std::size_t k = 0; k < kMarksKeys.size(); ++k) {
                    const std::string tag = "#" + std::string(kMarksKeys[k]) + "#";
                    const std::vector<std::string> values = Values(LineWith(bytes, tag), tag);
                    if (values != marks_[k]) {
                        problems << QString::fromStdString(name + " " + tag + " is " + Join(values) + " instead of " +
                                                           Join(marks_[k]));
                    }
                }
            } else if (file == ResultsFile::kTrend) {
                const std::vector<std::string> values = Values(LineWith(bytes, "#TRD#"), "#TRD#");
                if (values != trend_) problems << QString::fromStdString(name + " holds " + Join(values) + " instead of " + Join(trend_));
            } else {
                for (int key = 101; key <= 150; ++key) {
                    const std::string tag = "#" + std::to_string(key) + "#";
                    auto changed = lines_.find(file);
                    const std::string want = changed != lines_.end() && changed->second.count(key)
                                                 ? changed->second.at(key)
                                                 : LineWith(TemplateBytes(file), tag);
                    const std::string got = LineWith(bytes, tag);
                    if (got != want) problems << QString::fromLatin1((name + " line " + got + " instead of " + want).c_str());
                }
            }
            if (!Whole(bytes)) problems << QString::fromStdString(name + " is not whole lines");
        }
        return problems.join(QLatin1Char('\n'));
    }

    // Files in the folder besides the six results files, "Graphics" and the backups.
    QStringList Strays() const {
        std::set<std::string> known{"Graphics", "backups"};
        for (ResultsFile file : kResultsFiles) known.insert(ResultsFileName(file, 2, code_));
        QStringList strays;
        for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
            const std::string name = entry.path().filename().string();
            if (!known.count(name)) strays << QString::fromStdString(name);
        }
        strays.sort();
        return strays;
    }

    // Every file byte for byte its template.
    QString NotTemplates() const {
        QStringList problems;
        for (ResultsFile file : kResultsFiles) {
            if (Bytes(Path(file)) != TemplateBytes(file)) problems << QString::fromStdString(Path(file).filename().string());
        }
        return problems.join(QLatin1Char(' '));
    }

    // The line that starts with `tag`, without its line end; "(none)" or
    // "(twice)" when there is not exactly one.
    static std::string LineWith(const std::string& bytes, const std::string& tag) {
        std::string found = "(none)";
        std::size_t start = 0;
        while (start < bytes.size()) {
            std::size_t end = bytes.find("\r\n", start);
            if (end == std::string::npos) end = bytes.size();
            const std::string line = bytes.substr(start, end - start);
            if (line.rfind(tag, 0) == 0) found = found == "(none)" ? line : "(twice)";
            start = end + 2;
        }
        return found;
    }

private:
    static std::vector<std::string> Values(const std::string& line, const std::string& tag) {
        std::vector<std::string> values;
        if (line.rfind(tag, 0) != 0) return {"(no line)"};
        std::size_t at = tag.size();
        while (at < line.size()) {
            if (line[at] != '>') return {"(bad line)"};
            const std::size_t next = line.find('>', at + 1);
            values.push_back(line.substr(at + 1, (next == std::string::npos ? line.size() : next) - at - 1));
            at = next == std::string::npos ? line.size() : next;
        }
        return values;
    }
    std::vector<std::string> TemplateValues(const std::string& tag) const {
        return Values(LineWith(TemplateBytes(ResultsFile::kMarks), tag), tag);
    }
    static std::string Join(const std::vector<std::string>& values) {
        std::string text;
        for (const std::string& v : values) text += ">" + v;
        return text;
    }
    // Only CR LF line ends, and every line but a last one without its end
    // is complete: nothing of a half-written file.
    static bool Whole(const std::string& bytes) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
            if (bytes[i] == '\r' && (i + 1 >= bytes.size() || bytes[i + 1] != '\n')) return false;
        }
        return true;
    }

    std::filesystem::path folder_;
    std::string code_;
    std::map<ResultsFile, std::map<int, std::string>> lines_;
    std::array<std::vector<std::string>, 6> marks_;
    std::vector<std::string> trend_;
};

inline QString Key(const PaperCatalogue& catalogue, int slot) {
    return QString::fromStdString(catalogue.answerKey[static_cast<std::size_t>(slot)]);
}

// A paper's catalogue, read from the built-in course in a folder of its own.
inline PaperCatalogue Catalogue(int paperKey) {
    QTemporaryDir scratch;
    return LoadPaperCatalogue(QtResources(), scratch.path().toStdString(), 2, std::to_string(paperKey));
}

}  // namespace ep::e2e
