#pragma once
// The modal help window: a header with logo, name, tagline, version and web
// link; five tabbed pages of help text; a footer with a web-site button and a
// close button that answers both Enter and Esc.
#include <QDialog>
#include <QImage>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

class THelpForm : public QDialog {
    Q_OBJECT
public:
    // The whole window, owned by AOwner (may be null). A StartPage from 0 to
    // the last page selects that page; anything else leaves the first one.
    static THelpForm* CreateHelp(QWidget* AOwner, int StartPage);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    explicit THelpForm(QWidget* AOwner);
};

// Creates the window, shows it modally and frees it when it closes.
void ShowHelpWindow(QWidget* owner, int startPage);

// Asks the desktop to open the maker's web site in the browser.
void OpenMakerWebsite();

// The logo picture of the header from the program's resources, or nothing
// when the resource is missing or no picture can be read from it.
std::optional<QImage> LoadLogoPng(const QString& resource = QStringLiteral(":/MIRVO_LOGO_PNG"));

// How web addresses are opened; tests put a recorder here. An empty function
// restores QDesktopServices::openUrl.
using TUrlOpener = std::function<bool(const QUrl&)>;
void SetUrlOpener(TUrlOpener opener);
