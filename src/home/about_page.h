#pragma once

// The About page: the program, its maker, the link to the maker's page and
// where this pupil's results are kept.

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
    // Shows the data folder on the folder line; the button opens it.
    void SetResultsFolder(const QString& folder);
    const QString& resultsFolder() const { return resultsFolder_; }
    void UpdateHoverImages(const QPoint& cursor, const SkinFolder& skin);

    SkinImage* Logo;
    QLabel* ProgramName;
    QLabel* lbl_MWURL;
    QLabel* lblResultsFolder;
    SkinButton* ButOpenFolder;
    CaptionLabel* ButOpenFolderlbl;

signals:
    void lbl_MWURL_Click();
    void openFolderClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString resultsFolder_;
};

// Opens the maker's product page with the program associated with HTML files,
// telling the pupil in a message box when there is none or it cannot start.
// `temporaryFolder` is where the association test file is written.
void OpenMakerWebPage(QWidget* owner, const QString& temporaryFolder);

// Opens `folder` in the desktop's file manager, telling the pupil in a message
// box, with the folder's name, when it cannot.
void OpenResultsFolder(QWidget* owner, const QString& folder);

}  // namespace ep
