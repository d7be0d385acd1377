// A paper-like skinned window with a toolbar, then the "Marking" question
// over it: for looking at the skin under a real display.
//
//   skin_demo [--quit-after MILLISECONDS] [--no-pop-up]

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "button_states.h"
#include "popup.h"
#include "qt_resources.h"
#include "skin_files.h"
#include "skin_palette.h"
#include "skinned_window.h"

namespace {

QWidget* Panel(QWidget* parent, const QColor& colour) {
    auto* panel = new QWidget(parent);
    QPalette pal = panel->palette();
    pal.setColor(QPalette::Window, colour);
    panel->setPalette(pal);
    panel->setAutoFillBackground(true);
    return panel;
}

class DemoPaper : public ep::SkinnedWindow {
public:
    explicit DemoPaper(const QString& data) : SkinnedWindow(ep::WindowKind::Paper, data) {
        strip_ = Panel(this, ep::palette::kChrome);
        const char* families[] = {"save", "mark", "print", "close", "back", "forward"};
        for (const char* family : families) {
            auto* button = new ep::SkinButton(strip_, {44, 45});
            button->setText(QString::fromLatin1(family));
            TrackPress(button);
            tools_.push_back({button, ep::ButtonPictures::Family(QString::fromLatin1(family))});
        }
        tools_[4].button->setEnabled(false);  // no question before the first
        paperSum_ = new ep::SkinImage(strip_, {117, 41});
        paperSum_->setPictureFile(skin().Path(QStringLiteral("pen.bmp")));
        auto* score = new QLabel(QStringLiteral("-- %"), paperSum_);
        score->setGeometry(43, 7, 67, 27);
        score->setAlignment(Qt::AlignCenter);
        QFont big(QStringLiteral("Arial"));
        big.setPointSize(14);
        big.setBold(true);
        score->setFont(big);

        question_ = Panel(this, ep::palette::kQuestion);
        auto* heading = new QLabel(QStringLiteral("Question 7"), question_);
        QFont h(QStringLiteral("Arial"));
        h.setPointSize(13);
        h.setBold(true);
        heading->setFont(h);
        heading->move(24, 18);
        auto* text = new QLabel(
            QStringLiteral("Work out  3/4 + 2/5.\n\nGive your answer as a fraction in its simplest form.\n\n"
                           "(b)  Write  2 3/8  as an improper fraction."),
            question_);
        QFont body(QStringLiteral("Arial"));
        body.setPointSize(11);
        text->setFont(body);
        text->move(24, 56);
        text->resize(400, 140);
        text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

        sheet_ = Panel(this, ep::palette::kPage);
        auto* head = new ep::SkinImage(sheet_, {250, 24});
        head->setPictureFile(skin().Path(QStringLiteral("columnhead1.bmp")));
        auto* headText = new QLabel(QStringLiteral("  Answer sheet"), head);
        headText->setGeometry(4, 0, 200, 24);
        QFont bold(QStringLiteral("Arial"));
        bold.setBold(true);
        headText->setFont(bold);
        for (int row = 0; row < 2; ++row) {
            auto* label = new QLabel(row == 0 ? QStringLiteral("(a)") : QStringLiteral("(b)"), sheet_);
            label->move(12, 44 + row * 36);
            auto* box = new QLineEdit(sheet_);
            box->setGeometry(44, 40 + row * 36, 150, 24);
            if (row == 0) box->setText(QStringLiteral("23/20"));
        }
        auto* instruction = new ep::SkinImage(sheet_, {250, 82});
        instruction->setPictureFile(skin().Path(QStringLiteral("instruction.gif")));
        instruction_ = instruction;

        remaining_ = new ep::SkinImage(this, {120, 25});
        remaining_->setPictureFile(skin().Path(QStringLiteral("status_strip2.bmp")));
        auto* left = new QLabel(QStringLiteral("Qns left:"), remaining_);
        left->move(6, 5);
        auto* list = new QComboBox(remaining_);
        list->addItems({QStringLiteral("8"), QStringLiteral("9"), QStringLiteral("12")});
        list->setGeometry(64, 2, 50, 21);
        clock_ = new ep::SkinImage(this, {64, 25});
        clock_->setPictureFile(skin().Path(QStringLiteral("status_strip3.bmp")));
        auto* time = new QLabel(QStringLiteral("0:12:5"), clock_);
        time->setGeometry(0, 0, 64, 25);
        time->setAlignment(Qt::AlignCenter);
        SetCaption(QStringLiteral("Fractions - Paper 2"));
    }

