// The templates panel on the left, and the label commands New, Save, Save as.
#include "editor/controls/modern_button.h"
#include "editor/controls/ui_font.h"
#include "editor/dialogs.h"
#include "editor/label_main_form.h"
#include "editor/template_browser.h"
#include "model/builtin_templates.h"
#include "model/label_doc.h"
#include "settings/app_settings.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>
#include <system_error>
#include <stdexcept>

namespace {

// Trims every character from U+0000 to U+0020 at both ends.
QString TrimControls(const QString& s)
{
    int b = 0;
    int e = s.size();
    while (b < e && s[b].unicode() <= 0x20)
        ++b;
    while (e > b && s[e - 1].unicode() <= 0x20)
        --e;
    return s.mid(b, e - b);
}

QString TemplatePath(const QString& name)
{
    return QDir(TAppSettings::TemplateDir()).filePath(SafeFileName(name) + QStringLiteral(".pellwerk"));
}

// Whether two paths name one template file. Spelling alone cannot tell: where
// the file system ignores case, "Anna" and "anna" are one file, and where it
// does not they are two templates, and mistaking one for the other would
// overwrite or delete the wrong one.
bool SameFile(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    if (a == b)
        return true;
    std::error_code ec;
    return std::filesystem::equivalent(std::filesystem::path(QFile::encodeName(a).toStdString()),
                                       std::filesystem::path(QFile::encodeName(b).toStdString()), ec);
}

void RemoveFileOrThrow(const QString& path)
{
    QFile f(path);
    if (!f.remove())
        throw std::runtime_error(
            QStringLiteral("Die Datei \"%1\" konnte nicht gelöscht werden: %2").arg(path, f.errorString()).toStdString());
}

} // namespace

void TLabelMainForm::BuildTemplatesPanel()
{
    auto* lay = new QVBoxLayout(PnlLeft);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);

    auto* header = new QWidget(PnlLeft);
    header->setFixedHeight(40);
    auto* title = new QLabel(QStringLiteral("Vorlagen"), header);
    title->setFont(UiFont(12, TUiWeight::Semibold));
    QPalette pal = title->palette();
    pal.setColor(QPalette::WindowText, QColor(32, 32, 32));
    title->setPalette(pal);
    title->move(14, 11);
    title->adjustSize();
    lay->addWidget(header);

    TTemplateBrowser::TOptions opts;
    opts.CacheFolder = FThumbCacheDir;
    FTemplates = new TTemplateBrowser(opts, PnlLeft);
    FTemplates->OnOpen = [this](const QString& path) { OpenTemplate(path); };
    FTemplates->IsCurrent = [this](const QString& path) { return SameFile(path, FDoc->FileName); };
    auto* listBox = new QHBoxLayout;
    listBox->setContentsMargins(6, 0, 6, 0);
    listBox->addWidget(FTemplates);
    lay->addLayout(listBox, 1);

    auto* buttons = new QWidget(PnlLeft);
    buttons->setFixedHeight(76);
    int X = 8;
    auto row = [](TModernButton* b, int top) { b->move(b->x(), top); };
    row(AddButton(buttons, QStringLiteral("Öffnen"), true, QStringLiteral("Vorlage in den Editor laden (Doppelklick)"),
                  [this] { OpenTemplate(SelectedTemplate()); }, X, ikGlyph, 0xE8E5),
        4);
    row(AddButton(buttons, QStringLiteral("Kopie"), true, QStringLiteral("Kopie der Vorlage anlegen"),
                  [this] { CopyTemplate(); }, X, ikGlyph, 0xE8C8),
        4);
    X = 8;
    row(AddButton(buttons, QStringLiteral("Umbenennen"), true, QString(), [this] { RenameTemplate(); }, X, ikGlyph,
                  0xE8AC),
        38);
    row(AddButton(buttons, QString(), true, QStringLiteral("Vorlage löschen"), [this] { DeleteTemplate(); }, X,
                  ikGlyph, 0xE74D),
        38);
    row(AddButton(buttons, QString(), true, QStringLiteral("Vorlagenordner im Explorer öffnen"),
                  [this] { OpenTemplateFolder(); }, X, ikGlyph, 0xE838),
        38);
    lay->addWidget(buttons);
}

void TLabelMainForm::LoadTemplates()
{
    FTemplates->Reload();
}

QString TLabelMainForm::SelectedTemplate() const
{
    return FTemplates->SelectedPath();
}

