#include "editor/element_clipboard.h"

#include "model/dot_math.h"
#include "model/json_read.h"
#include "model/json_writer.h"

#include <QBuffer>
#include <QJsonArray>
#include <algorithm>

namespace clipboard {

const QString ElementsMimeType = QStringLiteral("application/x-mirvo-pellwerk-elements");

namespace {

constexpr int32_t PasteStep = 4;
// Far more copies on one spot than anybody pastes; beyond it they stack.
constexpr int MaxPasteSteps = 1000;

QByteArray ElementsJson(const std::vector<const TLabelElement*>& Elems)
{
    TJsonWriter Wr;
    Wr.BeginObject();
    Wr.StringMember(u"format", u"MirvoPellwerkElements");
    Wr.IntMember(u"version", 1);
    Wr.Key(u"elements");
    Wr.BeginArray();
    for (const TLabelElement* E : Elems)
        E->WriteJSON(Wr);
    Wr.EndArray();
    Wr.EndObject();
    return Wr.Text();
}

bool SameBounds(const TLabelElement& A, const TLabelElement& B, int32_t Offset)
{
    return A.X == B.X + int64_t(Offset) && A.Y == B.Y + int64_t(Offset) && A.W == B.W && A.H == B.H;
}

} // namespace

QImage ElementsPicture(const TLabelDoc& Doc, const std::vector<const TLabelElement*>& Elems)
{
    if (Elems.empty())
        return QImage();
    TLabelDoc tmp;
    tmp.LengthMm = Doc.LengthMm;
    tmp.Landscape = Doc.Landscape;
    QRect bounds;
    for (const TLabelElement* E : Elems) {
        tmp.Elements.Add(E->Clone());
        bounds = bounds.united(E->BoundsRect().ToQRect());
    }
    const QImage full = tmp.RenderBitmap(false, 1);
    const QRect cut = bounds.intersected(full.rect());
    return cut.isEmpty() ? QImage() : full.copy(cut);
}

std::unique_ptr<QMimeData> ElementsToMime(const TLabelDoc& Doc, const std::vector<const TLabelElement*>& Elems)
{
    auto data = std::make_unique<QMimeData>();
    data->setData(ElementsMimeType, ElementsJson(Elems));
    // A picture that does not decode must not cost the user the copy itself.
    try {
        const QImage pic = ElementsPicture(Doc, Elems);
        if (!pic.isNull()) {
            QByteArray png;
            QBuffer buf(&png);
            buf.open(QIODevice::WriteOnly);
            if (pic.save(&buf, "PNG"))
                data->setData(QStringLiteral("image/png"), png);
        }
    } catch (const std::exception&) {
    }
    return data;
}

std::vector<std::unique_ptr<TLabelElement>> ElementsFromMime(const QMimeData& Data)
{
    std::vector<std::unique_ptr<TLabelElement>> out;
    if (!Data.hasFormat(ElementsMimeType))
        return out;
    bool ok = false;
    const QJsonObject O = JsonParseObject(Data.data(ElementsMimeType), &ok);
    if (!ok)
        return out;
    for (const QJsonValue v : O.value(QStringLiteral("elements")).toArray())
        if (v.isObject())
            out.push_back(TLabelElement::FromJSON(v.toObject()));
    return out;
}

int32_t PlacePasted(const TElementList& Existing, const std::vector<std::unique_ptr<TLabelElement>>& Pasted)
{
    const auto taken = [&](int32_t offset) {
        for (const auto& p : Pasted)
            for (const auto& e : Existing)
                if (SameBounds(*e, *p, offset))
                    return true;
        return false;
    };
    int32_t offset = 0;
    for (int i = 0; i < MaxPasteSteps && taken(offset); ++i)
        offset = DotAdd(offset, PasteStep);
    for (const auto& p : Pasted) {
        const int32_t x = DotAdd(p->X, offset);
        const int32_t y = DotAdd(p->Y, offset);
        // The far edges must still be countable, or nothing changes at all.
        (void)DotAdd(x, p->W);
        (void)DotAdd(y, p->H);
    }
    for (const auto& p : Pasted) {
        p->X += offset;
        p->Y += offset;
    }
    return offset;
}

} // namespace clipboard
