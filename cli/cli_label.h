#pragma once
// Labels for the commands: found by path or by template name, loaded with a
// message that names the file, rendered as the editor prints them.

#include "protocol/raster.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>
#include <vector>

class TLabelDoc;
struct TCliArgs;

// A path to an existing file is taken as it is. Otherwise, a name without
// ".pellwerk" is looked up among the templates: the file
// SafeFileName(name) + ".pellwerk" in the templates folder. Anything else is
// returned unchanged, so loading it reports the missing file.
QString ResolveLabelPath(const QString& Arg);

// Loads the label file at Path, without looking among the templates; every
// failure raises "Etikett "…" konnte nicht geladen werden: " and the reason.
std::unique_ptr<TLabelDoc> LoadLabelFile(const QString& Path);

// Loads the label; every failure raises "Etikett "…" konnte nicht geladen
// werden: " followed by the reason.
std::unique_ptr<TLabelDoc> LoadLabel(const QString& Arg);

// Copies 1..Copies, each with its number for {NR}, one below the other with
// GapDots blank rows between them: the raster the editor sends.
TNbMonoImage RenderCopies(const TLabelDoc& Doc, int Copies, int GapDots);

// The templates folder holds the six built-in templates when it holds no
// label yet, as after the editor's first start.
void EnsureBuiltinTemplates();

struct TTemplateEntry {
    QString Name;      // the label's own name
    QString FileName;  // full path
};
// The labels directly in the templates folder, by file name. Files that do
// not load are left out and reported in Skipped as "file: reason".
std::vector<TTemplateEntry> ListTemplates(QStringList* Skipped);

// "--now YYYY-MM-DD HH:MM" as local time; std::nullopt when the option is
// absent. Raises ECliUsage for any other form.
std::optional<QDateTime> ParseNow(const TCliArgs& A);

// Fixes the placeholder clock for the life of the object and returns it to
// the real clock afterwards.
class TPlaceholderClockScope {
public:
    explicit TPlaceholderClockScope(const std::optional<QDateTime>& ANow);
    ~TPlaceholderClockScope();
    TPlaceholderClockScope(const TPlaceholderClockScope&) = delete;
    TPlaceholderClockScope& operator=(const TPlaceholderClockScope&) = delete;

private:
    bool FSet = false;
};
