#pragma once
// A label made on the fly from a picture, an SVG drawing or a PDF page, so
// that a photo or a courier's shipping label prints without the editor.

#include "model/label_doc.h"

#include <QString>

#include <memory>
#include <optional>

// How the picture meets the label: across the paper's whole width (the
// label as long as that needs), or along the label's length.
enum TPictureFit : int32_t { pfWidth = 0, pfLength = 1 };

struct TPictureLabelOptions {
    int Page = 1;                // PDF page, from 1
    TPictureFit Fit = pfWidth;
    std::optional<bool> Dither;  // default: on for photos, off for drawings and PDF pages
    int32_t LengthMm = 0;        // 0: as long as the picture needs (5..1000 mm)
};

// A portrait label holding the picture as one image element, centred, as
// large as the fit allows without leaving the label. Raises EModelError
// with the German reason when the file cannot be used.
std::unique_ptr<TLabelDoc> BuildPictureLabel(const QString& FileName, const TPictureLabelOptions& Options);
