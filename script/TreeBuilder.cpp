#include "script/TreeBuilder.h"

#include "document/TreeDocument.h"
#include "script/ScriptParser.h"

#include <algorithm>

namespace vi {

TreeBuilder::TreeBuilder(TreeDocument& document) : document_(document) { madeNodes_.push_back(document.Root()); }

void TreeBuilder::Reserve(qsizetype items)
{
    // Records that grow by reallocation would need the old and the new array at once.
    document_.ReserveItems(static_cast<int>(std::clamp<qsizetype>(items, 0, kMaxItems)));
}

void TreeBuilder::Add(ParsedItem& item)
{
    const std::optional<int> row = item.ParentRow;
    if (!row || *row < 0 || static_cast<std::size_t>(*row) >= madeNodes_.size()) {
        if (item.Marked) // a line without the marker is no item of ours
            ++itemsLeftOut_;
        return;
    }
    const std::optional<int> index = document_.AddItemRecord();
    if (!index) {
        tooManyItems_ = true;
        return;
    }
    ItemRecord& r = document_.Record(*index);
    r = std::move(item.Record);
    madeNodes_.push_back(document_.AddNode(madeNodes_[static_cast<std::size_t>(*row)], r.FriendlyName, *index));
    ++itemsAdded_;
}

void TreeBuilder::Finish(const TreeSettings& settings, const QString& rootStatement)
{
    document_.Settings() = settings;
    document_.SetRootStatement(rootStatement);
}

} // namespace vi
