// The undo history: whole-document snapshots, oldest first, with bursts of
// small edits on one selection merged into a single step; and the redo
// history of the steps taken back, emptied by the next edit.
#include "editor/label_main_form.h"
#include "model/label_doc.h"

namespace {
constexpr int MaxUndo = 50;
constexpr uint64_t MergeWindowMs = 1500;
} // namespace

void TLabelMainForm::PushUndo()
{
    const QString S = FDoc->ToJSONString();
    // Every snapshot comes right before an edit, and an edit makes the undone
    // steps meaningless.
    FRedo.clear();
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

namespace {
// Moves one snapshot from one history to the other: the document becomes the
// newest entry of From, and its state before that joins To (at most MaxUndo).
void Restore(TLabelDoc& Doc, QStringList& From, QStringList& To)
{
    const QString current = Doc.ToJSONString();
    const QString S = From.last();
    const QString fileName = Doc.FileName;
    // The snapshot leaves its history only once it has been applied.
    Doc.FromJSONString(S);
    From.removeLast();
    To.append(current);
    while (To.size() > MaxUndo)
        To.removeFirst();
    Doc.FileName = fileName;
    Doc.Modified = true;
}
} // namespace

void TLabelMainForm::Undo()
{
    if (FUndo.isEmpty()) {
        SetStatus(3, QStringLiteral("Nichts mehr rückgängig zu machen"));
        return;
    }
    const int primary = FSel ? FDoc->Elements.IndexOf(FSel) : -1;
    const std::vector<int> selected = SelectionIndices();
    Restore(*FDoc, FUndo, FRedo);
    // The restored elements are new objects: nothing may still point at the old
    // ones. The selection stays at the same list positions.
    FDrag = edNone;
    RestoreSelection(selected, primary);
    FLastUndoTick = 0;
    RefreshAll();
}

void TLabelMainForm::Redo()
{
    if (FRedo.isEmpty()) {
        SetStatus(3, QStringLiteral("Nichts zum Wiederholen"));
        return;
    }
    const int primary = FSel ? FDoc->Elements.IndexOf(FSel) : -1;
    const std::vector<int> selected = SelectionIndices();
    Restore(*FDoc, FRedo, FUndo);
    FDrag = edNone;
    RestoreSelection(selected, primary);
    FLastUndoTick = 0;
    RefreshAll();
}
