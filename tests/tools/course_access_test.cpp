// Every page of the shipped course as a screen reader gets it: each question
// page and worked solution extracted as the paper window extracts it, loaded
// in a web view, and read through the view's accessibility tree, which is
// what the web engine hands AT-SPI. No number may run into the next (a
// stacked fraction read as two numbers), no fraction or ratio may be left to
// a slash or a colon, and every picture has its text (a decorative one is
// marked so, and stays out of the tree). Several views read at once: the
// engine waits a while before it hands over a page's tree.

#include <QAccessible>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <QtTest>
#include <functional>
#include <memory>

#include "course.h"
#include "qt_resources.h"
#include "resources.h"
#include "web_archive.h"

namespace {

// The program turns this on in its main; the web engine reads it as it starts.
const bool kPagesForScreenReaders = qputenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");

constexpr int kViews = 8;
constexpr int kPageTimeout = 30000;

QString Decoded(QString text) {
    return text.replace(QStringLiteral("&quot;"), QStringLiteral("\""))
        .replace(QStringLiteral("&#39;"), QStringLiteral("'"))
        .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
        .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
        .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
}

// What the page's source says it holds: its title (the document's name once
// it is read), the paper line under its heading, and its pictures' texts.
struct PageFacts {
    QString name;        // the page, for the problems found
    QString title;
    QString paperLine;   // "" when the page has none
    QStringList alts;    // every picture with a text, in order
    int decorative = 0;  // pictures marked alt=""
    QStringList problems;  // what the source alone shows
};

PageFacts FactsOf(const QString& name, const QString& html) {
    PageFacts facts;
    facts.name = name;
    facts.title = Decoded(QRegularExpression(QStringLiteral("<title>(.*?)</title>")).match(html).captured(1));
    facts.paperLine =
        Decoded(QRegularExpression(QStringLiteral("<span class=\"paper\">(.*?)</span>")).match(html).captured(1));
    QRegularExpressionMatchIterator images = QRegularExpression(QStringLiteral("<img\\b[^>]*>")).globalMatch(html);
    while (images.hasNext()) {
        const QString tag = images.next().captured(0);
        const QRegularExpressionMatch alt = QRegularExpression(QStringLiteral("\\balt=\"([^\"]*)\"")).match(tag);
        if (!alt.hasMatch()) {
            facts.problems << QStringLiteral("a picture has no alt text: %1").arg(tag);
        } else if (alt.captured(1).trimmed().isEmpty()) {
            ++facts.decorative;
        } else {
            facts.alts << Decoded(alt.captured(1));
        }
    }
    return facts;
}

using Iface = QAccessibleInterface*;

void Walk(Iface node, const std::function<void(Iface)>& visit, int depth = 0) {
    if (!node || depth > 100) return;
    visit(node);
    for (int c = 0; c < node->childCount(); ++c) Walk(node->child(c), visit, depth + 1);
}

// The page's document in a view's tree, once it is the page of `facts`.
Iface ReadyDocument(QWebEngineView* view, const PageFacts& facts) {
    Iface document = nullptr;
    Walk(QAccessible::queryAccessibleInterface(view), [&](Iface node) {
        if (!document && node->role() == QAccessible::WebDocument) document = node;
    });
    if (!document || document->text(QAccessible::Name) != facts.title) return nullptr;
    if (facts.paperLine.isEmpty()) return document;
    // Titles repeat from paper to paper: the paper line tells the page.
    bool paper = false;
    Walk(document, [&](Iface node) {
        paper = paper || (node->role() == QAccessible::StaticText && node->text(QAccessible::Name) == facts.paperLine);
    });
    return paper ? document : nullptr;
}

// What a screen reader would read wrongly in the document's tree.
QStringList TreeProblems(Iface document, const PageFacts& facts) {
    // Spaces, no-break spaces included.
    static const QRegularExpression slash(QStringLiteral("\\d[\\s\\x{a0}]*/[\\s\\x{a0}]*\\d"));
    static const QRegularExpression colon(QStringLiteral("\\d[\\s\\x{a0}]*:[\\s\\x{a0}]*\\d"));
    QStringList problems = facts.problems;
    QStringList pictures;
    Walk(document, [&](Iface node) {
        if (node->role() == QAccessible::Graphic) pictures << node->text(QAccessible::Name);
        // Text side by side in one block is read straight on.
        QString before;
        for (int c = 0; c < node->childCount(); ++c) {
            Iface child = node->child(c);
            if (child->role() != QAccessible::StaticText) {
                before.clear();
                continue;
            }
            const QString text = child->text(QAccessible::Name);
            const QString left = before.trimmed();
            const QString right = text.trimmed();
            if (!left.isEmpty() && !right.isEmpty() && left.back().isDigit() && right.front().isDigit()) {
                problems << QStringLiteral("two numbers read as one or side by side: \"%1\" then \"%2\"").arg(left, right);
            }
            if (text.contains(slash)) problems << QStringLiteral("a fraction read with its slash: \"%1\"").arg(text);
            if (text.contains(colon)) problems << QStringLiteral("a ratio read with its colon: \"%1\"").arg(text);
            before = text;
        }
    });
    for (const QString& picture : pictures) {
        if (picture.trimmed().isEmpty()) problems << QStringLiteral("a picture has no text");
    }
    if (pictures != facts.alts) {
        problems << QStringLiteral("pictures read [%1], the page has [%2] and %3 decorative")
                        .arg(pictures.join(QStringLiteral(" | ")), facts.alts.join(QStringLiteral(" | ")))
                        .arg(facts.decorative);
    }
    return problems;
}

// A page to read: a file to load and what its source says.
struct Page {
    QUrl url;
    QString html;  // or the page itself, set into the view
    PageFacts facts;
};

// Reads pages in several web views at once; each page's problems come back
// as "name: problem".
class Reader {
public:
    QStringList ReadAll(const std::function<std::optional<Page>(int)>& pageAt, int count) {
        QStringList problems;
        int next = 0, done = 0;
        struct Worker {
            QWebEngineView view;
            QTimer poll;
            QElapsedTimer started;
            Page page;
        };
        std::vector<std::unique_ptr<Worker>> workers;
        QEventLoop loop;
        std::function<void(Worker*)> start = [&](Worker* worker) {
            while (next < count) {
                std::optional<Page> page = pageAt(next++);
                if (!page) {
                    ++done;
                    continue;
                }
                worker->page = std::move(*page);
                worker->started.start();
                if (worker->page.html.isEmpty()) {
                    worker->view.load(worker->page.url);
                } else {
                    worker->view.setHtml(worker->page.html);
                }
                return;
            }
            if (done == count) loop.quit();
        };
        for (int i = 0; i < kViews; ++i) {
            auto worker = std::make_unique<Worker>();
            Worker* w = worker.get();
            w->view.resize(700, 500);
            w->view.show();
            w->poll.setInterval(10);
            QObject::connect(&w->view, &QWebEngineView::loadFinished, &w->view, [&, w](bool ok) {
                // The bus turns accessibility on once the engine runs, as here.
                if (!QAccessible::isActive()) QAccessible::setActive(true);
                if (!ok) problems << w->page.facts.name + QStringLiteral(": the page did not load");
                w->poll.start();
            });
            QObject::connect(&w->poll, &QTimer::timeout, &w->view, [&, w] {
                Iface document = ReadyDocument(&w->view, w->page.facts);
                if (!document && w->started.elapsed() < kPageTimeout) return;
                w->poll.stop();
                const QStringList found = document ? TreeProblems(document, w->page.facts)
                                                   : QStringList{QStringLiteral("its tree never came")};
                for (const QString& problem : found) problems << w->page.facts.name + QStringLiteral(": ") + problem;
                if (w->page.url.isLocalFile()) QFile::remove(w->page.url.toLocalFile());
                ++done;
                start(w);
            });
            workers.push_back(std::move(worker));
        }
        for (auto& worker : workers) start(worker.get());
        if (done < count) loop.exec();
        return problems;
    }
};

// A page set in the course's own frame and style, for the checker's own test.
QString Framed(const QString& body) {
    return QStringLiteral("<!DOCTYPE html><html lang=\"en\"><head><meta charset=\"utf-8\"/><title>Checker</title>"
                          "<style>.sr { position: absolute; width: 1px; height: 1px; overflow: hidden;"
                          " clip: rect(0 0 0 0); clip-path: inset(50%); white-space: nowrap; }"
                          ".frac { display: inline-flex; flex-direction: column; }</style></head>"
                          "<body><main>%1</main></body></html>")
        .arg(body);
}

}  // namespace

