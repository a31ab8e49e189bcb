// The label file: its exact text form, the lenient reading rules and the
// file operations.

#include "model/label_doc.h"

#include "model/base64.h"
#include "model/code_layout.h"
#include "model/json_read.h"
#include "model/json_writer.h"
#include "model/model_error.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QSaveFile>

namespace {

const QString kInvalidLabel = QStringLiteral("Keine gültige Etikettendatei");
const char kBom[] = "\xEF\xBB\xBF";

QJsonObject ParseObject(QByteArray Utf8)
{
    bool Ok = false;
    QJsonObject O = JsonParseObject(std::move(Utf8), &Ok);
    if (!Ok)
        throw EModelError(kInvalidLabel);
    return O;
}

// Base64 text of a picture member; missing, empty or not a string = none.
QByteArray PictureBytes(const QJsonObject& O, const QString& Key)
{
    const QString Text = JsonStr(O, Key, QString());
    if (Text.isEmpty())
        return QByteArray();
    return Base64ToBytes(QStringView(Text));
}

int32_t AtLeastOne(int32_t V) { return V <= 0 ? 1 : V; }

// A turn of whole quarters, brought into 0 ... 270; anything else is no turn.
int32_t NormalRotation(int32_t V)
{
    const int32_t R = ((V % 360) + 360) % 360;
    return R % 90 == 0 ? R : 0;
}

// A shared file may hold an element whose far edge lies beyond 32 bits; every
// bounds computation of the editor would then fail on each repaint and mouse
// move. The extent is shortened (and at the very end the position moved) so
// that Pos + Size always fits; ordinary labels never come near this.
void FitExtent(int32_t& Pos, int32_t& Size)
{
    constexpr int32_t Max = std::numeric_limits<int32_t>::max();
    if (Pos > Max - Size) {
        if (Pos == Max)
            Pos = Max - 1;
        Size = Max - Pos;
    }
}

// Writes everything or reports failure; a short write is retried, so a real
// error (such as a full disk) shows as a failed write.
bool WriteAll(QIODevice& Dev, const QByteArray& Data)
{
    qsizetype Done = 0;
    while (Done < Data.size()) {
        const qint64 N = Dev.write(Data.constData() + Done, Data.size() - Done);
        if (N <= 0)
            return false;
        Done += qsizetype(N);
    }
    return true;
}

}  // namespace

// ---- element ----------------------------------------------------------------

void TLabelElement::WriteJSON(TJsonWriter& Wr) const
{
    Wr.BeginObject();
    Wr.IntMember(u"kind", Kind);
    Wr.IntMember(u"x", X);
    Wr.IntMember(u"y", Y);
    Wr.IntMember(u"w", W);
    Wr.IntMember(u"h", H);
    Wr.StringMember(u"text", Text);
    Wr.StringMember(u"font", FontName);
    Wr.IntMember(u"size", FontSize);
    Wr.BoolMember(u"bold", Bold);
    Wr.BoolMember(u"italic", Italic);
    Wr.BoolMember(u"underline", Underline);
    Wr.IntMember(u"align", Align);
    Wr.BoolMember(u"inverted", Inverted);
    Wr.IntMember(u"lineWidth", LineWidth);
    Wr.BoolMember(u"filled", Filled);
    Wr.BoolMember(u"dither", Dither);
    Wr.BoolMember(u"keepAspect", KeepAspect);
    if (Rotation != 0)
        Wr.IntMember(u"rotation", Rotation);
    if (!FImagePng.isEmpty())
        Wr.Base64Member(u"image", FImagePng);
    // Only code elements carry these, so files without codes keep their
    // exact earlier form.
    if (Kind == ekCode) {
        Wr.StringMember(u"codeType", CodeTypeKey(CodeType));
        Wr.StringMember(u"codeEcc", CodeEccKey(CodeEcc));
        Wr.BoolMember(u"codeShowText", CodeShowText);
        Wr.IntMember(u"codeModule", CodeModule);
    }
    Wr.EndObject();
}

// The written form is the one source of member names and values; the object
// is that text read back.
QJsonObject TLabelElement::ToJSON() const
{
    TJsonWriter Wr;
    WriteJSON(Wr);
    return ParseObject(Wr.Text());
}

