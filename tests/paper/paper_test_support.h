#pragma once

// Shared by the paper-window tests, the demonstration and the benchmark: a
// data folder prepared as start-up leaves it, and a home window reduced to
// the fields a paper window reads.

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>

#include "open_paper.h"
#include "paper_host.h"
#include "qt_resources.h"
#include "resources.h"
#include "skin_files.h"
#include "startup.h"

namespace ep::test {

class FakeHost : public PaperHost {
public:
    FakeHost(const ResourceSource& resources, QString dataFolder)
        : resources_(resources), dataFolder_(std::move(dataFolder)) {}

    QString LChose() const override { return lChose; }
    QString lblCOD() const override { return code; }
    QString TopicCount() const override { return topicCount; }
    QString TtPapersCon() const override { return paperCount; }
    QString PaperNum() const override { return paperNum; }
    QString SubH1() const override { return topicName; }
    QString PopUpResponse() const override { return reply; }
    void SetPopUpResponse(const QString& value) override { reply = value; }
    void RefreshContents() override { ++refreshes; }
    const ResourceSource& resources() const override { return resources_; }
    QString dataFolder() const override { return dataFolder_; }

    // The fields of the course's first module, as the home window sets them.
    void UseCourse(const StartupData& startup) {
        const int m = startup.firstModule;
        lChose = QString::number(m);
        code = QString::fromStdString(startup.course.code);
        paperCount = QString::number(startup.course.Module(m).paperCount);
    }

    // The paper `key` of a topic whose first paper is `firstKey`.
    void Choose(int key, int firstKey, const QString& topic) {
        paperNum = QString::number(key);
        topicCount = QString::number(firstKey - 100);
        topicName = topic;
    }

    QString lChose = QStringLiteral("2");
    QString code = QStringLiteral("FIX");
    QString topicCount = QStringLiteral("1");
    QString paperCount = QStringLiteral("10");
    QString paperNum = QStringLiteral("101");
    QString topicName = QStringLiteral("Whole Numbers");
    QString reply;
    int refreshes = 0;

private:
    const ResourceSource& resources_;
    QString dataFolder_;
};

// What the home window asks for paper `paperKey` of the fixture course, whose
// papers 101..105 are "Whole Numbers" and 106..110 "Fractions".
inline PaperRequest FixtureRequest(int paperKey, Attempt attempt = Attempt::kFirst) {
    PaperRequest request;
    request.module = 2;
    request.courseCode = "FIX";
    request.paperCount = 10;
    request.topicFirstSlot = paperKey <= 105 ? 1 : 6;
    request.topicName = paperKey <= 105 ? "Whole Numbers" : "Fractions";
    request.paperKey = paperKey;
    request.attempt = attempt;
    return request;
}

// A fresh data folder with the skin written out and the results files made
// from their templates, as the program leaves it at start-up.
class DataFolder {
public:
    explicit DataFolder(const ResourceSource& course) {
        if (!dir_.isValid()) qFatal("no temporary folder");
        ExtractSkinGraphics(QtResources(), path());
        startup = PrepareCourseData(course, path());
    }
    StartupData startup;  // the course as start-up read it
    std::filesystem::path path() const { return dir_.path().toStdString(); }
    QString folder() const { return dir_.path(); }
    std::filesystem::path operator/(const std::string& name) const { return path() / name; }

private:
    QTemporaryDir dir_;
};

}  // namespace ep::test
