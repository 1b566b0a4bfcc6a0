#pragma once
// Builds test trees the way the item commands do: record first, then the node
// with its Tag, then the defaults; the label is both friendly name and item text.
#include "document/TreeDocument.h"

#include <functional>

namespace vi::test {

inline TreeNode* AddItem(TreeDocument& d, TreeNode* parent, const QString& name,
                         const std::function<void(ItemRecord&)>& edit = {})
{
    const int k = *d.AddItemRecord();
    TreeNode* n = d.AddNode(parent, name, k);
    d.InitItemRecord(k);
    d.Record(k).FriendlyName = d.Record(k).ItemText = name;
    if (edit)
        edit(d.Record(k));
    return n;
}

} // namespace vi::test
