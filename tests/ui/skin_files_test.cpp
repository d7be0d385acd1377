#include "skin_files.h"

#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <iterator>
#include <map>

#include "qt_resources.h"

namespace fs = std::filesystem;

namespace {

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

fs::path Folder(const QTemporaryDir& dir) { return dir.path().toStdString(); }

// Bits per pixel from a BMP header.
int BmpBits(const std::string& bytes) {
    if (bytes.size() < 30 || bytes.compare(0, 2, "BM") != 0) return -1;
    return static_cast<unsigned char>(bytes[28]) | (static_cast<unsigned char>(bytes[29]) << 8);
}

}  // namespace

class SkinFilesTest : public QObject {
    Q_OBJECT

private slots:
    void listsEveryIdOnceInOrder() {
        const auto files = ep::SkinFiles();
        QCOMPARE(files.size(), std::size_t{92});
        int expected = 1;
        for (const ep::SkinFile& file : files) {
            if (expected == 38) expected = 41;  // 38..40 are not skin pictures
            QCOMPARE(file.id, expected);
            ++expected;
        }
        QCOMPARE(expected, 96);
    }

    void startWithNoGraphicsFolderWritesEveryPicture() {
        QTemporaryDir dir;
        // Neither the data folder nor its "Graphics" folder exists yet.
        const fs::path data = Folder(dir) / "program" / "data";
        QCOMPARE(ep::ExtractSkinGraphics(ep::QtResources(), data), 0);
        for (const ep::SkinFile& file : ep::SkinFiles()) {
            const fs::path written = data / "Graphics" / file.name;
            QVERIFY2(fs::exists(written), written.c_str());
            // The resource holds exactly the committed picture.
            QCOMPARE(Bytes(written), Bytes(fs::path(EP_SKIN_DIR) / file.name));
        }
        QCOMPARE(std::distance(fs::directory_iterator(data / "Graphics"), fs::directory_iterator()), 92);
    }

    void extractingTwiceLeavesTheSameFilesAndRepairsChangedOnes() {
        QTemporaryDir dir;
        QCOMPARE(ep::ExtractSkinGraphics(ep::QtResources(), Folder(dir)), 0);
        std::map<std::string, std::string> first;
        for (const auto& entry : fs::directory_iterator(Folder(dir) / "Graphics"))
            first[entry.path().filename().string()] = Bytes(entry.path());

        const fs::path damaged = Folder(dir) / "Graphics" / "button_on.bmp";
        std::ofstream(damaged, std::ios::binary | std::ios::trunc) << "not a picture";
        QCOMPARE(ep::ExtractSkinGraphics(ep::QtResources(), Folder(dir)), 0);

        std::map<std::string, std::string> second;
        for (const auto& entry : fs::directory_iterator(Folder(dir) / "Graphics"))
            second[entry.path().filename().string()] = Bytes(entry.path());
        QCOMPARE(second.size(), first.size());
        QVERIFY(second == first);
    }

    void aFileThatCannotBeWrittenIsSkipped() {
        QTemporaryDir dir;
        // A folder where a picture should go: that one file cannot be written.
        fs::create_directories(Folder(dir) / "Graphics" / "bullet.bmp");
        QCOMPARE(ep::ExtractSkinGraphics(ep::QtResources(), Folder(dir)), 1);
        QVERIFY(fs::is_regular_file(Folder(dir) / "Graphics" / "bar.bmp"));
        QVERIFY(fs::is_regular_file(Folder(dir) / "Graphics" / "Border_bot_right.gif"));
        QVERIFY(fs::is_regular_file(Folder(dir) / "Graphics" / "Handle.bmp"));
    }

    void anUnwritableDataFolderFailsEveryFileWithoutThrowing() {
        QTemporaryDir dir;
        // A plain file in place of the data folder.
        std::ofstream(Folder(dir) / "data") << "x";
        QCOMPARE(ep::ExtractSkinGraphics(ep::QtResources(), Folder(dir) / "data"), 92);
    }

