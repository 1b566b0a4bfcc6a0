#pragma once
#include "document/ItemRecord.h"
#include "document/TreeSettings.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace vi {

// The tree holds at most this many items (32,767 records with the root's placeholder).
inline constexpr int kMaxItems = 32766;
inline constexpr int kMaxRecords = kMaxItems + 1;
inline const QString kTooManyItemsMessage = QStringLiteral("The tree can not hold more than 32766 items.");
inline const QString kRootText = QStringLiteral("Your Tree");

class TreeDocument;

// One node of the tree's shape. The root is at collection position 1; every
// other node's Tag is the index of its record.
class TreeNode {
public:
    TreeNode* Parent() const { return parent_; }
    int ChildCount() const { return static_cast<int>(children_.size()); }
    TreeNode* Child(int row) const { return children_[static_cast<std::size_t>(row)]; }
    const std::vector<TreeNode*>& Children() const { return children_; }
    TreeNode* FirstChild() const { return children_.empty() ? nullptr : children_.front(); }
    TreeNode* LastChild() const { return children_.empty() ? nullptr : children_.back(); }

    // Siblings; the root is its own only sibling.
    TreeNode* FirstSibling() const;
    TreeNode* LastSibling() const;
    TreeNode* PreviousSibling() const;
    TreeNode* NextSibling() const;

    int Row() const { return row_; }           // 0-based place among its siblings
    int Position() const { return position_; } // 1-based collection position
    bool IsRoot() const { return parent_ == nullptr; }

    const QString& Text() const { return text_; }
    int Tag() const { return tag_; } // record index; 0 for the root
    bool Expanded() const { return expanded_; }

private:
    friend class TreeDocument;
    TreeNode* parent_ = nullptr;
    std::vector<TreeNode*> children_;
    QString text_;
    int tag_ = 0;
    int row_ = 0;
    int position_ = 0;
    bool expanded_ = false;
};

// Told of every change of the tree's shape, texts, selection and expansion,
// so that a view can present the document without owning any of it.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    virtual void BeforeReset() {}
    virtual void AfterReset() {}
    virtual void BeforeInsert(TreeNode* /*parent*/, int /*row*/) {}
    virtual void AfterInsert(TreeNode* /*parent*/, int /*row*/) {}
    virtual void BeforeRemove(TreeNode* /*parent*/, int /*row*/) {}
    virtual void AfterRemove(TreeNode* /*parent*/, int /*row*/) {}
    virtual void BeforeMove(TreeNode* /*parent*/, int /*fromRow*/, int /*toRow*/) {}
    virtual void AfterMove(TreeNode* /*parent*/, int /*fromRow*/, int /*toRow*/) {}
    virtual void TextChanged(TreeNode* /*node*/) {}
    virtual void SelectionChanged(TreeNode* /*selected*/) {}
    virtual void ExpansionChanged(TreeNode* /*node*/) {}
};

// The one menu the editor holds: settings, item records and the tree's shape.
// This is the single owner of the shape; views observe it.
class TreeDocument {
public:
    TreeDocument();
    ~TreeDocument();
    TreeDocument(const TreeDocument&) = delete;
    TreeDocument& operator=(const TreeDocument&) = delete;

    // Replaces the whole document by a new tree with default settings.
    void NewTree();

    TreeSettings& Settings() { return settings_; }
    const TreeSettings& Settings() const { return settings_; }

    // --- records, indexed from 1; record 1 is the root's placeholder
    int UpperBound() const { return static_cast<int>(records_.size()) - 1; }
    ItemRecord& Record(int index) { return records_.at(static_cast<std::size_t>(index)); }
    const ItemRecord& Record(int index) const { return records_.at(static_cast<std::size_t>(index)); }
    bool HasRecord(int index) const { return index >= 1 && index <= UpperBound(); }
    ItemRecord& RecordOf(const TreeNode* node) { return Record(node->Tag()); }
    const ItemRecord& RecordOf(const TreeNode* node) const { return Record(node->Tag()); }

    // Makes room for this many items, so that adding them moves no record.
    void ReserveItems(int count);
    bool CanAddItem() const { return UpperBound() < kMaxRecords; }
    // Appends an empty record and returns its index; nothing when the tree is full.
    std::optional<int> AddItemRecord();
    // Fills a freshly added record with the defaults that follow the settings.
    void InitItemRecord(int index);
    // Removes a record, moving each later record one place down.
    void RemoveItemRecord(int index);

    // --- nodes, by 1-based collection position in order of addition
    int NodeCount() const { return static_cast<int>(nodes_.size()); }
    TreeNode* Node(int position) const;
    TreeNode* Root() const { return nodes_.empty() ? nullptr : nodes_.front(); }

    // Adds a node as the last child of parent.
    TreeNode* AddNode(TreeNode* parent, const QString& text, int tag);
    // Removes the node at a position together with its descendants.
    void RemoveNode(int position);
    // Removes the node at a position, then renumbers every Tag above recordIndex one down.
    void RemoveItemNode(int position, int recordIndex);
    // Moves a node, with its descendants, to another place among its siblings.
    void MoveNode(TreeNode* node, int newRow);

    void SetText(TreeNode* node, const QString& text);
    void SetTag(TreeNode* node, int tag);
    void SetExpanded(TreeNode* node, bool expanded);
    void Select(TreeNode* node); // nullptr clears the selection
    TreeNode* SelectedNode() const { return selected_; }
    // The collection position of the selected node, 0 when none is selected.
    int SelectedNodeIndex() const { return selected_ ? selected_->Position() : 0; }

    // The root node's Tag: the root statement written as line 34 of custom.js.
    const QString& RootStatement() const { return rootStatement_; }
    void SetRootStatement(const QString& statement) { rootStatement_ = statement; }

    bool TreeChanged() const { return treeChanged_; }
    void SetTreeChanged(bool changed) { treeChanged_ = changed; }

    // Observers are told of changes; during a bulk change they get one reset instead.
    void AddObserver(DocumentObserver* observer);
    void RemoveObserver(DocumentObserver* observer);
    void BeginBulkChange();
    void EndBulkChange();

    // Checks the links between nodes, positions, rows and record Tags; the
    // reason of the first broken one, or an empty text.
    QString CheckInvariants() const;

private:
    template <typename F> void Notify(F&& f);
    void Clear();
    void RenumberPositionsFrom(std::size_t index);

    // Node storage in blocks that never move, so node pointers stay valid. A
    // removed node's place is reused, and NewTree frees a whole tree a block
    // at a time instead of node by node.
    class NodePool {
    public:
        TreeNode* New();
        void Release(TreeNode* node); // empties the node for reuse
        void Clear();

    private:
        static constexpr std::size_t kBlockSize = 1024;
        std::vector<std::unique_ptr<TreeNode[]>> blocks_;
        std::size_t used_ = kBlockSize; // nodes handed out from the last block
        std::vector<TreeNode*> free_;
    };

    TreeSettings settings_;
    std::vector<ItemRecord> records_; // element 0 unused, so indexes start at 1
    NodePool pool_;                   // owns every node
    std::vector<TreeNode*> nodes_;    // collection order
    TreeNode* selected_ = nullptr;
    QString rootStatement_;
    bool treeChanged_ = false;
    std::vector<DocumentObserver*> observers_;
    int bulkDepth_ = 0;
};

} // namespace vi
