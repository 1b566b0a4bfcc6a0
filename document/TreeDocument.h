#pragma once
#include "document/ItemRecord.h"
#include "document/TranslatableText.h"
#include "document/TreeSettings.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vi {

// The tree holds at most this many items (32,767 records with the root's placeholder).
inline constexpr int kMaxItems = 32766;
inline constexpr int kMaxRecords = kMaxItems + 1;
inline constexpr TranslatableText kTooManyItemsMessage{
    "TreeDocument", QT_TRANSLATE_NOOP("TreeDocument", "The tree can not hold more than 32766 items.")};
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
    // True for top itself and every node below it.
    bool IsInside(const TreeNode* top) const;

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
    // A node moves from fromRow under fromParent to toRow under toParent; toRow
    // is its row after the move.
    virtual void BeforeMove(TreeNode* /*fromParent*/, int /*fromRow*/, TreeNode* /*toParent*/, int /*toRow*/) {}
    virtual void AfterMove(TreeNode* /*fromParent*/, int /*fromRow*/, TreeNode* /*toParent*/, int /*toRow*/) {}
    virtual void TextChanged(TreeNode* /*node*/) {}
    virtual void SelectionChanged(TreeNode* /*selected*/) {}
    virtual void ExpansionChanged(TreeNode* /*node*/) {}
};

// A subtree taken out of a document, or to be put into one: every item with
// its record, in pre-order, with the collection position and Tag it has while
// it is in the document. Records share their texts with the document's.
struct Subtree {
    struct Item {
        int Parent = -1; // index into Items of the item's parent; -1 for the top
        int Position = 0;
        int Tag = 0;
        bool Expanded = false;
        QString Text;
        ItemRecord Record;
    };
    int ParentPosition = 0; // the top's parent, while the subtree is not in the document
    int Row = 0;            // the top's row under that parent
    std::vector<Item> Items;
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
    // Moves a node, with its descendants, under another parent at a row counted
    // after the move. A node that changes parents is added anew in collection
    // order: its subtree goes to the end of the collection, in pre-order, so a
    // parent always comes before its children.
    void MoveNode(TreeNode* node, TreeNode* newParent, int newRow);
    // The collection positions of a subtree's nodes, in pre-order.
    std::vector<int> SubtreePositions(const TreeNode* top) const;

    // --- whole items: each keeps nodes, records and Tags in step
    // A record with the defaults that follow the settings, as InitItemRecord fills it.
    ItemRecord NewItemRecord() const;
    // Adds an item as the last child of parent, labelled with the record's
    // FriendlyName: the last node, with the next record index as its Tag.
    // Nothing when parent is missing or the tree is full.
    TreeNode* AddItem(TreeNode* parent, const ItemRecord& record);
    // A copy of the subtree under top, with positions and Tags as they are now.
    Subtree CaptureSubtree(const TreeNode* top) const;
    // Removes an item with its record and its subtree; every later Tag closes
    // up. Returns what InsertItems needs to put it back exactly.
    Subtree RemoveItem(TreeNode* top);
    // Puts items in at their positions and Tags, moving later records and
    // nodes up to make room. Returns the top node.
    TreeNode* InsertItems(const Subtree& items);
    // Moves an item with its subtree under parent at a row counted after the
    // move. The subtree's nodes take the given collection positions, in
    // pre-order, when there are any (those SubtreePositions gave before an
    // earlier move): so a move is taken back exactly. False when the move is
    // not possible or changes nothing.
    bool MoveItem(TreeNode* node, TreeNode* parent, int row, const std::vector<int>& positions = {});

    void SetText(TreeNode* node, const QString& text);
    void SetTag(TreeNode* node, int tag);
    void SetExpanded(TreeNode* node, bool expanded);
    void Select(TreeNode* node); // nullptr clears the selection
    TreeNode* SelectedNode() const { return selected_; }
    // The collection position of the selected node, 0 when none is selected.
    int SelectedNodeIndex() const { return selected_ ? selected_->Position() : 0; }

    // The root node's Tag: the root statement written as line 34 of custom.js.
    // A new tree has none; the export then builds it from the settings (the
    // script layer knows its form), so empty stands for the default.
    const QString& RootStatement() const { return rootStatement_; }
    void SetRootStatement(const QString& statement) { rootStatement_ = statement; }

    // Everything NewTree replaces: settings, records, nodes, selection and the
    // root statement. Swapping it in and out replaces the whole tree in
    // constant time, without copying it.
    struct Content;
    // Exchanges the document's content with another; observers see one reset.
    void SwapContent(std::unique_ptr<Content>& other);
    // Called by NewTree with the tree it replaces, instead of freeing it.
    void SetReplacedTreeHandler(std::function<void(std::unique_ptr<Content>)> handler);

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

public:
    struct Content {
        TreeSettings Settings;
        std::vector<ItemRecord> Records;
        NodePool Pool;
        std::vector<TreeNode*> Nodes;
        TreeNode* Selected = nullptr;
        QString RootStatement;
    };

private:
    void ExchangeContent(Content& content);
    void SetSubtreePositions(TreeNode* top, const std::vector<int>& positions);
    void RenumberTags(const std::vector<int>& oldToNew);

    TreeSettings settings_;
    std::vector<ItemRecord> records_; // element 0 unused, so indexes start at 1
    NodePool pool_;                   // owns every node
    std::vector<TreeNode*> nodes_;    // collection order
    TreeNode* selected_ = nullptr;
    QString rootStatement_;
    bool treeChanged_ = false;
    std::vector<DocumentObserver*> observers_;
    int bulkDepth_ = 0;
    std::function<void(std::unique_ptr<Content>)> replacedTreeHandler_;
};

} // namespace vi
