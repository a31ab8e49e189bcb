#pragma once
// Drawing a code element dot-exact: every module a whole number of dots,
// black on white, never smoothed. Data that cannot become a code that scans
// shows a marked error box with the reason instead.

#include "model/label_doc.h"

class QPainter;

void DrawCodeElement(QPainter& Canvas, const TLabelElement& E, const TDotRect& B, int CopyNo,
                     const TMergeRecord* Record = nullptr);
