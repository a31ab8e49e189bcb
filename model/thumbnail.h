#pragma once
// Thumbnails of labels for the templates panel.

#include <QColor>
#include <QImage>

class TLabelDoc;

// A W x H picture on the list background colour (the palette's base) showing Doc (drawn for the
// screen, copy 1) scaled to fit with 3 dots of margin at least, with a silver
// shadow 2 dots down and right and a one-dot gray frame around it. Errors of
// the rendering pass on. A side below 1 gives a null image.
QImage RenderThumbnail(const TLabelDoc& Doc, int W, int H);

// The same on the given background colour.
QImage RenderThumbnail(const TLabelDoc& Doc, int W, int H, const QColor& Background);
