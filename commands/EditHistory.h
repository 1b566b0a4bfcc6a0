#pragma once
#include "document/TranslatableText.h"
#include "document/TreeDocument.h"

#include <QString>
#include <cstddef>
#include <deque>
#include <memory>
#include <vector>

namespace vi {

// The names of the steps, as the Edit menu shows them after "Undo " and "Redo ".
inline constexpr TranslatableText kNewItemStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "New Item")};
inline constexpr TranslatableText kDeleteItemStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Delete Item")};
inline constexpr TranslatableText kItemPropertiesStep{"EditHistory",
                                                      QT_TRANSLATE_NOOP("EditHistory", "Item Properties")};
inline constexpr TranslatableText kMoveUpStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Move Up")};
inline constexpr TranslatableText kMoveDownStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Move Down")};
inline constexpr TranslatableText kMoveItemStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Move Item")};
inline constexpr TranslatableText kRenameStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Rename")};
inline constexpr TranslatableText kTreePropertiesStep{"EditHistory",
                                                      QT_TRANSLATE_NOOP("EditHistory", "Tree Properties")};
inline constexpr TranslatableText kNewTreeStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "New Tree")};
inline constexpr TranslatableText kLoadTreeStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Load Tree")};
inline constexpr TranslatableText kCutStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Cut")};
inline constexpr TranslatableText kPasteStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Paste")};
inline constexpr TranslatableText kDropStep{"EditHistory", QT_TRANSLATE_NOOP("EditHistory", "Drop")};

// One change of the document that can be taken back and made again. A step
// keeps only what its change touched; it finds its nodes by collection
// position, which undo and redo restore exactly.
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

    // Keeps a change that has just been made and marks the document changed.
    // The steps that could have been redone are dropped.
    void Push(std::unique_ptr<EditStep> step);

    // The name the next replaced tree is kept under; Load Tree unless named.
    void NameNextReplace(const QString& name) { replaceName_ = name; }

    std::size_t Count() const { return steps_.size(); }
    std::size_t MemoryUse() const { return cost_; }
    void SetMemoryLimit(std::size_t bytes);

private:
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

// Steps for the changes the commands make, each made right after its change.

// An item's record and label changed; before holds them as they were.
std::unique_ptr<EditStep> RecordStep(const QString& name, const TreeDocument& document, const TreeNode* node,
                                     const ItemRecord& before, const QString& textBefore);
// The tree settings and the root statement changed.
std::unique_ptr<EditStep> SettingsStep(const QString& name, const TreeDocument& document, const TreeSettings& before,
                                       const QString& rootStatementBefore);
// A subtree was just inserted with its records.
std::unique_ptr<EditStep> InsertStep(const QString& name, const TreeDocument& document, const TreeNode* top);
// A subtree was just removed; removed is what the document held before.
std::unique_ptr<EditStep> RemoveStep(const QString& name, Subtree removed);

// Moves a node with its subtree under a parent at a row counted after the
// move, and rebuilds, in one walk, the statements of the items that moved:
// the subtree's, and those of a sibling neighbour that traded places with it.
// Returns the step that takes it back; nothing when the move is not possible
// or changes nothing.
std::unique_ptr<EditStep> MoveWithStatements(const QString& name, TreeDocument& document, TreeNode* node,
                                             TreeNode* parent, int row, TreeNode* neighbour = nullptr);

// Rebuilds the statements of a subtree's items in one walk of the tree.
void BuildSubtreeStatements(TreeDocument& document, const TreeNode* top);

// Keeps the step in the history when there is one, else marks the document changed.
void Commit(TreeDocument& document, EditHistory* history, std::unique_ptr<EditStep> step);

} // namespace vi
