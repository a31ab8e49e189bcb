#pragma once
// The label document: one strip of paper 48 mm wide and LengthMm long, an
// optional background and an ordered list of elements. All coordinates are
// printer dots of the design area (8 dots = 1 mm, origin top left, y down).
//
// Pictures are held as the complete bytes of a PNG file; the decoded QImage is
// only a cache, rebuilt on demand after every change of the bytes.

#include "model/code_types.h"

#include <QByteArray>
#include <QImage>
#include <QJsonObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class QPainter;
class TJsonWriter;
class TPictureSource;
struct TNbMonoImage;
struct TMergeRecord;

// Ordinals are stored in label files: never renumber.
enum TElemKind : int32_t { ekText = 0, ekImage = 1, ekRect = 2, ekEllipse = 3, ekLine = 4, ekCode = 5 };
enum TLblAlign : int32_t { laLeft = 0, laCenter = 1, laRight = 2 };
enum TBgPreset : int32_t {
    bpNone = 0,
    bpFrame = 1,
    bpDoubleFrame = 2,
    bpRounded = 3,
    bpDotted = 4,
    bpCorners = 5,
    bpStripes = 6,
    bpImage = 7
};
enum TBgMode : int32_t { bmFit = 0, bmFill = 1, bmStretch = 2 };

// A rectangle in dots with exclusive right and bottom edges. QRect keeps an
// inclusive right()/bottom(), which invites off-by-one slips in the drawing
// code, so the model hands out this form and converts on request.
struct TDotRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;   // exclusive
    int32_t Bottom = 0;  // exclusive

    int32_t Width() const;   // raises on overflow
    int32_t Height() const;  // raises on overflow
    QRect ToQRect() const { return QRect(Left, Top, Width(), Height()); }
    bool operator==(const TDotRect&) const = default;
};

class TLabelElement {
public:
    explicit TLabelElement(TElemKind AKind);
    ~TLabelElement();

    TLabelElement(const TLabelElement&) = delete;
    TLabelElement& operator=(const TLabelElement&) = delete;

    // The decoded picture, or a null QImage when there is none. Decodes and
    // caches on first use; raises EModelError when the bytes are no valid PNG
    // (the cache stays empty, so the next call tries again). The reference
    // stays valid until the bytes change.
    const QImage& Image() const;
    const QByteArray& ImagePng() const { return FImagePng; }
    void SetImagePng(const QByteArray& ABytes);
    // Imports a picture file (longer side at most 1200 dots) as PNG bytes;
    // a drawing or a PDF page (APage, from 1) is drawn at the element's box.
    // On any error the element keeps its old picture.
    void LoadImageFromFile(const QString& AFileName, int APage = 1);
    // The same from an opened file, its page already chosen.
    void LoadImageFrom(const TPictureSource& ASource);

    TDotRect BoundsRect() const;  // raises on overflow of X + W or Y + H
    QString KindName() const;

    QJsonObject ToJSON() const;
    static std::unique_ptr<TLabelElement> FromJSON(const QJsonObject& O);
    std::unique_ptr<TLabelElement> Clone() const;

    // The element object in its exact written form.
    void WriteJSON(TJsonWriter& W) const;

private:
    mutable QImage FImage;
    QByteArray FImagePng;

public:
    TElemKind Kind;
    int32_t X = 16;
    int32_t Y = 16;
    int32_t W = 120;
    int32_t H = 60;
    QString Text;
    QString FontName = QStringLiteral("Arial");
    int32_t FontSize = 32;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    TLblAlign Align = laCenter;
    bool Inverted = false;
    int32_t LineWidth = 3;
    bool Filled = false;
    bool Dither = true;
    bool KeepAspect = true;
    // Code elements: the data is Text, placeholders filled in at every draw.
    TCodeType CodeType = ctQr;
    TCodeEcc CodeEcc = ceM;    // QR codes only
    bool CodeShowText = true;  // bar codes: the human-readable line
    int32_t CodeModule = 0;    // dots per module; 0 = the largest that fits
    // Text and pictures: clockwise turn in degrees, 0, 90, 180 or 270. Files
    // carry it only when it is not 0, so labels without turns stay as they were.
    int32_t Rotation = 0;
};

// The document's owning list of elements. Drawing order: the first element
// lies at the bottom, the last on top. Index errors raise EModelError.
class TElementList {
public:
    using TItems = std::vector<std::unique_ptr<TLabelElement>>;

