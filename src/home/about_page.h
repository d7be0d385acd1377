#pragma once

// The About page: the program, its maker and the link to the maker's page.

#include <QLabel>
#include <QString>
#include <QWidget>

#include "skin_picture.h"

namespace ep {

inline constexpr const char* kMakerHost = "www.marlowin.example";
inline constexpr const char* kProductPage = "www.marlowin.example/eduprog.html";

class AboutPage : public QWidget {
    Q_OBJECT
public:
    AboutPage(QWidget* parent, const SkinFolder& skin);

    SkinImage* Logo;
    QLabel* ProgramName;
    QLabel* lbl_MWURL;

signals:
    void lbl_MWURL_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Opens the maker's product page with the program associated with HTML files,
// telling the pupil in a message box when there is none or it cannot start.
// `temporaryFolder` is where the association test file is written.
void OpenMakerWebPage(QWidget* owner, const QString& temporaryFolder);

}  // namespace ep
