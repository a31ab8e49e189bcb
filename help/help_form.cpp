#include "help/help_form.h"

#include "editor/controls/modern_button.h"
#include "editor/controls/ui_font.h"
#include "help/help_pages.h"
#include "help/maker_website.h"
#include "help/rtf_document.h"

#include <QDesktopServices>
#include <QEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextCursor>
#include <QVBoxLayout>
#include <memory>

namespace {

TUrlOpener& UrlOpener()
{
    static TUrlOpener opener;
    return opener;
}

bool OpenUrl(const QUrl& url)
{
    if (UrlOpener())
        return UrlOpener()(url);
    return QDesktopServices::openUrl(url);
}

const QColor kCaption(32, 32, 32);
const QColor kSecondary(112, 112, 112);
const QColor kWindow(243, 243, 243);

void SetColour(QWidget* w, QPalette::ColorRole role, const QColor& c)
{
    QPalette pal = w->palette();
    pal.setColor(role, c);
    w->setPalette(pal);
}

QWidget* WhitePanel(QWidget* parent, int height, const char* name)
{
    auto* panel = new QWidget(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setAutoFillBackground(true);
    SetColour(panel, QPalette::Window, Qt::white);
    panel->setFixedHeight(height);
    return panel;
}

QLabel* PlacedLabel(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font,
                    const QColor& colour, const char* name)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    SetColour(label, QPalette::WindowText, colour);
    label->setGeometry(geometry);
    return label;
}

// Keeps a child at a fixed distance from its parent's right edge.
class TAnchorRight : public QObject {
public:
    TAnchorRight(QWidget* child, int fromRight, int top)
        : QObject(child), FChild(child), FFromRight(fromRight), FTop(top)
    {
        child->parentWidget()->installEventFilter(this);
        Place();
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Resize)
            Place();
        return false;
    }

private:
    void Place() { FChild->move(FChild->parentWidget()->width() - FFromRight, FTop); }
    QWidget* FChild;
    int FFromRight;
    int FTop;
};

