// Question pages as the paper window shows them: extracted from the program's
// resources to a .mht file and loaded into a web view. A sample of every
// topic, and every page with a picture of the paper that has the most.
#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>

#include "course.h"
#include "qt_resources.h"
#include "resources.h"
#include "web_archive.h"

namespace {

struct Sample {
    int id;
    int pictures;
    QString text;  // the question's words, as the archive holds them
};

// What the page says, with marks, answer lines and option numbers dropped:
// the words that must reach the screen whatever the layout.
QString QuestionWords(const std::string& html) {
    QString text = QString::fromStdString(ep::coursetool::PageText(html));
    int cut = text.indexOf(QStringLiteral("Answer:"));
    if (cut > 0) text.truncate(cut);
    text.remove(QRegularExpression(QStringLiteral("\\[\\d marks?\\]")));
    return text.simplified();
}

QString Flatten(QString text) {
    // Marks float beside the text, and stacked fractions read "3\n4" on
    // screen and "3/4" in the archive: compare the words alone.
    text.remove(QRegularExpression(QStringLiteral("\\[\\d marks?\\]")));
    return text.remove(QRegularExpression(QStringLiteral("[^A-Za-z]"))).toLower();
}

// Runs a script in the page and waits for its result. Archived pages run no
// scripts of their own, so it runs in the application's world.
QVariant Evaluate(QWebEnginePage* page, const QString& script) {
    QVariant value;
    bool done = false;
    page->runJavaScript(script, QWebEngineScript::ApplicationWorld, [&](const QVariant& result) {
        value = result;
        done = true;
    });
    QElapsedTimer guard;
    guard.start();
    while (!done && guard.elapsed() < 30000) QTest::qWait(20);
    return value;
}

}  // namespace

class CoursePagesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void pageLoadsAndShowsItsQuestion_data();
    void pageLoadsAndShowsItsQuestion();

private:
    std::optional<Sample> Read(int id);
    ep::QtResources resources_;
    QTemporaryDir folder_;
    QList<Sample> samples_;
};

std::optional<Sample> CoursePagesTest::Read(int id) {
    std::optional<std::string> bytes = resources_.Load(id, ep::kCustomType);
    if (!bytes) return std::nullopt;
    std::string error;
    auto archive = ep::coursetool::ParseWebArchive(*bytes, error);
    if (!archive) return std::nullopt;
    return Sample{id, static_cast<int>(archive->parts.size()) - 1, QuestionWords(archive->parts[0].body)};
}

void CoursePagesTest::initTestCase() {
    QVERIFY(folder_.isValid());
    // Paper lists straight from the catalogue resource: one line per paper.
    std::optional<std::string> list = resources_.Load(ep::PaperListResource(2), ep::kCustomType);
    QVERIFY(list);
    QMap<int, QList<int>> papers;
    for (const QString& line : QString::fromStdString(*list).split(QStringLiteral("\r\n"))) {
        QStringList values = line.split(QLatin1Char('>'));
        if (values.size() < 2 || !line.startsWith(QLatin1Char('#'))) continue;
        int paper = values[0].mid(1, 3).toInt();
        for (int i = 1; i < values.size(); ++i) papers[paper].append(values[i].toInt());
    }
    QCOMPARE(papers.size(), 50);
    QList<int> ids;
    // First, middle and last question of each topic's first paper.
    for (int topic = 0; topic < 10; ++topic) {
        const QList<int>& qs = papers[101 + 5 * topic];
        ids << qs.first() << qs[qs.size() / 2] << qs.last();
    }
    int best = 0, bestCount = -1;
    for (auto it = papers.cbegin(); it != papers.cend(); ++it) {
        int count = 0;
        for (int id : it.value()) {
            std::optional<Sample> s = Read(id);
            if (s && s->pictures > 0) ++count;
        }
        if (count > bestCount) best = it.key(), bestCount = count;
    }
    QVERIFY2(bestCount > 0, "no paper has a picture");
    for (int id : papers[best]) {
        std::optional<Sample> s = Read(id);
        if (s && s->pictures > 0 && !ids.contains(id)) ids << id;
    }
    for (int id : ids) {
        std::optional<Sample> s = Read(id);
        QVERIFY2(s, qPrintable(QStringLiteral("page %1 cannot be read").arg(id)));
        samples_ << *s;
    }
}

void CoursePagesTest::pageLoadsAndShowsItsQuestion_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < samples_.size(); ++i) {
        QTest::newRow(qPrintable(QString::number(samples_[i].id))) << i;
    }
}

void CoursePagesTest::pageLoadsAndShowsItsQuestion() {
    QFETCH(int, index);
    const Sample& sample = samples_[index];
    QString file = QDir(folder_.path()).filePath(QStringLiteral("temppaper%1.mht").arg(sample.id));
    QCOMPARE(ep::ExtractResource(resources_, sample.id, ep::kCustomType, file.toStdString()), 0);

    QWebEngineView view;
    view.resize(700, 500);
    view.show();
    QSignalSpy loaded(&view, &QWebEngineView::loadFinished);
    view.load(QUrl::fromLocalFile(file));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 30000);
    QVERIFY2(loaded.first().first().toBool(), "the page did not load");

    // What a sighted pupil reads: the words a screen reader says in place of
    // a stacked fraction take no room on the page.
    const QString shown = Evaluate(view.page(), QStringLiteral(
        "(() => { const b = document.body.cloneNode(true);"
        " b.querySelectorAll('.sr').forEach(e => e.remove()); return b.textContent; })()")).toString();
    QVERIFY2(Flatten(shown).contains(Flatten(sample.text)),
             qPrintable(QStringLiteral("shown: %1\nexpected: %2").arg(shown.simplified(), sample.text)));

    // Every picture is in the archive and drawn: none broken. Pictures may
    // finish decoding after the page reports it has loaded.
    const QString drawn = QStringLiteral(
        "Array.from(document.images).filter(i => i.complete && i.naturalWidth > 0).length");
    QTRY_COMPARE_WITH_TIMEOUT(Evaluate(view.page(), drawn).toInt(), sample.pictures, 30000);
    QCOMPARE(Evaluate(view.page(), QStringLiteral("document.images.length")).toInt(), sample.pictures);
}

QTEST_MAIN(CoursePagesTest)
#include "course_pages_test.moc"
