#include "document/TreeDocument.h"

#include <algorithm>
#include <unordered_map>

namespace vi {

bool TreeNode::IsInside(const TreeNode* top) const
{
    for (const TreeNode* node = this; node; node = node->Parent())
        if (node == top)
            return true;
    return false;
}

TreeNode* TreeNode::FirstSibling() const { return parent_ ? parent_->FirstChild() : const_cast<TreeNode*>(this); }

TreeNode* TreeNode::LastSibling() const { return parent_ ? parent_->LastChild() : const_cast<TreeNode*>(this); }

TreeNode* TreeNode::PreviousSibling() const { return parent_ && row_ > 0 ? parent_->Child(row_ - 1) : nullptr; }

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
    if (replacedTreeHandler_ && !nodes_.empty()) {
        auto replaced = std::make_unique<Content>();
        ExchangeContent(*replaced);
        replacedTreeHandler_(std::move(replaced));
    }
    Clear();
    TreeNode* root = pool_.New();
    root->text_ = kRootText;
    root->position_ = 1;
    nodes_.push_back(root);

    records_.resize(2); // element 0 unused; element 1 is the root's placeholder
    records_[1].RootMark = -1;

    settings_ = TreeSettings{};
    rootStatement_.clear();
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

ItemRecord TreeDocument::NewItemRecord() const
{
    ItemRecord r;
    r.ItemType = kBranch;
    r.FriendlyName = kNoneSpecified;
    r.UseGlobalBNonExpanded = !settings_.TreeBNonExpanded.isEmpty();
    r.UseGlobalBExpanded = !settings_.TreeBExpanded.isEmpty();
    r.UseGlobalFont = !settings_.TreeFontSize.isEmpty();
    r.FontSize = settings_.TreeFontSize;
    r.FontColor = settings_.TreeFontColor;
    return r;
}

void TreeDocument::InitItemRecord(int index)
{
    // The target choice is left as it is: a freshly added record has it false.
    ItemRecord& r = Record(index);
    const bool useGlobalTarget = r.UseGlobalTarget;
    r = NewItemRecord();
    r.UseGlobalTarget = useGlobalTarget;
}

TreeNode* TreeDocument::AddItem(TreeNode* parent, const ItemRecord& record)
{
    if (!parent || !CanAddItem())
        return nullptr;
    const std::optional<int> index = AddItemRecord();
    if (!index)
        return nullptr;
    Record(*index) = record;
    Record(*index).RootMark = 0;
    return AddNode(parent, record.FriendlyName, *index);
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
        nodes_.erase(
            std::remove_if(nodes_.begin() + static_cast<std::ptrdiff_t>(first), nodes_.end(),
                           [&](const TreeNode* n) { return std::binary_search(doomed.begin(), doomed.end(), n); }),
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
    Notify([&](DocumentObserver* o) { o->BeforeMove(parent, from, parent, newRow); });
    auto& siblings = parent->children_;
    siblings.erase(siblings.begin() + from);
    siblings.insert(siblings.begin() + newRow, node);
    const int lo = std::min(from, newRow);
    const int hi = std::max(from, newRow);
    for (int r = lo; r <= hi; ++r)
        siblings[static_cast<std::size_t>(r)]->row_ = r;
    Notify([&](DocumentObserver* o) { o->AfterMove(parent, from, parent, newRow); });
}

namespace {

// The nodes of a subtree in pre-order, the top first.
template <typename Node> std::vector<Node*> PreOrder(Node* top)
{
    std::vector<Node*> order;
    std::vector<Node*> stack{top};
    while (!stack.empty()) {
        Node* node = stack.back();
        stack.pop_back();
        order.push_back(node);
        stack.insert(stack.end(), node->Children().rbegin(), node->Children().rend());
    }
    return order;
}

} // namespace

void TreeDocument::MoveNode(TreeNode* node, TreeNode* newParent, int newRow)
{
    if (!node || node->IsRoot() || !newParent || newParent->IsInside(node))
        return;
    TreeNode* oldParent = node->parent_;
    if (newParent == oldParent) {
        MoveNode(node, newRow);
        return;
    }
    const int from = node->row_;
    if (newRow < 0 || newRow > newParent->ChildCount())
        return;
    Notify([&](DocumentObserver* o) { o->BeforeMove(oldParent, from, newParent, newRow); });
    auto& oldSiblings = oldParent->children_;
    oldSiblings.erase(oldSiblings.begin() + from);
    for (int r = from; r < oldParent->ChildCount(); ++r)
        oldSiblings[static_cast<std::size_t>(r)]->row_ = r;
    auto& newSiblings = newParent->children_;
    newSiblings.insert(newSiblings.begin() + newRow, node);
    for (int r = newRow; r < newParent->ChildCount(); ++r)
        newSiblings[static_cast<std::size_t>(r)]->row_ = r;
    node->parent_ = newParent;

    // The subtree is added anew: its nodes leave their places and follow the others.
    const std::vector<TreeNode*> moved = PreOrder(node);
    std::vector<TreeNode*> sorted = moved;
    std::sort(sorted.begin(), sorted.end());
    const TreeNode* earliest =
        *std::min_element(moved.begin(), moved.end(), [](auto* a, auto* b) { return a->position_ < b->position_; });
    const auto first = static_cast<std::size_t>(earliest->position_ - 1);
    nodes_.erase(std::remove_if(nodes_.begin() + static_cast<std::ptrdiff_t>(first), nodes_.end(),
                                [&](const TreeNode* n) { return std::binary_search(sorted.begin(), sorted.end(), n); }),
                 nodes_.end());
    nodes_.insert(nodes_.end(), moved.begin(), moved.end());
    RenumberPositionsFrom(first);
    Notify([&](DocumentObserver* o) { o->AfterMove(oldParent, from, newParent, newRow); });
}

std::vector<int> TreeDocument::SubtreePositions(const TreeNode* top) const
{
    std::vector<int> positions;
    for (const TreeNode* n : PreOrder(top))
        positions.push_back(n->position_);
    return positions;
}

void TreeDocument::SetSubtreePositions(TreeNode* top, const std::vector<int>& positions)
{
    const std::vector<TreeNode*> subtree = PreOrder(top);
    if (subtree.size() != positions.size())
        return;
    std::vector<TreeNode*> placed(nodes_.size(), nullptr);
    for (std::size_t i = 0; i < subtree.size(); ++i) {
        const auto at = static_cast<std::size_t>(positions[i] - 1);
        if (at >= placed.size() || placed[at])
            return;
        placed[at] = subtree[i];
    }
    std::vector<TreeNode*> sorted = subtree;
    std::sort(sorted.begin(), sorted.end());
    std::size_t next = 0;
    for (TreeNode* n : nodes_) {
        if (std::binary_search(sorted.begin(), sorted.end(), n))
            continue;
        while (placed[next])
            ++next;
        placed[next] = n;
    }
    nodes_ = std::move(placed);
    RenumberPositionsFrom(0);
}

Subtree TreeDocument::CaptureSubtree(const TreeNode* top) const
{
    Subtree subtree;
    if (!top || top->IsRoot())
        return subtree;
    subtree.ParentPosition = top->parent_->position_;
    subtree.Row = top->row_;
    const std::vector<const TreeNode*> order = PreOrder(top);
    subtree.Items.reserve(order.size());
    std::unordered_map<const TreeNode*, int> indexOf;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const TreeNode* n = order[i];
        indexOf.emplace(n, static_cast<int>(i));
        const int parent = i == 0 ? -1 : indexOf.at(n->parent_);
        subtree.Items.push_back({parent, n->position_, n->tag_, n->expanded_, n->text_,
                                 HasRecord(n->tag_) ? Record(n->tag_) : ItemRecord{}});
    }
    return subtree;
}

void TreeDocument::RenumberTags(const std::vector<int>& oldToNew)
{
    for (std::size_t i = 1; i < nodes_.size(); ++i) {
        TreeNode* n = nodes_[i];
        if (n->tag_ >= 0 && static_cast<std::size_t>(n->tag_) < oldToNew.size())
            n->tag_ = oldToNew[static_cast<std::size_t>(n->tag_)];
    }
}

Subtree TreeDocument::RemoveItem(TreeNode* top)
{
    Subtree subtree = CaptureSubtree(top);
    if (subtree.Items.empty())
        return subtree;
    RemoveNode(top->position_);

    std::vector<bool> removed(records_.size(), false);
    for (const Subtree::Item& item : subtree.Items)
        if (item.Tag > 1 && item.Tag <= UpperBound())
            removed[static_cast<std::size_t>(item.Tag)] = true;
    std::vector<int> oldToNew(records_.size(), 0);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < records_.size(); ++i) {
        if (removed[i])
            continue;
        oldToNew[i] = static_cast<int>(kept);
        if (kept != i)
            records_[kept] = std::move(records_[i]);
        ++kept;
    }
    records_.resize(kept);
    RenumberTags(oldToNew);
    return subtree;
}

