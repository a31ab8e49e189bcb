#include "cli/cli_label.h"

#include "cli/cli_args.h"
#include "cli/cli_error.h"
#include "model/builtin_templates.h"
#include "model/label_doc.h"
#include "model/mono_convert.h"
#include "model/placeholders.h"
#include "settings/app_settings.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <stdexcept>

QString ResolveLabelPath(const QString& Arg)
{
    if (QFileInfo(Arg).isFile())
        return Arg;
    // A name with the label extension is a file name: when mistyped it must
    // be reported as missing, not quietly replaced by a template. Template
    // names may hold a slash ("Preis: 5/kg"); SafeFileName maps it.
    const bool templateName = !Arg.endsWith(kLabelFileExt, Qt::CaseInsensitive) && !Arg.trimmed().isEmpty();
    if (templateName) {
        EnsureBuiltinTemplates();
        const QString candidate = QDir(TAppSettings::TemplateDir()).filePath(SafeFileName(Arg) + kLabelFileExt);
        if (QFileInfo(candidate).isFile())
            return candidate;
    }
    return Arg;
}

std::unique_ptr<TLabelDoc> LoadLabel(const QString& Arg)
{
    return LoadLabelFile(ResolveLabelPath(Arg));
}

std::unique_ptr<TLabelDoc> LoadLabelFile(const QString& Path)
{
    auto doc = std::make_unique<TLabelDoc>();
    try {
        doc->LoadFromFile(Path);
    } catch (const std::exception& e) {
        throw std::runtime_error(QStringLiteral("Etikett \"%1\" konnte nicht geladen werden: %2")
                                     .arg(Path, QString::fromUtf8(e.what()))
                                     .toStdString());
    }
    return doc;
}

TNbMonoImage RenderCopies(const TLabelDoc& Doc, int Copies, int GapDots)
{
    if (Copies < 1)
        throw std::invalid_argument("Mindestens eine Kopie");
    std::vector<TNbMonoImage> rasters;
    rasters.push_back(Doc.RenderMono(1));
    // Refuse a print too long for one raster before rendering the other
    // copies: 999 copies of a metre-long label would take gigabytes first.
    const int64_t rows = int64_t{rasters[0].Height} * Copies + int64_t{std::max(GapDots, 0)} * (Copies - 1);
    if (rows > std::numeric_limits<int32_t>::max() ||
        rows * std::max<int64_t>(rasters[0].Width, 1) > std::numeric_limits<int32_t>::max())
        throw std::overflow_error("Der Druck ist zu lang");
    rasters.reserve(static_cast<size_t>(Copies));
    for (int n = 2; n <= Copies; ++n)
        rasters.push_back(Doc.RenderMono(n));
    return StackMonoImages(rasters, GapDots);
}

void EnsureBuiltinTemplates()
{
    const QString dir = TAppSettings::TemplateDir();
    const QStringList labels = QDir(dir).entryList({QStringLiteral("*") + kLabelFileExt}, QDir::Files);
    if (labels.isEmpty())
        CreateBuiltinTemplates(dir);
}

std::vector<TTemplateEntry> ListTemplates(QStringList* Skipped)
{
    EnsureBuiltinTemplates();
    const QDir dir(TAppSettings::TemplateDir());
    std::vector<TTemplateEntry> out;
    for (const QString& file :
         dir.entryList({QStringLiteral("*") + kLabelFileExt}, QDir::Files, QDir::Name | QDir::IgnoreCase)) {
        const QString path = dir.filePath(file);
        TLabelDoc doc;
        try {
            doc.LoadFromFile(path);
        } catch (const std::exception& e) {
            if (Skipped)
                *Skipped << path + QStringLiteral(": ") + QString::fromUtf8(e.what());
            continue;
        }
        out.push_back({doc.Name, path});
    }
    return out;
}

std::optional<QDateTime> ParseNow(const TCliArgs& A)
{
    const std::optional<QString> text = A.Value(QStringLiteral("--now"));
    if (!text)
        return std::nullopt;
    const QDateTime t = QDateTime::fromString(text->trimmed(), QStringLiteral("yyyy-MM-dd HH:mm"));
    if (!t.isValid())
        throw ECliUsage(QStringLiteral("--now erwartet Datum und Uhrzeit als \"JJJJ-MM-TT HH:MM\", nicht \"%1\"")
                            .arg(*text)
                            .toStdString(),
                        A.Command.toStdString());
    return t;
}

TPlaceholderClockScope::TPlaceholderClockScope(const std::optional<QDateTime>& ANow)
{
    if (ANow) {
        SetPlaceholderClock(ANow);
        FSet = true;
    }
}

TPlaceholderClockScope::~TPlaceholderClockScope()
{
    if (FSet)
        SetPlaceholderClock(std::nullopt);
}
