#include "model/builtin_templates.h"

#include "model/label_doc.h"

#include <QDir>

QString SafeFileName(const QString& Name)
{
    qsizetype First = 0;
    qsizetype Last = Name.size();
    while (First < Last && Name.at(First).unicode() <= 0x20)
        ++First;
    while (Last > First && Name.at(Last - 1).unicode() <= 0x20)
        --Last;
    QString S = Name.mid(First, Last - First);
    for (QChar& C : S)
        switch (C.unicode()) {
        case u'\\': case u'/': case u':': case u'*': case u'?':
        case u'"': case u'<': case u'>': case u'|':
            C = QLatin1Char('_');
            break;
        default:
            break;
        }
    return S.isEmpty() ? QStringLiteral("Etikett") : S;
}

TLabelElement* AddTextElement(TLabelDoc& Doc, int32_t X, int32_t Y, int32_t W, int32_t H, const QString& Text,
                              int32_t FontSize, bool Bold, TLblAlign Align)
{
    TLabelElement* E = Doc.Elements.Add(std::make_unique<TLabelElement>(ekText));
    E->X = X;
    E->Y = Y;
    E->W = W;
    E->H = H;
    E->Text = Text;
    E->FontSize = FontSize;
    E->Bold = Bold;
    E->Align = Align;
    return E;
}

namespace {

// One document reused for all templates, as each save clears it.
class TTemplateWriter {
public:
    explicit TTemplateWriter(const QString& ADir) : FDir(ADir) {}

    void Start(const QString& AName, int32_t ALengthMm, bool ALandscape, TBgPreset APreset)
    {
        FDoc.Name = AName;
        FDoc.LengthMm = ALengthMm;
        FDoc.Landscape = ALandscape;
        FDoc.BgPreset = APreset;
    }

    TLabelElement* AddTemplateText(int32_t X, int32_t Y, int32_t W, int32_t H, const QString& Text,
                                   int32_t FontSize, bool Bold, TLblAlign Align)
    {
        return AddTextElement(FDoc, X, Y, W, H, Text, FontSize, Bold, Align);
    }

    void AddTemplateLine(int32_t X, int32_t Y, int32_t W, int32_t LineWidth)
    {
        TLabelElement* E = FDoc.Elements.Add(std::make_unique<TLabelElement>(ekLine));
        E->X = X;
        E->Y = Y;
        E->W = W;
        E->H = LineWidth + 2;
        E->LineWidth = LineWidth;
    }

    void SaveTemplate()
    {
        FDoc.SaveToFile(QDir(FDir).filePath(SafeFileName(FDoc.Name) + kLabelFileExt));
        FDoc.Clear();
    }

private:
    QString FDir;
    TLabelDoc FDoc;
};

}  // namespace

void CreateBuiltinTemplates(const QString& Dir)
{
    TTemplateWriter T(Dir);

    T.Start(QStringLiteral("Namensschild"), 60, true, bpRounded);
    T.AddTemplateText(20, 24, 440, 50, QStringLiteral("HALLO, ich bin"), 34, true, laCenter);
    T.AddTemplateText(10, 110, 460, 120, QStringLiteral("Max Mustermann"), 52, true, laCenter);
    T.AddTemplateLine(60, 260, 360, 3);
    T.AddTemplateText(20, 280, 440, 60, QStringLiteral("Firma / Abteilung"), 30, false, laCenter);
    T.SaveTemplate();

    T.Start(QStringLiteral("Preisschild"), 30, false, bpDoubleFrame);
    T.AddTemplateText(18, 18, 348, 50, QStringLiteral("Artikelbezeichnung"), 30, false, laCenter);
    T.AddTemplateText(18, 70, 348, 110, QStringLiteral("9,99 €"), 88, true, laCenter);
    T.AddTemplateText(18, 186, 348, 34, QStringLiteral("inkl. MwSt."), 22, false, laCenter);
    T.SaveTemplate();

    T.Start(QStringLiteral("Adresse"), 40, false, bpNone);
    T.AddTemplateText(12, 8, 360, 30, QStringLiteral("Absender: Name, Straße 1, 12345 Ort"), 18, false, laLeft);
    T.AddTemplateLine(12, 42, 360, 2);
    T.AddTemplateText(12, 60, 360, 240, QStringLiteral("Vorname Nachname\r\nStraße 12\r\n12345 Musterstadt"), 34,
                      true, laLeft);
    T.SaveTemplate();

    T.Start(QStringLiteral("Achtung zerbrechlich"), 40, false, bpStripes);
    T.AddTemplateText(0, 28, 384, 80, QStringLiteral("ACHTUNG"), 64, true, laCenter)->Inverted = true;
    T.AddTemplateText(10, 124, 364, 150, QStringLiteral("Zerbrechlich!\r\nVorsichtig behandeln"), 40, true,
                      laCenter);
    T.SaveTemplate();

    T.Start(QStringLiteral("Abgefüllt am"), 25, false, bpCorners);
    T.AddTemplateText(20, 20, 344, 50, QStringLiteral("Abgefüllt am"), 34, false, laCenter);
    T.AddTemplateText(20, 80, 344, 90, QStringLiteral("{DATUM}"), 64, true, laCenter);
    T.SaveTemplate();

    T.Start(QStringLiteral("Nummerierung"), 20, false, bpFrame);
    T.AddTemplateText(10, 10, 364, 140, QStringLiteral("Nr. {NR}"), 96, true, laCenter);
    T.SaveTemplate();
}
