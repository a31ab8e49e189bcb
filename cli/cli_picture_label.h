#pragma once
// Pictures, SVG drawings and PDF pages given where a label is expected:
// "pellwerk-cli print versandetikett.pdf" builds the label on the fly.

#include <QString>

#include <memory>

class TLabelDoc;
struct TCliArgs;

// True for an existing file that is no label file and whose extension or
// content makes it a picture, a drawing or a PDF document.
bool IsPictureArgument(const QString& Path);

// The label named by the first plain argument: a label file or template
// (LoadLabel), or one built from a picture with --page, --fit, --dither /
// --no-dither and --length-mm. Those options with a label file are a usage
// error; a picture that cannot be used raises "Bild "…" konnte nicht
// geladen werden: " and the reason.
std::unique_ptr<TLabelDoc> LoadLabelOrPicture(const TCliArgs& A);
