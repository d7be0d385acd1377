#pragma once

// For the paper-window tests: answering the program's pop-ups and message
// boxes by code, and reading the files a window writes.

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "answer_sheet.h"
#include "paper_test_support.h"
#include "popup.h"
#include "results_store.h"
#include "tagged_file.h"

namespace ep::test {

// Answers the pop-ups that show while it lives, in order: "Yes" or "OK" press
// the first button, "No" the second. Each pop-up is noted as
// "title|message|OK" or "title|message|Yes/No", and "|note" after that when
// it shows a note under its message.
class PopUpScript : public QObject {
public:
    explicit PopUpScript(QStringList replies) : replies_(std::move(replies)) {
        connect(&timer_, &QTimer::timeout, this, &PopUpScript::Poll);
        timer_.start(10);
    }
    QStringList seen;

private:
    void Poll() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* pop = qobject_cast<frmPopUp*>(widget);
            if (!pop || !pop->isVisible() || pop->property("answered").toBool()) continue;
            pop->setProperty("answered", true);
            const bool question = !pop->But2->isHidden();
            seen << pop->lblTitle->text() + QLatin1Char('|') + pop->lblMessage->text() + QLatin1Char('|') +
                        (question ? QStringLiteral("Yes/No") : QStringLiteral("OK")) +
                    (pop->lblNote->isHidden() ? QString() : QLatin1Char('|') + pop->lblNote->text());
            const QString reply = replies_.isEmpty() ? QStringLiteral("No") : replies_.takeFirst();
            (reply == QLatin1String("No") ? pop->But2 : pop->But1)->click();
        }
    }
    QStringList replies_;
    QTimer timer_;
};

// Answers the pop-ups that show while it lives with the keyboard alone, as a
// pupil who cannot see the mouse does: each pop-up gets its keys in turn, sent
// to whatever has the focus. Each is noted as "title|message|focused button".
class PopUpKeys : public QObject {
public:
    explicit PopUpKeys(QList<QList<Qt::Key>> keys) : keys_(std::move(keys)) {
        connect(&timer_, &QTimer::timeout, this, &PopUpKeys::Poll);
        timer_.start(10);
    }
    QStringList seen;

private:
    void Poll() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* pop = qobject_cast<frmPopUp*>(widget);
            if (!pop || !pop->isVisible() || !pop->isActiveWindow() || pop->property("answered").toBool()) continue;
            QWidget* focus = QApplication::focusWidget();
            if (!focus || focus->window() != pop) continue;  // not settled yet
            pop->setProperty("answered", true);
            seen << pop->lblTitle->text() + QLatin1Char('|') + pop->lblMessage->text() + QLatin1Char('|') +
                        (focus == pop->But1 ? pop->But1_lbl->text() : focus == pop->But2 ? pop->But2_lbl->text()
                                                                                          : QStringLiteral("?"));
            const QList<Qt::Key> keys = keys_.isEmpty() ? QList<Qt::Key>{Qt::Key_Escape} : keys_.takeFirst();
            for (Qt::Key key : keys) QTest::keyClick(QApplication::focusWidget(), key);
        }
    }
    QList<QList<Qt::Key>> keys_;
    QTimer timer_;
};

// Closes every dialog (message box, print dialog) that shows while it lives,
// noting a message box as "title|text|informative text" and any other
// dialog by its class name.
class DialogCatcher : public QObject {
public:
    DialogCatcher() {
        connect(&timer_, &QTimer::timeout, this, &DialogCatcher::Poll);
        timer_.start(10);
    }
    QStringList seen;

private:
    void Poll() {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(widget);
            if (!dialog || !dialog->isVisible() || qobject_cast<frmPopUp*>(widget)) continue;
            if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
                seen << box->windowTitle() + QLatin1Char('|') + box->text() + QLatin1Char('|') + box->informativeText();
            } else {
                seen << QString::fromLatin1(dialog->metaObject()->className());
            }
            dialog->reject();
        }
    }
    QTimer timer_;
};

inline QString FileName(const QString& path) { return path.section(QLatin1Char('/'), -1); }

inline std::string Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Every file of a folder and its bytes, to show that nothing changed.
inline std::map<std::string, std::string> Snapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.is_regular_file()) files[entry.path().filename().string()] = Bytes(entry.path());
    }
    return files;
}

// The names of the question pages written into a folder.
inline QStringList PageFiles(const std::filesystem::path& folder) {
    QStringList pages;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("temppaper", 0) == 0) pages << QString::fromStdString(name);
    }
    return pages;
}

// What every paper-window test starts from: a course, a fresh data folder,
// a home window reduced to its fields, and the window under test.
template <class Window>
class PaperWindowFixture {
protected:
    std::unique_ptr<FolderResources> course_;
    std::unique_ptr<DataFolder> data_;
    std::unique_ptr<FakeHost> host_;
    QPointer<Window> window_;

    void UseCourse(const std::filesystem::path& folder) {
        course_ = std::make_unique<FolderResources>(folder);
        data_ = std::make_unique<DataFolder>(*course_);
        host_ = std::make_unique<FakeHost>(*course_, data_->folder());
    }
    void CloseAll() {
        delete window_.data();
        host_.reset();
        data_.reset();
        course_.reset();
    }
    std::filesystem::path File(ResultsFile file) const { return ResultsFilePath(data_->path(), file, 2, "FIX"); }
    std::string Line(ResultsFile file, int key) const {
        return ReadNumberedLines(File(file), 10)[static_cast<std::size_t>(key - 100)];
    }
    AnswerBox* Box(int row) const { return window_->AnsBox->FA[static_cast<std::size_t>(row)]; }
    // Takes and marks an attempt without a window, one list of answers per question.
    void Answer(int key, Attempt attempt, const std::vector<std::vector<std::string>>& questions,
                bool mark = true) const {
        OpenPaper paper = OpenPaper::Load(*course_, data_->path(), FixtureRequest(key, attempt));
        for (std::size_t q = 0; q < questions.size(); ++q) paper.StoreAnswers(static_cast<int>(q + 1), questions[q]);
        paper.SaveAnswers();
        if (mark) paper.Mark(std::chrono::seconds(125), "06/12/2026");
    }
    // Marks the open paper, answering the marking question `reply`.
    QStringList Mark(const QString& reply) const {
        PopUpScript pops({reply});
        window_->MarkPaper();
        return pops.seen;
    }
};

}  // namespace ep::test
