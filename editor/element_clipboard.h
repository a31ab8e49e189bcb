#pragma once
// Elements on the clipboard: our own MIME type holding the elements' JSON
// (the element objects of the label file), so they travel between labels
// and between running programs without loss, and a PNG picture of them for
// every other program. No widgets involved, so it can be checked alone.

#include "model/label_doc.h"

#include <QImage>
#include <QMimeData>
#include <QString>

#include <memory>
#include <vector>

namespace clipboard {

extern const QString ElementsMimeType;

// The MIME data for Elems, which lie on Doc (its size and the drawing of
// the picture); the picture shows just these elements, cut to their bounds.
std::unique_ptr<QMimeData> ElementsToMime(const TLabelDoc& Doc, const std::vector<const TLabelElement*>& Elems);
// The picture alone: Elems drawn on white, cut to their bounds within the label.
QImage ElementsPicture(const TLabelDoc& Doc, const std::vector<const TLabelElement*>& Elems);
// The elements of our own MIME type, in their order; empty when Data holds
// none or holds something unreadable.
std::vector<std::unique_ptr<TLabelElement>> ElementsFromMime(const QMimeData& Data);

// Pasted elements keep their position unless an element of the label has
// the very bounds of one of them already; then they move on by 4 dots right
// and down until no copy would hide exactly behind an element. The offset
// applied, in dots on each axis.
int32_t PlacePasted(const TElementList& Existing, const std::vector<std::unique_ptr<TLabelElement>>& Pasted);

} // namespace clipboard
