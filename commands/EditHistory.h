#pragma once
#include "document/TreeDocument.h"

#include <QString>
#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

namespace vi {

// One change of the document that can be taken back and made again. A step
// does its own work: Redo makes the change, also the first time, and Undo
// takes it back. It keeps only what its change touches and finds its nodes by
// collection position, which undo and redo restore exactly.
class EditStep {
public:
    explicit EditStep(QString name) : name_(std::move(name)) {}
    virtual ~EditStep() = default;
    const QString& Name() const { return name_; }
    virtual void Undo(TreeDocument& document) = 0;
    virtual void Redo(TreeDocument& document) = 0;
    // About how many bytes the step keeps alive, for the history's memory bound.
    virtual std::size_t Cost() const = 0;
    // Whether the step leads to a new, empty tree, which holds nothing to export.
    virtual bool MakesNewTree() const { return false; }

private:
    QString name_;
};

// The document's undo history. Any number of steps, as long as they fit the
// memory limit; the oldest go first when they do not. TreeChanged follows the
// history: it is false in the state that was last loaded or exported, and in
// a new tree.
class EditHistory {
public:
    static constexpr std::size_t kDefaultMemoryLimit = std::size_t{256} << 20;

    explicit EditHistory(TreeDocument& document);
    ~EditHistory();
    EditHistory(const EditHistory&) = delete;
    EditHistory& operator=(const EditHistory&) = delete;

    bool CanUndo() const { return index_ > 0; }
    bool CanRedo() const { return index_ < steps_.size(); }
    // The name of the step Undo or Redo would take; empty when there is none.
    QString UndoName() const;
    QString RedoName() const;
    void Undo();
    void Redo();

    // Runs a step (its Redo) and keeps it; the steps that could have been
    // redone are dropped.
    void Push(std::unique_ptr<EditStep> step);

    // The name the next replaced tree is kept under; Load Tree unless named.
    void NameNextReplace(const QString& name) { replaceName_ = name; }

    std::size_t Count() const { return steps_.size(); }
    std::size_t MemoryUse() const { return cost_; }
    void SetMemoryLimit(std::size_t bytes);

private:
    // Keeps a step whose change has been made.
    void Keep(std::unique_ptr<EditStep> step);
    void NoteCleanState();
    void FollowCleanState();
    void Trim();
    bool InNewTree() const { return index_ > 0 && steps_[index_ - 1]->MakesNewTree(); }

    TreeDocument& document_;
    std::deque<std::unique_ptr<EditStep>> steps_;
    std::size_t index_ = 0; // steps applied
    std::ptrdiff_t clean_;  // index of the last loaded or exported state; -1 when gone
    std::size_t cost_ = 0;
    std::size_t limit_ = kDefaultMemoryLimit;
    QString replaceName_;
};

// Runs a step: the history takes it, which runs it; without a history it
// just runs, and the document is marked changed.
void Run(TreeDocument& document, EditHistory* history, std::unique_ptr<EditStep> step);

} // namespace vi
