#pragma once
// Fills a fresh document with the items a parser read, in file order.
#include <QString>
#include <QtGlobal>
#include <vector>

namespace vi {

class TreeDocument;
class TreeNode;
struct ParsedItem;
struct TreeSettings;

class TreeBuilder {
public:
    // document holds only the root, as a new document does.
    explicit TreeBuilder(TreeDocument& document);

    // Makes room for about this many items, up to the record limit.
    void Reserve(qsizetype items);

    // Adds the item as the last child of the item its parent row names (the
    // k-th item added; 0 the root), moving its record into the document. An
    // item whose row names no item added before it, or that comes when the
    // tree is full, is left out.
    void Add(ParsedItem& item);

    // Gives the document the header's settings and the root statement.
    void Finish(const TreeSettings& settings, const QString& rootStatement);

    int ItemsAdded() const { return itemsAdded_; }
    // Item lines with the marker whose parent row names no item before them.
    int ItemsLeftOut() const { return itemsLeftOut_; }
    // Items that came when the tree was full.
    bool TooManyItems() const { return tooManyItems_; }

private:
    TreeDocument& document_;
    std::vector<TreeNode*> madeNodes_; // [0] the root, [k] the node of the k-th item added
    int itemsAdded_ = 0;
    int itemsLeftOut_ = 0;
    bool tooManyItems_ = false;
};

} // namespace vi
