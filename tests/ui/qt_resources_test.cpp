#include "qt_resources.h"

#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <iterator>

#include "course.h"

namespace {

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

class QtResourcesTest : public QObject {
    Q_OBJECT

private slots:
    void extractsCompiledResourcesByteForByte() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const std::filesystem::path folder = dir.path().toStdString();
        ep::QtResources resources;
        QCOMPARE(ep::ExtractResource(resources, 30126, "Custom", folder / "trend.txt"), 0);
        QCOMPARE(FileBytes(folder / "trend.txt"), std::string("#TRD#"));
        QCOMPARE(ep::ExtractResource(resources, 30000, "Custom", folder / "def.txt"), 0);
        QCOMPARE(FileBytes(folder / "def.txt"), FileBytes(EP_FIXTURE_COURSE "/30000"));
    }

    void unknownIdsAndTypesAreMissing() {
        ep::QtResources resources;
        QVERIFY(!resources.Load(30001, "Custom").has_value());
        QVERIFY(!resources.Load(30000, "Bitmap").has_value());
    }

    void readsTheCourseThroughTheCompiledResources() {
        QTemporaryDir dir;
        int status = -1;
        ep::CourseDefinition course = ep::ReadCourseDefinition(ep::QtResources(), dir.path().toStdString(), status);
        QCOMPARE(status, 0);
        QCOMPARE(course.code, std::string("FIX"));
        QCOMPARE(course.FirstModule(), 2);
    }
};

QTEST_GUILESS_MAIN(QtResourcesTest)
#include "qt_resources_test.moc"
