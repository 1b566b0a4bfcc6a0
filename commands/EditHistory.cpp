#include "commands/EditHistory.h"

#include "commands/EditSteps.h"

#include <utility>

namespace vi {

EditHistory::EditHistory(TreeDocument& document) : document_(document), clean_(document.TreeChanged() ? -1 : 0)
{
    document_.SetReplacedTreeHandler([this](std::unique_ptr<TreeDocument::Content> replaced) {
        // A tree is replaced by New Tree, which names its step, or by a load.
        const QString name = replaceName_.isEmpty() ? kLoadTreeStep : replaceName_;
        replaceName_.clear();
        if (replaced->Nodes.size() > 1 || !(replaced->Settings == TreeSettings{})) {
            // The tree is replaced already: the step is kept, not run.
            NoteCleanState();
            Keep(ReplaceTreeStep(name, std::move(replaced)));
            return;
        }
        // An empty tree with the defaults (the one at start-up) is not worth
        // bringing back; the steps that led to it belong to a tree now gone.
        steps_.clear();
        index_ = 0;
        cost_ = 0;
        clean_ = -1;
    });
}

EditHistory::~EditHistory() { document_.SetReplacedTreeHandler({}); }

QString EditHistory::UndoName() const { return CanUndo() ? steps_[index_ - 1]->Name() : QString(); }

QString EditHistory::RedoName() const { return CanRedo() ? steps_[index_]->Name() : QString(); }

// The document's flag tells when the present state was loaded or exported.
// A new tree is unchanged too, but it is no export: the clean state stays.
void EditHistory::NoteCleanState()
{
    if (!document_.TreeChanged() && !InNewTree())
        clean_ = static_cast<std::ptrdiff_t>(index_);
}

void EditHistory::FollowCleanState()
{
    document_.SetTreeChanged(clean_ != static_cast<std::ptrdiff_t>(index_) && !InNewTree());
}

void EditHistory::Undo()
{
    if (!CanUndo())
        return;
    NoteCleanState();
    steps_[--index_]->Undo(document_);
    FollowCleanState();
}

void EditHistory::Redo()
{
    if (!CanRedo())
        return;
    NoteCleanState();
    steps_[index_++]->Redo(document_);
    FollowCleanState();
}

void EditHistory::Push(std::unique_ptr<EditStep> step)
{
    if (!step)
        return;
    NoteCleanState();
    step->Redo(document_);
    Keep(std::move(step));
}

void EditHistory::Keep(std::unique_ptr<EditStep> step)
{
    if (clean_ > static_cast<std::ptrdiff_t>(index_))
        clean_ = -1; // the clean state was among the steps undone: it cannot come back
    while (steps_.size() > index_) {
        cost_ -= steps_.back()->Cost();
        steps_.pop_back();
    }
    cost_ += step->Cost();
    steps_.push_back(std::move(step));
    ++index_;
    FollowCleanState();
    Trim();
}

void EditHistory::SetMemoryLimit(std::size_t bytes)
{
    limit_ = bytes;
    Trim();
}

void EditHistory::Trim()
{
    // The newest step always stays, however large.
    while (cost_ > limit_ && index_ > 1) {
        cost_ -= steps_.front()->Cost();
        steps_.pop_front();
        --index_;
        clean_ = clean_ > 0 ? clean_ - 1 : -1;
    }
}

void Run(TreeDocument& document, EditHistory* history, std::unique_ptr<EditStep> step)
{
    if (!step)
        return;
    if (history) {
        history->Push(std::move(step));
        return;
    }
    step->Redo(document);
    document.SetTreeChanged(true);
}

} // namespace vi
