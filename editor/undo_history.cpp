// The undo history: whole-document snapshots, oldest first, with bursts of
// small edits on one selection merged into a single step.
#include "editor/label_main_form.h"
#include "model/label_doc.h"

namespace {
constexpr int MaxUndo = 50;
constexpr uint64_t MergeWindowMs = 1500;
} // namespace

void TLabelMainForm::PushUndo()
{
    const QString S = FDoc->ToJSONString();
    // Nothing changed since the last snapshot: a second copy would be an
    // undo step that does nothing.
    if (!FUndo.isEmpty() && FUndo.last() == S)
        return;
    FUndo.append(S);
    while (FUndo.size() > MaxUndo)
        FUndo.removeFirst();
    FLastUndoTick = 0;
}

void TLabelMainForm::PushUndoMerged()
{
    const uint64_t now = TickMs();
    // An emptied history (new label, opened template) has no step left to
    // continue, even when the last edit before it was a moment ago.
    const bool continues = FLastUndoTick != 0 && !FUndo.isEmpty() && FLastUndoElem == FSel
                           && now >= FLastUndoTick && now - FLastUndoTick < MergeWindowMs;
    if (!continues) {
        PushUndo();
        FLastUndoElem = FSel;
    }
    FLastUndoTick = now;
}

void TLabelMainForm::Undo()
{
    if (FUndo.isEmpty()) {
        SetStatus(3, QStringLiteral("Nichts mehr rückgängig zu machen"));
        return;
    }
    const int i = FSel ? FDoc->Elements.IndexOf(FSel) : -1;
    const QString S = FUndo.last();
    const QString fileName = FDoc->FileName;
    // The snapshot leaves the history only once it has been applied.
    FDoc->FromJSONString(S);
    FUndo.removeLast();
    FDoc->FileName = fileName;
    FDoc->Modified = true;
    // The restored elements are new objects: nothing may still point at the old ones.
    FSel = nullptr;
    FDrag = edNone;
    if (i >= 0 && i < FDoc->Elements.Count())
        FSel = FDoc->Elements[i];
    FLastUndoTick = 0;
    RefreshAll();
}