    void Timer1_Timer() override {
        SkinnedWindow::Timer1_Timer();
        for (const Tool& tool : tools_) ep::ShowThreeState(*tool.button, tool.pictures, cursorPoint, txtPressTrack, skin());
    }

protected:
    void LayoutContents() override {
        const int w = width();
        const int h = height();
        const int left = BLeft->width();
        const int top = BTopLeft->height();
        strip_->setGeometry(left, top, w - left - BRight->width(), 53);
        int x = 8;
        for (int k = 0; k < 4; ++k, x += 44 + 8) tools_[k].button->move(x, 4);
        tools_[5].button->move(strip_->width() - 44 - 8, 4);
        tools_[4].button->move(tools_[5].button->x() - 44 - 8, 4);
        paperSum_->move(w * 15 / 15 - 4095 / 15, 6);
        const int below = top + strip_->height();
        const int sheetWidth = 230;
        sheet_->setGeometry(w - BRight->width() - sheetWidth, below, sheetWidth, h - below - BBot->height());
        instruction_->move(10, sheet_->height() - 82 - 10);
        question_->setGeometry(left, below, sheet_->x() - left, h - below - BBot->height() - 25);
        remaining_->move(left, question_->y() + question_->height());
        clock_->move(left + 120, remaining_->y());
    }

private:
    struct Tool {
        ep::SkinButton* button;
        ep::ButtonPictures pictures;
    };
    std::vector<Tool> tools_;
    QWidget* strip_;
    QWidget* question_;
    QWidget* sheet_;
    ep::SkinImage* paperSum_;
    ep::SkinImage* instruction_;
    ep::SkinImage* remaining_;
    ep::SkinImage* clock_;
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    int quitAfter = 0;
    bool popUp = true;
    for (int k = 1; k < argc; ++k) {
        if (QLatin1String(argv[k]) == QLatin1String("--quit-after") && k + 1 < argc) quitAfter = std::atoi(argv[k + 1]);
        if (QLatin1String(argv[k]) == QLatin1String("--no-pop-up")) popUp = false;
    }
    QTemporaryDir data;
    ep::ExtractSkinGraphics(ep::QtResources(), data.path().toStdString());

    DemoPaper paper(data.path());
    paper.setGeometry(140, 110, 860, 600);
    paper.show();

    ep::PopUpResponseField home;
    if (quitAfter > 0) QTimer::singleShot(quitAfter, &app, [] { QApplication::exit(0); });
    if (!popUp) {
        // The active window with the pointer resting on "mark".
        QTimer::singleShot(400, &paper, [&paper] {
            paper.activateWindow();
            QCursor::setPos(paper.mapToGlobal(QPoint(6 + 8 + 44 + 8 + 22, 28 + 4 + 22)));
        });
        return app.exec();
    }
    QTimer::singleShot(600, &paper, [&] {
        ep::frmPopUp pop(home, data.path());
        pop.CallPop(QStringLiteral("Marking"), QStringLiteral("Do you want to mark your practice now?"),
                    ep::PopUpButtons::YesNo, paper);
        // Rest the pointer on "Yes" to show its hover picture.
        QTimer::singleShot(300, &pop, [&pop] { QCursor::setPos(pop.But1->mapToGlobal(QPoint(60, 12))); });
        pop.ShowModal();
        std::printf("PopUpResponse = %s\n", qPrintable(home.PopUpResponse));
    });
    return app.exec();
}
