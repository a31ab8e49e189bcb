#pragma once
// Thumbnails of labels for the templates panel.

#include <QColor>
#include <QImage>

class TLabelDoc;

// Raised whenever RenderThumbnail or the rendering beneath it draws a label
// differently, so that thumbnails kept on disk from an older drawing are
// made anew.
constexpr int kThumbnailVersion = 1;

// A W x H picture on the list background colour (the palette's base) showing Doc (drawn for the
// screen, copy 1) scaled to fit with 3 dots of margin at least, with a silver
// shadow 2 dots down and right and a one-dot gray frame around it. Errors of
// the rendering pass on. A side below 1 gives a null image.
QImage RenderThumbnail(const TLabelDoc& Doc, int W, int H);

// The same on the given background colour. Pure: safe on any thread, each
// with a document of its own.
QImage RenderThumbnail(const TLabelDoc& Doc, int W, int H, const QColor& Background);