TreeNode* TreeDocument::InsertItems(const Subtree& subtree)
{
    TreeNode* parent = Node(subtree.ParentPosition);
    if (!parent || subtree.Items.empty() || subtree.Row < 0 || subtree.Row > parent->ChildCount())
        return nullptr;
    const std::size_t count = subtree.Items.size();

    // Records: the subtree's go to their indexes, the others keep their order around them.
    std::vector<const Subtree::Item*> byTag;
    for (const Subtree::Item& item : subtree.Items)
        byTag.push_back(&item);
    std::sort(byTag.begin(), byTag.end(), [](auto* a, auto* b) { return a->Tag < b->Tag; });
    std::vector<ItemRecord> records(records_.size() + count);
    std::vector<int> oldToNew(records_.size(), 0);
    std::size_t old = 0, next = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (next < count && static_cast<std::size_t>(byTag[next]->Tag) == i)
            records[i] = byTag[next++]->Record;
        else if (old < records_.size()) {
            oldToNew[old] = static_cast<int>(i);
            records[i] = std::move(records_[old++]);
        }
    }
    records_ = std::move(records);
    RenumberTags(oldToNew);

    // Nodes: built and linked, then placed at their positions among the others.
    Notify([&](DocumentObserver* o) { o->BeforeInsert(parent, subtree.Row); });
    std::vector<TreeNode*> made;
    made.reserve(count);
    for (const Subtree::Item& item : subtree.Items) {
        TreeNode* node = pool_.New();
        node->text_ = item.Text;
        node->tag_ = item.Tag;
        node->expanded_ = item.Expanded;
        node->position_ = item.Position;
        TreeNode* up = item.Parent >= 0 && static_cast<std::size_t>(item.Parent) < made.size()
                           ? made[static_cast<std::size_t>(item.Parent)]
                           : nullptr;
        if (up) {
            node->parent_ = up;
            node->row_ = up->ChildCount();
            up->children_.push_back(node);
        }
        made.push_back(node);
    }
    TreeNode* top = made.front();
    top->parent_ = parent;
    parent->children_.insert(parent->children_.begin() + subtree.Row, top);
    for (int r = subtree.Row; r < parent->ChildCount(); ++r)
        parent->children_[static_cast<std::size_t>(r)]->row_ = r;

    std::vector<TreeNode*> byPosition = made;
    std::sort(byPosition.begin(), byPosition.end(), [](auto* a, auto* b) { return a->position_ < b->position_; });
    std::vector<TreeNode*> nodes;
    nodes.reserve(nodes_.size() + count);
    std::size_t taken = 0, placed = 0;
    while (nodes.size() < nodes_.size() + count) {
        if (placed < count
            && (static_cast<std::size_t>(byPosition[placed]->position_) == nodes.size() + 1 || taken == nodes_.size()))
            nodes.push_back(byPosition[placed++]);
        else
            nodes.push_back(nodes_[taken++]);
    }
    nodes_ = std::move(nodes);
    RenumberPositionsFrom(0);
    Notify([&](DocumentObserver* o) { o->AfterInsert(parent, subtree.Row); });
    return top;
}

