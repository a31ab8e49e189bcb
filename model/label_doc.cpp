#include "model/label_doc.h"

#include "model/dot_math.h"
#include "model/model_error.h"
#include "model/picture_io.h"
#include "model/picture_source.h"

// ---- TDotRect ---------------------------------------------------------------

int32_t TDotRect::Width() const { return DotSub(Right, Left); }
int32_t TDotRect::Height() const { return DotSub(Bottom, Top); }

// ---- TLabelElement ----------------------------------------------------------

TLabelElement::TLabelElement(TElemKind AKind) : Kind(AKind) {}

TLabelElement::~TLabelElement() = default;

const QImage& TLabelElement::Image() const
{
    if (FImage.isNull() && !FImagePng.isEmpty())
        FImage = PngToBitmap(FImagePng);  // on error the cache stays empty
    return FImage;
}

void TLabelElement::SetImagePng(const QByteArray& ABytes)
{
    FImagePng = ABytes;
    FImage = QImage();
}

void TLabelElement::LoadImageFromFile(const QString& AFileName, int APage)
{
    TPictureSource Source(AFileName, kPictureMaxSide);
    Source.SelectPage(APage);
    LoadImageFrom(Source);
}

void TLabelElement::LoadImageFrom(const TPictureSource& ASource)
{
    const QByteArray Png = BitmapToPng(ASource.RenderFitting(QSize(W, H)));
    SetImagePng(Png);
}

TDotRect TLabelElement::BoundsRect() const
{
    return TDotRect{X, Y, DotAdd(X, W), DotAdd(Y, H)};
}

QString TLabelElement::KindName() const
{
    switch (Kind) {
    case ekText: return QStringLiteral("Text");
    case ekImage: return QStringLiteral("Bild");
    case ekRect: return QStringLiteral("Rechteck");
    case ekEllipse: return QStringLiteral("Ellipse");
    case ekLine: return QStringLiteral("Linie");
    case ekCode: return QStringLiteral("Code");
    }
    throw EModelError(QStringLiteral("Unbekannte Elementart %1").arg(int(Kind)));
}

std::unique_ptr<TLabelElement> TLabelElement::Clone() const
{
    return FromJSON(ToJSON());
}

// ---- TElementList -----------------------------------------------------------

void TElementList::CheckIndex(int Index) const
{
    if (Index < 0 || Index >= Count())
        throw EModelError(QStringLiteral("Listenindex außerhalb des gültigen Bereichs (%1)").arg(Index));
}

TLabelElement* TElementList::At(int Index) const
{
    CheckIndex(Index);
    return FItems[size_t(Index)].get();
}

TLabelElement* TElementList::Add(std::unique_ptr<TLabelElement> AElement)
{
    if (!AElement)
        throw EModelError(QStringLiteral("Kein Element angegeben"));
    FItems.push_back(std::move(AElement));
    return FItems.back().get();
}

int TElementList::IndexOf(const TLabelElement* AElement) const
{
    for (size_t I = 0; I < FItems.size(); ++I)
        if (FItems[I].get() == AElement)
            return int(I);
    return -1;
}

bool TElementList::Remove(const TLabelElement* AElement)
{
    const int I = IndexOf(AElement);
    if (I < 0)
        return false;
    Delete(I);
    return true;
}

void TElementList::Delete(int Index)
{
    CheckIndex(Index);
    FItems.erase(FItems.begin() + Index);
}

void TElementList::Exchange(int Index1, int Index2)
{
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FItems[size_t(Index1)], FItems[size_t(Index2)]);
}

// ---- TLabelDoc --------------------------------------------------------------

TLabelDoc::TLabelDoc() { Clear(); }

TLabelDoc::~TLabelDoc() = default;

void TLabelDoc::Clear()
{
    Elements.Clear();
    Name = QStringLiteral("Neues Etikett");
    FileName.clear();
    LengthMm = 30;
    Landscape = false;
    BgPreset = bpNone;
    BgMode = bmFill;
    BgDither = true;
    BgLighten = 0;
    SetBgPng(QByteArray());
    DataFile.clear();
    Modified = false;
}

int32_t TLabelDoc::DesignWidth() const
{
    return Landscape ? DotMul(LengthMm, 8) : 384;
}

int32_t TLabelDoc::DesignHeight() const
{
    return Landscape ? 384 : DotMul(LengthMm, 8);
}

TLabelElement* TLabelDoc::HitTest(QPoint P) const
{
    // 64-bit edges: an element far out at the 32-bit limit is simply missed
    // instead of making every mouse move over the canvas fail.
    for (int I = Elements.Count() - 1; I >= 0; --I) {
        TLabelElement* E = Elements[I];
        const int64_t L = int64_t(E->X) - 4;
        const int64_t T = int64_t(E->Y) - 4;
        const int64_t R = int64_t(E->X) + E->W + 4;
        const int64_t B = int64_t(E->Y) + E->H + 4;
        if (P.x() >= L && P.x() < R && P.y() >= T && P.y() < B)
            return E;
    }
    return nullptr;
}

const QImage& TLabelDoc::BgImage() const
{
    if (FBgImage.isNull() && !FBgPng.isEmpty())
        FBgImage = PngToBitmap(FBgPng);
    return FBgImage;
}

void TLabelDoc::SetBgPng(const QByteArray& ABytes)
{
    FBgPng = ABytes;
    FBgImage = QImage();
}

void TLabelDoc::LoadBackgroundFromFile(const QString& AFileName, int APage)
{
    TPictureSource Source(AFileName, kPictureMaxSide);
    Source.SelectPage(APage);
    LoadBackgroundFrom(Source);
}

void TLabelDoc::LoadBackgroundFrom(const TPictureSource& ASource)
{
    const QByteArray Png = BitmapToPng(ASource.RenderCovering(QSize(DesignWidth(), DesignHeight())));
    SetBgPng(Png);
    BgPreset = bpImage;
}
