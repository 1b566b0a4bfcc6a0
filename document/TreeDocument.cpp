#include "document/TreeDocument.h"

#include "document/RootStatement.h"

#include <algorithm>

namespace vi {

TreeNode* TreeNode::FirstSibling() const
{
    return parent_ ? parent_->FirstChild() : const_cast<TreeNode*>(this);
}

TreeNode* TreeNode::LastSibling() const
{
    return parent_ ? parent_->LastChild() : const_cast<TreeNode*>(this);
}

TreeNode* TreeNode::PreviousSibling() const
{
    return parent_ && row_ > 0 ? parent_->Child(row_ - 1) : nullptr;
}

TreeNode* TreeNode::NextSibling() const
{
    return parent_ && row_ + 1 < parent_->ChildCount() ? parent_->Child(row_ + 1) : nullptr;
}

TreeNode* TreeDocument::NodePool::New()
{
    if (!free_.empty()) {
        TreeNode* node = free_.back();
        free_.pop_back();
        return node;
    }
    if (used_ == kBlockSize) {
        blocks_.push_back(std::make_unique<TreeNode[]>(kBlockSize));
        used_ = 0;
    }
    return &blocks_.back()[used_++];
}

void TreeDocument::NodePool::Release(TreeNode* node)
{
    *node = TreeNode{};
    free_.push_back(node);
}

void TreeDocument::NodePool::Clear()
{
    blocks_.clear();
    free_.clear();
    used_ = kBlockSize;
}

TreeDocument::TreeDocument() { NewTree(); }

TreeDocument::~TreeDocument() = default;

template <typename F> void TreeDocument::Notify(F&& f)
{
    if (bulkDepth_ > 0)
        return;
    for (DocumentObserver* observer : observers_)
        f(observer);
}

void TreeDocument::Clear()
{
    selected_ = nullptr;
    nodes_.clear();
    pool_.Clear();
    records_.clear();
}

void TreeDocument::NewTree()
{
    Notify([](DocumentObserver* o) { o->BeforeReset(); });
    ++bulkDepth_;
    Clear();
    TreeNode* root = pool_.New();
    root->text_ = kRootText;
    root->position_ = 1;
    nodes_.push_back(root);

    records_.resize(2); // element 0 unused; element 1 is the root's placeholder
    records_[1].RootMark = -1;

    settings_ = TreeSettings{};
    rootStatement_ = BuildRootStatement(settings_);
    treeChanged_ = false;
    --bulkDepth_;
    Notify([](DocumentObserver* o) { o->AfterReset(); });
}

void TreeDocument::ReserveItems(int count)
{
    const auto items = static_cast<std::size_t>(std::clamp(count, 0, kMaxItems));
    records_.reserve(items + 2); // with the unused element 0 and the placeholder
    nodes_.reserve(items + 1);   // with the root
}

std::optional<int> TreeDocument::AddItemRecord()
{
    if (records_.size() < 2) {
        records_.resize(2);
        return 1;
    }
    if (!CanAddItem())
        return std::nullopt;
    records_.emplace_back();
    return UpperBound();
}

void TreeDocument::InitItemRecord(int index)
{
    ItemRecord& r = Record(index);
    r.RootMark = 0;
    r.ScriptLine.clear();
    r.ItemType = kBranch;
    r.FriendlyName = kNoneSpecified;
    r.UseGlobalBNonExpanded = !settings_.TreeBNonExpanded.isEmpty();
    r.BNonExpanded.clear();
    r.UseGlobalBExpanded = !settings_.TreeBExpanded.isEmpty();
    r.BExpanded.clear();
    r.MouseOutPic.clear();
    r.MouseOverPic.clear();
    r.ItemText.clear();
    r.UseGlobalFont = !settings_.TreeFontSize.isEmpty();
    r.FontSize = settings_.TreeFontSize;
    r.FontColor = settings_.TreeFontColor;
    r.LinkHref.clear();
    r.LinkTarget.clear();
    r.LinkDescription.clear();
}

void TreeDocument::RemoveItemRecord(int index)
{
    if (index < 1 || index > UpperBound())
        return;
    if (UpperBound() < 2)
        return; // the placeholder stays
    records_.erase(records_.begin() + index);
}

TreeNode* TreeDocument::Node(int position) const
{
    if (position < 1 || position > NodeCount())
        return nullptr;
    return nodes_[static_cast<std::size_t>(position - 1)];
}

TreeNode* TreeDocument::AddNode(TreeNode* parent, const QString& text, int tag)
{
    if (!parent)
        return nullptr;
    const int row = parent->ChildCount();
    Notify([&](DocumentObserver* o) { o->BeforeInsert(parent, row); });
    TreeNode* node = pool_.New();
    node->parent_ = parent;
    node->text_ = text;
    node->tag_ = tag;
    node->row_ = row;
    node->position_ = NodeCount() + 1;
    parent->children_.push_back(node);
    nodes_.push_back(node);
    Notify([&](DocumentObserver* o) { o->AfterInsert(parent, row); });
    return node;
}

void TreeDocument::RenumberPositionsFrom(std::size_t index)
{
    for (std::size_t i = index; i < nodes_.size(); ++i)
        nodes_[i]->position_ = static_cast<int>(i) + 1;
}

void TreeDocument::RemoveNode(int position)
{
    TreeNode* node = Node(position);
    if (!node || node->IsRoot())
        return;
    TreeNode* parent = node->parent_;
    const int row = node->row_;
    Notify([&](DocumentObserver* o) { o->BeforeRemove(parent, row); });

    // Collect the subtree; a node's descendants always follow it in collection order.
    std::vector<TreeNode*> doomed{node};
    for (std::size_t i = 0; i < doomed.size(); ++i)
        for (TreeNode* child : doomed[i]->children_)
            doomed.push_back(child);
    auto isDoomed = [&](const TreeNode* n) { return std::find(doomed.begin(), doomed.end(), n) != doomed.end(); };
    if (selected_ && isDoomed(selected_))
        selected_ = nullptr;

    parent->children_.erase(parent->children_.begin() + row);
    for (int r = row; r < parent->ChildCount(); ++r)
        parent->children_[static_cast<std::size_t>(r)]->row_ = r;

    const auto first = static_cast<std::size_t>(position - 1);
    if (doomed.size() == 1) {
        nodes_.erase(nodes_.begin() + static_cast<std::ptrdiff_t>(first));
    } else {
        std::sort(doomed.begin(), doomed.end());
        nodes_.erase(std::remove_if(nodes_.begin() + static_cast<std::ptrdiff_t>(first), nodes_.end(),
                                    [&](const TreeNode* n) {
                                        return std::binary_search(doomed.begin(), doomed.end(), n);
                                    }),
                     nodes_.end());
    }
    for (TreeNode* n : doomed)
        pool_.Release(n);
    RenumberPositionsFrom(first);
    Notify([&](DocumentObserver* o) { o->AfterRemove(parent, row); });
}

void TreeDocument::RemoveItemNode(int position, int recordIndex)
{
    RemoveNode(position);
    for (std::size_t i = 1; i < nodes_.size(); ++i) {
        TreeNode* n = nodes_[i];
        if (n->tag_ > recordIndex)
            --n->tag_;
    }
}

void TreeDocument::MoveNode(TreeNode* node, int newRow)
{
    if (!node || node->IsRoot())
        return;
    TreeNode* parent = node->parent_;
    const int from = node->row_;
    if (newRow < 0 || newRow >= parent->ChildCount() || newRow == from)
        return;
    Notify([&](DocumentObserver* o) { o->BeforeMove(parent, from, newRow); });
    auto& siblings = parent->children_;
    siblings.erase(siblings.begin() + from);
    siblings.insert(siblings.begin() + newRow, node);
    const int lo = std::min(from, newRow);
    const int hi = std::max(from, newRow);
    for (int r = lo; r <= hi; ++r)
        siblings[static_cast<std::size_t>(r)]->row_ = r;
    Notify([&](DocumentObserver* o) { o->AfterMove(parent, from, newRow); });
}

void TreeDocument::SetText(TreeNode* node, const QString& text)
{
    if (!node || node->text_ == text)
        return;
    node->text_ = text;
    Notify([&](DocumentObserver* o) { o->TextChanged(node); });
}

void TreeDocument::SetTag(TreeNode* node, int tag)
{
    if (node && !node->IsRoot())
        node->tag_ = tag;
}

void TreeDocument::SetExpanded(TreeNode* node, bool expanded)
{
    if (!node || node->expanded_ == expanded)
        return;
    node->expanded_ = expanded;
    Notify([&](DocumentObserver* o) { o->ExpansionChanged(node); });
}

void TreeDocument::Select(TreeNode* node)
{
    if (selected_ == node)
        return;
    selected_ = node;
    Notify([&](DocumentObserver* o) { o->SelectionChanged(node); });
}

void TreeDocument::AddObserver(DocumentObserver* observer)
{
    if (observer && std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void TreeDocument::RemoveObserver(DocumentObserver* observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void TreeDocument::BeginBulkChange()
{
    if (bulkDepth_ == 0)
        Notify([](DocumentObserver* o) { o->BeforeReset(); });
    ++bulkDepth_;
}

void TreeDocument::EndBulkChange()
{
    if (bulkDepth_ == 0)
        return;
    if (--bulkDepth_ == 0)
        Notify([](DocumentObserver* o) { o->AfterReset(); });
}

QString TreeDocument::CheckInvariants() const
{
    if (nodes_.empty() || !nodes_.front()->IsRoot())
        return QStringLiteral("the root is not at position 1");
    if (records_.size() < 2 || records_[1].RootMark != -1)
        return QStringLiteral("the placeholder record is missing");
    std::vector<int> seen(records_.size(), 0);
    for (std::size_t i = 0; i < nodes_.size(); ++i) {
        const TreeNode* n = nodes_[i];
        if (n->position_ != static_cast<int>(i) + 1)
            return QStringLiteral("position %1 is numbered %2").arg(i + 1).arg(n->position_);
        if (i == 0)
            continue;
        if (!n->parent_ || n->parent_->position_ >= n->position_)
            return QStringLiteral("node %1 comes before its parent").arg(i + 1);
        if (n->row_ < 0 || n->row_ >= n->parent_->ChildCount() || n->parent_->Child(n->row_) != n)
            return QStringLiteral("node %1 has a wrong row").arg(i + 1);
        if (n->tag_ < 2 || n->tag_ > UpperBound())
            return QStringLiteral("node %1 has Tag %2 outside the records").arg(i + 1).arg(n->tag_);
        if (seen[static_cast<std::size_t>(n->tag_)]++)
            return QStringLiteral("Tag %1 is used twice").arg(n->tag_);
    }
    if (static_cast<int>(nodes_.size()) != UpperBound())
        return QStringLiteral("%1 item nodes but %2 item records").arg(nodes_.size() - 1).arg(UpperBound() - 1);
    return {};
}

} // namespace vi