    int Count() const { return static_cast<int>(FItems.size()); }
    bool IsEmpty() const { return FItems.empty(); }
    TLabelElement* operator[](int Index) const { return At(Index); }
    TLabelElement* At(int Index) const;
    // Appends at the end (on top) and returns the element, now owned by the list.
    TLabelElement* Add(std::unique_ptr<TLabelElement> AElement);
    int IndexOf(const TLabelElement* AElement) const;  // -1 when not in the list
    // Removes and frees the element; false when it is not in the list.
    bool Remove(const TLabelElement* AElement);
    void Delete(int Index);
    void Exchange(int Index1, int Index2);
    void Clear() { FItems.clear(); }

    // Iteration yields const std::unique_ptr<TLabelElement>&.
    TItems::const_iterator begin() const { return FItems.begin(); }
    TItems::const_iterator end() const { return FItems.end(); }

private:
    void CheckIndex(int Index) const;
    TItems FItems;
};

class TLabelDoc {
public:
    TLabelDoc();
    ~TLabelDoc();

    TLabelDoc(const TLabelDoc&) = delete;
    TLabelDoc& operator=(const TLabelDoc&) = delete;

    // Back to a new label: "Neues Etikett", 30 mm, portrait, no background,
    // no elements, not modified.
    void Clear();

    int32_t DesignWidth() const;   // raises on overflow of LengthMm * 8
    int32_t DesignHeight() const;  // raises on overflow of LengthMm * 8
    // Topmost element whose bounds, widened by 4 dots on every side, contain P.
    TLabelElement* HitTest(QPoint P) const;

    const QImage& BgImage() const;  // as TLabelElement::Image, for the background
    const QByteArray& BgPng() const { return FBgPng; }
    void SetBgPng(const QByteArray& ABytes);
    // Imports a picture file as the background and switches to bpImage; a
    // drawing or a PDF page (APage, from 1) is drawn to cover the design area.
    // On any error the document stays unchanged.
    void LoadBackgroundFromFile(const QString& AFileName, int APage = 1);
    void LoadBackgroundFrom(const TPictureSource& ASource);

    // Rendering (label_render.cpp, mono_convert.cpp). With a record, the
    // fields of the texts show that record's values (fields.h).
    void RenderTo(QImage& Bmp, bool ForPrint, int CopyNo, const TMergeRecord* Record = nullptr) const;
    QImage RenderBitmap(bool ForPrint, int CopyNo, const TMergeRecord* Record = nullptr) const;
    TNbMonoImage RenderMono(int CopyNo, const TMergeRecord* Record = nullptr) const;

    // The label file's text form (pure 7-bit ASCII) and the reading rules.
    QString ToJSONString() const;
    QByteArray ToJSONUtf8() const;
    // Replaces the content from S; raises "Keine gültige Etikettendatei" when
    // S is not a JSON object, leaving the document untouched. FileName and
    // Modified are not changed.
    void FromJSONString(const QString& S);
    // Writes byte-order mark and text through a temporary file that replaces
    // AFileName only when complete; on failure the old file stays and
    // FileName and Modified are unchanged.
    void SaveToFile(const QString& AFileName);
    // On failure the document is left exactly as it was.
    void LoadFromFile(const QString& AFileName);
    // The same from the file's bytes, already read (byte-order mark and all).
    void LoadFromBytes(QByteArray Bytes, const QString& AFileName);

    // The data file of a merge as an absolute path (empty: none), and setting
    // it: stored relative to the label file's folder when it lies in it or
    // below, absolute otherwise (label_data_file.cpp).
    QString DataFilePath() const;
    void SetDataFilePath(const QString& APath);

private:
    void RebaseDataFile(const QString& ANewFileName);
    void DrawBackground(QPainter& Canvas, bool ForPrint) const;
    void DrawElement(QPainter& Canvas, const TLabelElement& E, int CopyNo, bool ForPrint,
                     const TMergeRecord* Record) const;
    void ReadJSON(QByteArray Utf8, const QString& DefaultName);

    mutable QImage FBgImage;
    QByteArray FBgPng;

public:
    QString Name;
    QString FileName;
    int32_t LengthMm = 30;
    bool Landscape = false;
    TBgPreset BgPreset = bpNone;
    TBgMode BgMode = bmFill;
    bool BgDither = true;
    int32_t BgLighten = 0;
    TElementList Elements;
    // The data file as the label file holds it: relative to the label's
    // folder, or absolute; empty without a data merge.
    QString DataFile;
    bool Modified = false;
};

// The name a label file without a "name" member is known by: its file name
// without the extension.
QString LabelNameFromFileName(const QString& AFileName);