QWidget* BuildHeader(QWidget* form)
{
    QWidget* header = WhitePanel(form, 124, "Header");

    auto* logo = new QLabel(header);
    logo->setObjectName(QStringLiteral("Logo"));
    logo->setGeometry(18, 12, 100, 100);
    logo->setAlignment(Qt::AlignCenter);
    if (const std::optional<QImage> png = LoadLogoPng()) {
        const qreal dpr = form->devicePixelRatioF();
        QPixmap pm = QPixmap::fromImage(
            png->scaled(QSize(100, 100) * dpr, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        pm.setDevicePixelRatio(dpr);
        logo->setPixmap(pm);
    }

    PlacedLabel(header, QStringLiteral("MIRVO Pellwerk"), QRect(136, 14, 400, 36), UiFont(20, TUiWeight::Semibold),
                kCaption, "Title");
    PlacedLabel(header, QStringLiteral("Aufkleber-Editor für Thermo-Minidrucker"), QRect(138, 54, 400, 20),
                UiFont(10), kSecondary, "Tagline");
    PlacedLabel(header, HelpVersionLine(), QRect(138, 76, 560, 18), UiFont(9), kSecondary, "Version");

    QString shown = MakerWebsite();
    shown.remove(QRegularExpression(QStringLiteral("^https?://")));
    auto* link = new QLabel(header);
    link->setObjectName(QStringLiteral("WebLink"));
    link->setTextFormat(Qt::RichText);
    link->setText(QStringLiteral("<a href=\"%1\" style=\"color:#0078d7;\">%2</a>")
                      .arg(MakerWebsite().toHtmlEscaped(), shown.toHtmlEscaped()));
    link->setFont(UiFont(10));
    link->setGeometry(138, 96, 200, 20);
    link->setOpenExternalLinks(false);
    link->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    link->setCursor(Qt::PointingHandCursor);
    link->setToolTip(MakerWebsite());
    QObject::connect(link, &QLabel::linkActivated, link, [] { OpenMakerWebsite(); });
    return header;
}

QWidget* BuildFooter(THelpForm* form)
{
    QWidget* footer = WhitePanel(form, 52, "Footer");

    auto* web = new TModernButton(footer);
    web->setObjectName(QStringLiteral("WebsiteButton"));
    web->SetGlyph(0xE774);
    web->SetCaption(QStringLiteral("Webseite öffnen"));
    web->SetHint(MakerWebsite());
    web->SetShowHint(true);
    web->SetCompact(true);
    web->AutoWidth();
    web->move(12, 10);
    QObject::connect(web, &TModernButton::clicked, web, [] { OpenMakerWebsite(); });

    auto* close = new QPushButton(QStringLiteral("Schließen"), footer);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->resize(110, 30);
    close->setDefault(true);
    close->setAutoDefault(true);
    new TAnchorRight(close, 124, 11);
    QObject::connect(close, &QPushButton::clicked, form, &QDialog::accept);
    return footer;
}

void AddPage(QTabWidget* tabs, const THelpPage& page)
{
    auto* sheet = new QWidget;
    auto* view = new QTextBrowser(sheet);
    // The view shows the system window colour; the sheet takes it too so the
    // margins read as part of the page.
    const QColor paper = view->palette().color(QPalette::Base);
    sheet->setAutoFillBackground(true);
    SetColour(sheet, QPalette::Window, paper);

    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(12, 8, 6, 8);
    layout->addWidget(view);

    view->setFrameShape(QFrame::NoFrame);
    view->setReadOnly(true);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setOpenLinks(false);
    view->setOpenExternalLinks(false);
    RtfToDocument(page.Rtf, view->document());
    LinkWebAddresses(view->document());
    view->moveCursor(QTextCursor::Start); // every page opens at its top
    QObject::connect(view, &QTextBrowser::anchorClicked, view, [](const QUrl& url) { OpenUrl(url); });

    // A tab title shows "&" as it is, not as a shortcut marker.
    QString title = page.Title;
    tabs->addTab(sheet, title.replace(QLatin1Char('&'), QLatin1String("&&")));
}

} // namespace

THelpForm::THelpForm(QWidget* AOwner)
    : QDialog(AOwner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint)
{
}

THelpForm* THelpForm::CreateHelp(QWidget* AOwner, int StartPage)
{
    auto* form = new THelpForm(AOwner);
    form->setObjectName(QStringLiteral("HelpForm"));
    form->setWindowTitle(QStringLiteral("Hilfe – MIRVO Pellwerk"));
    form->setFont(UiFont(9));
    form->setAutoFillBackground(true);
    SetColour(form, QPalette::Window, kWindow);
    form->setMinimumSize(560, 420);
    form->resize(760, 620);
    form->setModal(true);

    auto* layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(BuildHeader(form));

    auto* tabs = new QTabWidget(form);
    tabs->setObjectName(QStringLiteral("Pages"));
    auto* tabArea = new QVBoxLayout;
    tabArea->setContentsMargins(10, 10, 10, 6);
    tabArea->addWidget(tabs);
    layout->addLayout(tabArea, 1);

    layout->addWidget(BuildFooter(form));

    for (const THelpPage& page : BuildHelpPages())
        AddPage(tabs, page);

    if (StartPage >= 0 && StartPage < tabs->count())
        tabs->setCurrentIndex(StartPage);

    if (AOwner) {
        const QRect owner = AOwner->window()->geometry();
        form->move(owner.center() - form->rect().center());
    }
    return form;
}

void THelpForm::keyPressEvent(QKeyEvent* event)
{
    // Esc presses "Schließen" like Enter does: the window closes with OK.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (auto* close = findChild<QPushButton*>(QStringLiteral("CloseButton"))) {
            close->click();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void ShowHelpWindow(QWidget* owner, int startPage)
{
    std::unique_ptr<THelpForm> form(THelpForm::CreateHelp(owner, startPage));
    form->exec();
}

void OpenMakerWebsite()
{
    OpenUrl(QUrl(MakerWebsite()));
}

std::optional<QImage> LoadLogoPng(const QString& resource)
{
    QImageReader reader(resource, "png");
    QImage img;
    if (!reader.read(&img) || img.isNull())
        return std::nullopt;
    return img;
}

void SetUrlOpener(TUrlOpener opener)
{
    UrlOpener() = std::move(opener);
}