std::unique_ptr<TLabelElement> TLabelElement::FromJSON(const QJsonObject& O)
{
    const auto AKind = static_cast<TElemKind>(JsonClamp(JsonInt(O, QStringLiteral("kind"), 0), 0, 5));
    auto E = std::make_unique<TLabelElement>(AKind);
    E->X = JsonInt(O, QStringLiteral("x"), 0);
    E->Y = JsonInt(O, QStringLiteral("y"), 0);
    E->W = AtLeastOne(JsonInt(O, QStringLiteral("w"), 100));
    E->H = AtLeastOne(JsonInt(O, QStringLiteral("h"), 40));
    FitExtent(E->X, E->W);
    FitExtent(E->Y, E->H);
    E->Text = JsonStr(O, QStringLiteral("text"), QString());
    E->FontName = JsonStr(O, QStringLiteral("font"), QStringLiteral("Arial"));
    E->FontSize = JsonInt(O, QStringLiteral("size"), 32);
    E->Bold = JsonBool(O, QStringLiteral("bold"), false);
    E->Italic = JsonBool(O, QStringLiteral("italic"), false);
    E->Underline = JsonBool(O, QStringLiteral("underline"), false);
    E->Align = static_cast<TLblAlign>(JsonClamp(JsonInt(O, QStringLiteral("align"), 1), 0, 2));
    E->Inverted = JsonBool(O, QStringLiteral("inverted"), false);
    E->LineWidth = AtLeastOne(JsonInt(O, QStringLiteral("lineWidth"), 3));
    E->Filled = JsonBool(O, QStringLiteral("filled"), false);
    E->Dither = JsonBool(O, QStringLiteral("dither"), true);
    E->KeepAspect = JsonBool(O, QStringLiteral("keepAspect"), true);
    E->Rotation = NormalRotation(JsonInt(O, QStringLiteral("rotation"), 0));
    E->SetImagePng(PictureBytes(O, QStringLiteral("image")));
    E->CodeType = CodeTypeFromKey(JsonStr(O, QStringLiteral("codeType"), QString()));
    E->CodeEcc = CodeEccFromKey(JsonStr(O, QStringLiteral("codeEcc"), QString()));
    E->CodeShowText = JsonBool(O, QStringLiteral("codeShowText"), true);
    E->CodeModule = JsonClamp(JsonInt(O, QStringLiteral("codeModule"), 0), 0, kCodeModuleMax);
    return E;
}

// ---- document ---------------------------------------------------------------

QByteArray TLabelDoc::ToJSONUtf8() const
{
    TJsonWriter Wr;
    Wr.BeginObject();
    Wr.StringMember(u"format", u"MirvoPellwerk");
    Wr.IntMember(u"version", 1);
    Wr.StringMember(u"name", Name);
    Wr.IntMember(u"lengthMm", LengthMm);
    Wr.BoolMember(u"landscape", Landscape);
    Wr.IntMember(u"bgPreset", BgPreset);
    Wr.IntMember(u"bgMode", BgMode);
    Wr.BoolMember(u"bgDither", BgDither);
    Wr.IntMember(u"bgLighten", BgLighten);
    if (!FBgPng.isEmpty())
        Wr.Base64Member(u"bgImage", FBgPng);
    Wr.Key(u"elements");
    Wr.BeginArray();
    for (const auto& E : Elements)
        E->WriteJSON(Wr);
    Wr.EndArray();
    // Only labels with a data merge carry it, so every other file stays as
    // it always was.
    if (!DataFile.isEmpty())
        Wr.StringMember(u"dataFile", DataFile);
    Wr.EndObject();
    return Wr.Text();
}

QString TLabelDoc::ToJSONString() const
{
    // The text is pure ASCII, so Latin-1 is the cheapest exact conversion.
    return QString::fromLatin1(ToJSONUtf8());
}

void TLabelDoc::FromJSONString(const QString& S)
{
    ReadJSON(S.toUtf8(), Name);
}