bool TreeDocument::MoveItem(TreeNode* node, TreeNode* parent, int row, const std::vector<int>& positions)
{
    if (!node || node->IsRoot() || !parent || parent->IsInside(node))
        return false;
    const bool sameParent = parent == node->parent_;
    if (row < 0 || row > parent->ChildCount() - (sameParent ? 1 : 0) || (sameParent && row == node->row_))
        return false;
    MoveNode(node, parent, row);
    if (!positions.empty())
        SetSubtreePositions(node, positions);
    return true;
}

void TreeDocument::ExchangeContent(Content& content)
{
    std::swap(settings_, content.Settings);
    std::swap(records_, content.Records);
    std::swap(pool_, content.Pool);
    std::swap(nodes_, content.Nodes);
    std::swap(selected_, content.Selected);
    std::swap(rootStatement_, content.RootStatement);
}

void TreeDocument::SwapContent(std::unique_ptr<Content>& other)
{
    if (!other)
        return;
    Notify([](DocumentObserver* o) { o->BeforeReset(); });
    ExchangeContent(*other);
    Notify([](DocumentObserver* o) { o->AfterReset(); });
}

void TreeDocument::SetReplacedTreeHandler(std::function<void(std::unique_ptr<Content>)> handler)
{
    replacedTreeHandler_ = std::move(handler);
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
