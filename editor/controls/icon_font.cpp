#include "editor/controls/icon_font.h"

#include <QFontDatabase>

namespace {

const QString kFluent = QStringLiteral("Segoe Fluent Icons");
const QString kMdl2 = QStringLiteral("Segoe MDL2 Assets");
const QString kMaterial = QStringLiteral("Material Icons");

// Where Debian's fonts-material-design-icons-iconfont puts the font.
const char* const kMaterialFile =
    "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf";

std::optional<QString>& Override()
{
    static std::optional<QString> name;
    return name;
}

QString DetectIconFont()
{
    const QString chosen = ChooseIconFont(QFontDatabase::families());
    if (!chosen.isEmpty())
        return chosen;
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kMaterialFile));
    if (id >= 0 && QFontDatabase::applicationFontFamilies(id).contains(kMaterial))
        return kMaterial;
    return QString();
}

} // namespace

const std::vector<TIconGlyphUse>& IconGlyphTable()
{
    // Windows code point -> Material Icons code point; the comment names the
    // command the symbol stands for and the Material symbol's name.
    static const std::vector<TIconGlyphUse> table = {
        {0xE8A5, 0xE89C}, // Neu: neues Etikett (note_add)
        {0xE74E, 0xE161}, // Speichern (save)
        {0xE792, 0xEB60}, // Speichern unter (save_as)
        {0xE8D2, 0xE262}, // Text einfügen (text_fields)
        {0xE8B9, 0xE3F4}, // Bild einfügen (image)
        {0xE8C8, 0xE14D}, // Duplizieren, Kopie (content_copy)
        {0xE74D, 0xE872}, // Löschen (delete)
        {0xE74A, 0xE5D8}, // Nach vorn (arrow_upward)
        {0xE74B, 0xE5DB}, // Nach hinten (arrow_downward)
        {0xE7A7, 0xE166}, // Rückgängig (undo)
        {0xE71F, 0xE900}, // Verkleinern (zoom_out)
        {0xE8A3, 0xE8FF}, // Vergrößern (zoom_in)
        {0xE890, 0xE8F4}, // Vorschau (visibility)
        {0xE749, 0xE8AD}, // Drucken (print)
        {0xE713, 0xE8B8}, // Drucker einstellen (settings)
        {0xE897, 0xE8FD}, // Hilfe (help_outline)
        {0xE8E5, 0xE2C8}, // Vorlage öffnen (folder_open)
        {0xE8AC, 0xE3C9}, // Umbenennen (edit)
        {0xE838, 0xE2C7}, // Vorlagenordner (folder)
        {0xE774, 0xE894}, // Webseite öffnen (language)
        {0xE712, 0xE5D3}, // Weitere Befehle der Werkzeugleiste (more_horiz)
        {0xED14, 0xEF6B}, // Code einfügen (qr_code)
        {0xE7A6, 0xE15A}, // Wiederholen (redo)
        {0xE8E4, 0xE236}, // Anordnen: ausrichten, verteilen, drehen (format_align_left)
    };
    return table;
}

QString ChooseIconFont(const QStringList& installedFamilies)
{
    for (const QString& name : {kFluent, kMdl2, kMaterial}) {
        if (installedFamilies.contains(name, Qt::CaseInsensitive))
            return name;
    }
    return QString();
}

QString IconFontName()
{
    if (Override())
        return *Override();
    static const QString detected = DetectIconFont();
    return detected;
}

char16_t IconFontGlyph(const QString& fontFamily, char16_t glyph)
{
    if (glyph == 0 || fontFamily.isEmpty())
        return 0;
    if (fontFamily == kFluent || fontFamily == kMdl2)
        return glyph;
    if (fontFamily == kMaterial) {
        for (const TIconGlyphUse& use : IconGlyphTable()) {
            if (use.Glyph == glyph)
                return use.Material;
        }
    }
    return 0;
}

void OverrideIconFontName(std::optional<QString> name)
{
    Override() = std::move(name);
}
