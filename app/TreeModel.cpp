#include "app/TreeModel.h"

#include "commands/ClipboardCommands.h"
#include "commands/LabelEdit.h"

#include <QMimeData>

namespace vi {

TreeModel::TreeModel(TreeDocument& document, UserInterface& ui, QObject* parent)
    : QAbstractItemModel(parent), document_(document), ui_(ui)
{
    document_.AddObserver(this);
}

TreeModel::~TreeModel() { document_.RemoveObserver(this); }

TreeNode* TreeModel::NodeOf(const QModelIndex& index) const
{
    return index.isValid() ? static_cast<TreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TreeModel::IndexOf(const TreeNode* node) const
{
    if (!node)
        return {};
    return createIndex(node->IsRoot() ? 0 : node->Row(), 0, const_cast<TreeNode*>(node));
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row == 0 ? IndexOf(document_.Root()) : QModelIndex();
    const TreeNode* node = NodeOf(parent);
    if (!node || row >= node->ChildCount())
        return {};
    return createIndex(row, 0, node->Child(row));
}

QModelIndex TreeModel::parent(const QModelIndex& child) const
{
    const TreeNode* node = NodeOf(child);
    return node ? IndexOf(node->Parent()) : QModelIndex();
}

int TreeModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return document_.Root() ? 1 : 0;
    if (parent.column() != 0)
        return 0;
    const TreeNode* node = NodeOf(parent);
    return node ? node->ChildCount() : 0;
}

int TreeModel::columnCount(const QModelIndex&) const { return 1; }

QVariant TreeModel::data(const QModelIndex& index, int role) const
{
    const TreeNode* node = NodeOf(index);
    if (!node || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return node->Text();
}

bool TreeModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    TreeNode* node = NodeOf(index);
    if (!node || role != Qt::EditRole)
        return false;
    return ApplyLabelEdit(document_, ui_, node, value.toString(), history_);
}

Qt::ItemFlags TreeModel::flags(const QModelIndex& index) const
{
    const TreeNode* node = NodeOf(index);
    if (!node)
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDropEnabled;
    if (CanEditLabel(node))
        f |= Qt::ItemIsEditable;
    if (!node->IsRoot())
        f |= Qt::ItemIsDragEnabled;
    return f;
}

Qt::DropActions TreeModel::supportedDragActions() const { return Qt::MoveAction | Qt::CopyAction; }

Qt::DropActions TreeModel::supportedDropActions() const { return Qt::MoveAction | Qt::CopyAction; }

QStringList TreeModel::mimeTypes() const { return {kItemsMimeType}; }

QMimeData* TreeModel::mimeData(const QModelIndexList& indexes) const
{
    const TreeNode* node = indexes.isEmpty() ? nullptr : NodeOf(indexes.constFirst());
    if (!node || node->IsRoot())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(kItemsMimeType, EncodeItems(document_, node));
    data->setText(ItemsAsText(node));
    return data;
}

bool TreeModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int row, int column,
                                const QModelIndex& parent) const
{
    // Nothing stands beside the root: a drop outside it has no parent item.
    if (!data || column > 0 || !parent.isValid())
        return false;
    return CanDropItems(document_, data->data(kItemsMimeType), NodeOf(parent), row);
}

bool TreeModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                             const QModelIndex& parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    return DropItems(document_, history_, data->data(kItemsMimeType), NodeOf(parent), row, &ui_);
}

void TreeModel::BeforeReset() { beginResetModel(); }
void TreeModel::AfterReset() { endResetModel(); }

void TreeModel::BeforeInsert(TreeNode* parent, int row) { beginInsertRows(IndexOf(parent), row, row); }
void TreeModel::AfterInsert(TreeNode*, int) { endInsertRows(); }

void TreeModel::BeforeRemove(TreeNode* parent, int row) { beginRemoveRows(IndexOf(parent), row, row); }
void TreeModel::AfterRemove(TreeNode*, int) { endRemoveRows(); }

void TreeModel::BeforeMove(TreeNode* fromParent, int fromRow, TreeNode* toParent, int toRow)
{
    // Qt counts the destination before the move takes the row out.
    const int destination = fromParent == toParent && toRow > fromRow ? toRow + 1 : toRow;
    beginMoveRows(IndexOf(fromParent), fromRow, fromRow, IndexOf(toParent), destination);
}
void TreeModel::AfterMove(TreeNode*, int, TreeNode*, int) { endMoveRows(); }

void TreeModel::TextChanged(TreeNode* node)
{
    const QModelIndex i = IndexOf(node);
    emit dataChanged(i, i, {Qt::DisplayRole, Qt::EditRole});
}

void TreeModel::SelectionChanged(TreeNode* selected) { emit SelectionRequested(IndexOf(selected)); }

void TreeModel::ExpansionChanged(TreeNode* node) { emit ExpansionRequested(IndexOf(node), node->Expanded()); }

} // namespace vi
