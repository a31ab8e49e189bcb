#pragma once
// Drag and drop onto the main window: pictures, drawings and PDF documents
// dropped on the canvas become image elements where they fall, dropped on
// the background list they become the background; a label file dropped
// anywhere opens. The work runs once the drop has completed, so that the
// questions it may ask never hold up the program the drag came from.

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QStringList>

class QMimeData;
class QWidget;
class TLabelMainForm;

// What a drag carries that the editor can use.
struct TDropContent {
    QStringList LabelFiles;    // local ".pellwerk" files
    QStringList PictureFiles;  // local pictures, drawings and PDF documents
    QImage Image;              // picture data without a file (a browser, a screenshot tool)

    bool IsEmpty() const { return LabelFiles.isEmpty() && PictureFiles.isEmpty() && Image.isNull(); }
};
TDropContent DropContentOf(const QMimeData& Data);

class TDropTargets : public QObject {
    Q_OBJECT
public:
    // Makes the window, its canvas and its background list drop targets.
    TDropTargets(TLabelMainForm& Form, QWidget* Canvas, QWidget* Backgrounds);

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    enum class TTarget { Window, Canvas, Backgrounds };
    void Handle(TTarget Target, const TDropContent& Content, QPoint CanvasPos);

    TLabelMainForm& FForm;
    QWidget* FCanvas;
    QWidget* FBackgrounds;
};
