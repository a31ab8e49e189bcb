#pragma once
// Pictures on the label: placing a picture in its box (fit, fill, stretch),
// lightening and dithering, and the halftone scaling behind both.

#include "model/label_doc.h"

#include <QImage>
#include <QRect>

class QPainter;

// Where a PW x PH picture lands inside a BW x BH box, in box coordinates:
// bmFit and bmFill scale uniformly by the smaller or larger of the two ratios
// and centre the result (a bmFill picture overhangs on two sides, so X or Y
// is negative); bmStretch covers the box exactly. All sides positive.
struct TPicturePlacement {
    int64_t X = 0;
    int64_t Y = 0;
    int64_t W = 0;
    int64_t H = 0;
};
TPicturePlacement PlacePicture(int32_t PW, int32_t PH, int32_t BW, int32_t BH, TBgMode Mode);

// The part Window (box coordinates) of a BW x BH box holding Pic placed by
// Mode, as a Window-sized bitmap on white. Shrinking averages the source
// pixels (halftone); enlarging replicates them. Only the window is ever
// allocated, however far the scaled picture reaches beyond it.
QImage RenderPlacedPicture(const QImage& Pic, int32_t BW, int32_t BH, TBgMode Mode, const QRect& Window);

// Halftone stretching of a whole picture to W x H (thumbnails).
QImage StretchHalftone(const QImage& Pic, int32_t W, int32_t H);

// Draws Pic into R of Canvas (device dots, no transform) by Mode. The whole
// of R becomes opaque: what the picture leaves free is white. Pictures are
// turned gray when LightenPct > 0 and dithered to black and white when both
// Dither and ForPrint are set. Nothing is drawn for an empty R or picture.
// A box larger than the whole canvas is worked on only where it meets the
// canvas, and its error diffusion starts at that part's top-left corner.
void DrawPicture(QPainter& Canvas, const QImage& Pic, const TDotRect& R, int LightenPct, bool Dither,
                 bool ForPrint, TBgMode Mode);

// Turns Bmp in place into gray, lightened by LightenPct percent towards white
// (a gray level g becomes g + LightenPct * (255 - g) div 100; percentages
// above 100 count as 100), and with Dither into pure black and white by error
// diffusion at threshold 128.
void ApplyLightenDither(QImage& Bmp, int LightenPct, bool Dither);
