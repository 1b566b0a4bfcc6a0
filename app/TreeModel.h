#pragma once
#include "document/TreeDocument.h"

#include <QAbstractItemModel>

namespace vi {

class EditHistory;
class UserInterface;

// Presents the document's tree to a Qt view. The document owns the shape;
// this adapter only mirrors it, and label edits go back through the document.
class TreeModel final : public QAbstractItemModel, private DocumentObserver {
    Q_OBJECT
public:
    TreeModel(TreeDocument& document, UserInterface& ui, QObject* parent = nullptr);
    ~TreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Drag and drop: an item moves with its sub-items before, after or into
    // another; items from another editor come in as a copy.
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

    // Label edits and drops become steps of this history.
    void SetHistory(EditHistory* history) { history_ = history; }

    QModelIndex IndexOf(const TreeNode* node) const;
    TreeNode* NodeOf(const QModelIndex& index) const;

signals:
    // The document's selection or expansion changed; the view follows.
    void SelectionRequested(const QModelIndex& index);
    void ExpansionRequested(const QModelIndex& index, bool expanded);

private:
    void BeforeReset() override;
    void AfterReset() override;
    void BeforeInsert(TreeNode* parent, int row) override;
    void AfterInsert(TreeNode* parent, int row) override;
    void BeforeRemove(TreeNode* parent, int row) override;
    void AfterRemove(TreeNode* parent, int row) override;
    void BeforeMove(TreeNode* fromParent, int fromRow, TreeNode* toParent, int toRow) override;
    void AfterMove(TreeNode* fromParent, int fromRow, TreeNode* toParent, int toRow) override;
    void TextChanged(TreeNode* node) override;
    void SelectionChanged(TreeNode* selected) override;
    void ExpansionChanged(TreeNode* node) override;

    TreeDocument& document_;
    UserInterface& ui_;
    EditHistory* history_ = nullptr;
};

} // namespace vi