class CourseAccessTest : public QObject {
    Q_OBJECT

private:
    ep::QtResources resources_;
    QTemporaryDir folder_;

private slots:
    void initTestCase() {
        QVERIFY(kPagesForScreenReaders);
        QVERIFY(folder_.isValid());
    }

    // The checker finds what a screen reader would read wrongly, and lets
    // the page's own forms pass.
    void theCheckerFindsWhatReadsWrongly_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("problem");  // "" for none
        const QString good = QStringLiteral(
            "<span class=\"frac\"><span class=\"num\" aria-hidden=\"true\">1</span>"
            "<span class=\"den\" aria-hidden=\"true\">5</span><span class=\"sr\">1 over 5</span></span>");
        QTest::newRow("a fraction said whole") << QStringLiteral("<p>7 ÷ %1 = ?</p>").arg(good) << QString();
        QTest::newRow("a ratio said whole")
            << QStringLiteral("<p><span aria-hidden=\"true\">2 : 3</span><span class=\"sr\">2 to 3</span></p>")
            << QString();
        QTest::newRow("numbers apart, a table")
            << QStringLiteral("<p>93,827 &#160; 93,287</p><table><tr><td>12</td><td>15</td></tr></table>")
            << QString();
        QTest::newRow("a picture with its text")
            << QStringLiteral("<p><img src=\"x.svg\" alt=\"A square with sides of 13 cm\"/>"
                              "<img src=\"y.svg\" alt=\"\"/></p>")
            << QString();
        QTest::newRow("a stacked fraction with no words")
            << QStringLiteral("<p>7 ÷ <span class=\"frac\"><span class=\"num\">1</span>"
                              "<span class=\"den\">5</span></span> = ?</p>")
            << QStringLiteral("two numbers");
        QTest::newRow("its digits not hidden")
            << QStringLiteral("<p>7 ÷ <span class=\"frac\"><span class=\"num\">1</span><span class=\"den\">5</span>"
                              "<span class=\"sr\">1 over 5</span></span></p>")
            << QStringLiteral("two numbers");
        QTest::newRow("a whole number beside its fraction")
            << QStringLiteral("<p>It is 3%1 m long.</p>").arg(good) << QStringLiteral("two numbers");
        QTest::newRow("a mixed number typed") << QStringLiteral("<p>Answer: 1 1/4</p>") << QStringLiteral("slash");
        QTest::newRow("a ratio typed") << QStringLiteral("<p>Answer: 3:7</p>") << QStringLiteral("colon");
        QTest::newRow("a ratio on one line") << QStringLiteral("<p>in the ratio 3&#160;:&#160;7</p>")
                                             << QStringLiteral("colon");
        QTest::newRow("a picture without text") << QStringLiteral("<p><img src=\"x.svg\"/></p>")
                                                << QStringLiteral("no alt text");
        QTest::newRow("a picture hidden from readers")
            << QStringLiteral("<p aria-hidden=\"true\"><img src=\"x.svg\" alt=\"A square\"/></p>")
            << QStringLiteral("pictures read");
    }

    void theCheckerFindsWhatReadsWrongly() {
        QFETCH(QString, body);
        QFETCH(QString, problem);
        const QString html = Framed(body);
        Reader reader;
        const QStringList found = reader.ReadAll(
            [&](int) { return std::optional<Page>(Page{{}, html, FactsOf(QStringLiteral("page"), html)}); }, 1);
        if (problem.isEmpty()) {
            QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
        } else {
            QVERIFY2(found.join(u'\n').contains(problem), qPrintable(found.join(u'\n')));
        }
    }

    void everyPageOfTheCourseReadsWhole() {
        // Paper lists straight from the catalogue resource: one line per paper.
        std::optional<std::string> list = resources_.Load(ep::PaperListResource(2), ep::kCustomType);
        QVERIFY(list);
        QList<int> ids;
        for (const QString& line : QString::fromStdString(*list).split(QStringLiteral("\r\n"))) {
            const QStringList values = line.split(QLatin1Char('>'));
            if (values.size() < 2 || !line.startsWith(QLatin1Char('#'))) continue;
            for (int i = 1; i < values.size(); ++i) ids << values[i].toInt();
        }
        QCOMPARE(ids.size(), 1410);
        QList<int> pages = ids;
        for (int id : ids) pages << id + 20000;  // its worked solution

        QStringList unread;
        auto pageAt = [&](int index) -> std::optional<Page> {
            const int id = pages[index];
            const QString name = QString::number(id);
            const QString file = QDir(folder_.path()).filePath(QStringLiteral("temppaper%1.mht").arg(id));
            std::optional<std::string> bytes = resources_.Load(id, ep::kCustomType);
            std::string error;
            std::optional<ep::coursetool::WebArchive> archive =
                bytes ? ep::coursetool::ParseWebArchive(*bytes, error) : std::nullopt;
            if (!archive || archive->parts.empty() ||
                ep::ExtractResource(resources_, id, ep::kCustomType, file.toStdString()) != 0) {
                unread << name;
                return std::nullopt;
            }
            return Page{QUrl::fromLocalFile(file), {}, FactsOf(name, QString::fromStdString(archive->parts[0].body))};
        };
        Reader reader;
        const QStringList problems = reader.ReadAll(pageAt, static_cast<int>(pages.size()));
        QVERIFY2(unread.isEmpty(), qPrintable(QStringLiteral("pages that cannot be read: ") + unread.join(u' ')));
        QVERIFY2(problems.isEmpty(), qPrintable(QStringLiteral("%1 problems, the first:\n").arg(problems.size()) +
                                                problems.mid(0, 30).join(u'\n')));
    }
};

QTEST_MAIN(CourseAccessTest)
#include "course_access_test.moc"