void TLabelMainForm::OpenTemplate(const QString& FileName)
{
    if (FileName.isEmpty() || !ConfirmDiscard())
        return;
    try {
        FDoc->LoadFromFile(FileName);
    } catch (const std::exception& e) {
        FDialogs->ShowError(this, QStringLiteral("Vorlage konnte nicht geladen werden:\r\n") + QString::fromUtf8(e.what()));
        return;
    }
    ResetEditState();
    FSettings->LastTemplate = FileName;
    RefreshAll();
    SetStatus(3, QStringLiteral("Vorlage geladen: ") + FDoc->Name);
}

void TLabelMainForm::NewLabel()
{
    if (!ConfirmDiscard())
        return;
    FDoc->Clear();
    ResetEditState();
    RefreshAll();
    SetStatus(3, QStringLiteral("Neues Etikett – Elemente über die Werkzeugleiste einfügen"));
}

void TLabelMainForm::SaveLabel()
{
    if (FDoc->FileName.isEmpty()) {
        SaveLabelAs();
        return;
    }
    FDoc->SaveToFile(FDoc->FileName);
    FSettings->LastTemplate = FDoc->FileName;
    LoadTemplates();
    UpdateTitle();
    SetStatus(3, QStringLiteral("Gespeichert: ") + FDoc->Name);
}

void TLabelMainForm::SaveLabelAs()
{
    QString answer = FDoc->Name;
    if (!FDialogs->InputBox(this, QStringLiteral("Als Vorlage speichern"), QStringLiteral("Name der Vorlage:"), answer))
        return;
    answer = TrimControls(answer);
    if (answer.isEmpty())
        return;
    const QString path = TemplatePath(answer);
    if (QFileInfo::exists(path) && !SameFile(path, FDoc->FileName)
        && !FDialogs->AskYesNo(this, QStringLiteral("Die Vorlage \"%1\" gibt es schon. Überschreiben?").arg(answer)))
        return;
    // The name changes only with a successful save, so a failed write leaves
    // the label as it was.
    const QString oldName = FDoc->Name;
    FDoc->Name = answer;
    try {
        FDoc->SaveToFile(path);
    } catch (...) {
        FDoc->Name = oldName;
        throw;
    }
    FSettings->LastTemplate = path;
    LoadTemplates();
    ShowLabelProps();
    UpdateTitle();
    SetStatus(3, QStringLiteral("Gespeichert: ") + answer);
}

void TLabelMainForm::CopyTemplate()
{
    const QString src = SelectedTemplate();
    if (src.isEmpty())
        return;
    TLabelDoc doc;
    doc.LoadFromFile(src);
    const QString n = doc.Name;
    QString candidate = n + QStringLiteral(" (Kopie)");
    for (int k = 2; QFileInfo::exists(TemplatePath(candidate)); ++k)
        // One pass: a chained arg() would also fill a "%2" inside the name.
        candidate = QStringLiteral("%1 (Kopie %2)").arg(n, QString::number(k));
    doc.Name = candidate;
    doc.SaveToFile(TemplatePath(candidate));
    LoadTemplates();
}

void TLabelMainForm::RenameTemplate()
{
    const QString src = SelectedTemplate();
    if (src.isEmpty())
        return;
    TLabelDoc doc;
    doc.LoadFromFile(src);
    QString answer = doc.Name;
    if (!FDialogs->InputBox(this, QStringLiteral("Vorlage umbenennen"), QStringLiteral("Neuer Name:"), answer))
        return;
    answer = TrimControls(answer);
    if (answer.isEmpty())
        return;
    const QString dst = TemplatePath(answer);
    if (QFileInfo::exists(dst) && !SameFile(dst, src)) {
        FDialogs->ShowWarning(this, QStringLiteral("Eine Vorlage mit diesem Namen gibt es schon."));
        return;
    }
    const bool isOpen = SameFile(FDoc->FileName, src);
    doc.Name = answer;
    doc.SaveToFile(dst);
    // A new spelling of the same name is a second file where case counts.
    if (!SameFile(dst, src))
        RemoveFileOrThrow(src);
    if (isOpen) {
        FDoc->FileName = dst;
        FDoc->Name = answer;
        ShowLabelProps();
        UpdateTitle();
    }
    LoadTemplates();
}

void TLabelMainForm::DeleteTemplate()
{
    const QString file = SelectedTemplate();
    if (file.isEmpty())
        return;
    const QString caption = FTemplates->SelectedName();
    if (!FDialogs->AskYesNo(this, QStringLiteral("Vorlage \"%1\" wirklich löschen?").arg(caption)))
        return;
    const bool isOpen = SameFile(FDoc->FileName, file);
    RemoveFileOrThrow(file);
    if (isOpen) {
        FDoc->FileName.clear();
        FDoc->Modified = true;
        UpdateTitle();
    }
    LoadTemplates();
}

void TLabelMainForm::OpenTemplateFolder()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(TAppSettings::TemplateDir()));
}