    void picturesHaveTheirFormatsAndSizes_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        const QSize toolbar(44, 45);
        for (const char* family : {"about", "back", "close", "forward", "home", "mark", "print", "report", "save",
                                   "setup", "trash"}) {
            for (const char* state : {"_off", "_on", "_pressed"}) {
                const QString name = QString::fromLatin1(family) + QLatin1String(state) + QLatin1String(".bmp");
                QTest::newRow(qPrintable(name)) << name << toolbar;
            }
        }
        for (const char* name : {"back_disabled.bmp", "forward_disabled.bmp", "mark_disabled.bmp",
                                 "save_disabled.bmp"})
            QTest::newRow(name) << QString::fromLatin1(name) << toolbar;
        for (const char* name : {"border_top_left.bmp", "border_top_right.bmp", "border_white_top_left.bmp",
                                 "border_white_top_right.bmp"})
            QTest::newRow(name) << QString::fromLatin1(name) << QSize(48, 28);
        for (const char* kind : {"blue", "blueoff", "white"}) {
            for (const char* button : {"close", "max", "min", "norm"}) {
                const QString name = QStringLiteral("prog_%1_%2.bmp").arg(QLatin1String(kind), QLatin1String(button));
                QTest::newRow(qPrintable(name)) << name << QSize(19, 19);
            }
        }
        QTest::newRow("loadbutton_on") << QStringLiteral("loadbutton_on.bmp") << QSize(35, 14);
        QTest::newRow("loadbutton_off") << QStringLiteral("loadbutton_off.bmp") << QSize(35, 14);
        for (const char* name : {"button_off.bmp", "button_on.bmp", "button_pressed.bmp"})
            QTest::newRow(name) << QString::fromLatin1(name) << QSize(80, 25);
        QTest::newRow("status 1") << QStringLiteral("status_strip1.bmp") << QSize(128, 25);
        QTest::newRow("status 2") << QStringLiteral("status_strip2.bmp") << QSize(120, 25);
        QTest::newRow("status 3") << QStringLiteral("status_strip3.bmp") << QSize(64, 25);
        QTest::newRow("status 4") << QStringLiteral("status_strip4.bmp") << QSize(200, 25);
        QTest::newRow("progressbar") << QStringLiteral("progressbar.bmp") << QSize(11, 19);
        QTest::newRow("statusgrabber") << QStringLiteral("statusgrabber.bmp") << QSize(8, 8);
        QTest::newRow("bullet") << QStringLiteral("bullet.bmp") << QSize(13, 11);
        QTest::newRow("Handle") << QStringLiteral("Handle.bmp") << QSize(6, 40);
        QTest::newRow("pen") << QStringLiteral("pen.bmp") << QSize(117, 41);
        QTest::newRow("bar") << QStringLiteral("bar.bmp") << QSize(401, 17);
        QTest::newRow("info_mark") << QStringLiteral("info_mark.gif") << QSize(32, 27);
        QTest::newRow("Border_bot_left") << QStringLiteral("Border_bot_left.gif") << QSize(6, 7);
        QTest::newRow("Border_bot_right") << QStringLiteral("Border_bot_right.gif") << QSize(6, 7);
    }

    void picturesHaveTheirFormatsAndSizes() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        const QString path = QStringLiteral(EP_SKIN_DIR "/") + name;
        QImageReader reader(path);
        QCOMPARE(reader.format(), name.endsWith(QLatin1String(".gif")) ? QByteArray("gif") : QByteArray("bmp"));
        QCOMPARE(reader.size(), size);
        if (name.endsWith(QLatin1String(".bmp"))) QCOMPARE(BmpBits(Bytes(path.toStdString())), 24);
    }

    void everyBmpIs24BitsAndEveryPictureReads() {
        for (const ep::SkinFile& file : ep::SkinFiles()) {
            const fs::path path = fs::path(EP_SKIN_DIR) / file.name;
            const std::string name(file.name);
            QVERIFY2(!QImage(QString::fromStdString(path.string())).isNull(), name.c_str());
            if (name.ends_with(".bmp")) QCOMPARE(BmpBits(Bytes(path)), 24);
            if (name.ends_with(".ico")) QCOMPARE(Bytes(path).substr(0, 4), std::string("\0\0\1\0", 4));
            if (name.ends_with(".gif")) QCOMPARE(Bytes(path).substr(0, 4), std::string("GIF8"));
        }
    }

    void titleBarMiddlesAndPageTabsHaveTheirListedSizes() {
        for (const char* name : {"border_top_center.bmp", "border_white_top_center.bmp"}) {
            const QSize size = QImageReader(QStringLiteral(EP_SKIN_DIR "/") + QLatin1String(name)).size();
            QCOMPARE(size.height(), 28);
            QVERIFY(size.width() == 1 || size.width() == 2);
        }
        for (const char* name : {"tabs_back_off.bmp", "tabs_back_on.bmp", "tabs_front_off.bmp", "tabs_front_on.bmp"})
            QCOMPARE(QImageReader(QStringLiteral(EP_SKIN_DIR "/") + QLatin1String(name)).size().width(), 79);
        for (const char* name : {"columnhead1.bmp", "columnhead2.bmp"})
            QCOMPARE(QImageReader(QStringLiteral(EP_SKIN_DIR "/") + QLatin1String(name)).size().height(), 24);
    }

    void namesMatchWithoutRegardToCase() {
        QCOMPARE(ep::CanonicalSkinName("Pencil.ico"), std::string_view("pencil.ico"));
        QCOMPARE(ep::CanonicalSkinName("border_bot_left.GIF"), std::string_view("Border_bot_left.gif"));
        QCOMPARE(ep::CanonicalSkinName("handle.bmp"), std::string_view("Handle.bmp"));
        QCOMPARE(ep::CanonicalSkinName("nothing.bmp"), std::string_view("nothing.bmp"));
    }
};

QTEST_GUILESS_MAIN(SkinFilesTest)
#include "skin_files_test.moc"