void TLabelDoc::ReadJSON(QByteArray Utf8, const QString& DefaultName)
{
    const QJsonObject O = ParseObject(std::move(Utf8));

    // Everything is read first and assigned at the end, so the document is
    // never left half replaced.
    std::vector<std::unique_ptr<TLabelElement>> NewElements;
    const QJsonValue Arr = O.value(QStringLiteral("elements"));
    if (Arr.isArray())
        for (const QJsonValue V : Arr.toArray())
            if (V.isObject())
                NewElements.push_back(TLabelElement::FromJSON(V.toObject()));
    const QByteArray NewBgPng = PictureBytes(O, QStringLiteral("bgImage"));

    Elements.Clear();
    Name = JsonStr(O, QStringLiteral("name"), DefaultName);
    LengthMm = JsonClamp(JsonInt(O, QStringLiteral("lengthMm"), 30), 5, 1000);
    Landscape = JsonBool(O, QStringLiteral("landscape"), false);
    BgPreset = static_cast<TBgPreset>(JsonClamp(JsonInt(O, QStringLiteral("bgPreset"), 0), 0, 7));
    BgMode = static_cast<TBgMode>(JsonClamp(JsonInt(O, QStringLiteral("bgMode"), 1), 0, 2));
    BgDither = JsonBool(O, QStringLiteral("bgDither"), true);
    BgLighten = JsonClamp(JsonInt(O, QStringLiteral("bgLighten"), 0), 0, 95);
    SetBgPng(NewBgPng);
    DataFile = JsonStr(O, QStringLiteral("dataFile"), QString());
    for (auto& E : NewElements)
        Elements.Add(std::move(E));
}

void TLabelDoc::SaveToFile(const QString& AFileName)
{
    // A data file named relative to the old place is named anew for the new
    // one; the old form comes back when the file cannot be written.
    const QString OldDataFile = DataFile;
    RebaseDataFile(AFileName);
    const QByteArray Text = ToJSONUtf8();
    DataFile = OldDataFile;
    const QString Fail = QStringLiteral("Die Datei \"%1\" konnte nicht gespeichert werden").arg(AFileName);

    // Written to a temporary file beside the target and renamed over it only
    // when complete: a crash or a full disk leaves the old file as it was.
    // Unbuffered: a buffered flush that hits a full disk can report success
    // after writing only part of the data, and the short file would then
    // replace the good one.
    QSaveFile F(AFileName);
    if (!F.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw EModelError(Fail);
    if (!WriteAll(F, QByteArray::fromRawData(kBom, 3)) || !WriteAll(F, Text)) {
        F.cancelWriting();
        throw EModelError(Fail);
    }
    if (!F.commit())
        throw EModelError(Fail);

    RebaseDataFile(AFileName);
    FileName = AFileName;
    Modified = false;
}

void TLabelDoc::LoadFromFile(const QString& AFileName)
{
    const QFileInfo Info(AFileName);
    if (!Info.isFile())
        throw EModelError(QStringLiteral("Die Datei \"%1\" wurde nicht gefunden").arg(AFileName));
    QFile F(AFileName);
    if (!F.open(QIODevice::ReadOnly))
        throw EModelError(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden").arg(AFileName));
    QByteArray Bytes = F.readAll();
    if (F.error() != QFileDevice::NoError)
        throw EModelError(QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden").arg(AFileName));
    F.close();
    LoadFromBytes(std::move(Bytes), AFileName);
}

void TLabelDoc::LoadFromBytes(QByteArray Bytes, const QString& AFileName)
{
    if (Bytes.startsWith(kBom))
        Bytes.remove(0, 3);
    // Clean UTF-8 goes to the parser as it is; anything else first takes the
    // text decoder's replacements, as every label file always has. A photo
    // label is megabytes of text, so the round trip is worth skipping.
    if (!QByteArrayView(Bytes).isValidUtf8())
        Bytes = QString::fromUtf8(Bytes).toUtf8();
    ReadJSON(std::move(Bytes), LabelNameFromFileName(AFileName));
    FileName = AFileName;
    Modified = false;
}

QString LabelNameFromFileName(const QString& AFileName)
{
    // A file without a "name" member is called after the file: everything
    // from the last dot of the file name on is dropped.
    const QString Base = QFileInfo(AFileName).fileName();
    const int Dot = Base.lastIndexOf(QLatin1Char('.'));
    return Dot >= 0 ? Base.left(Dot) : Base;
}
