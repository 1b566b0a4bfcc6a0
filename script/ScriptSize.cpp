#include "script/ScriptSize.h"

#include "document/TreeDocument.h"
#include "script/ItemStatement.h"
#include "script/RootStatement.h"
#include "script/ScriptText.h"
#include "script/ScriptWriter.h"

#include <vector>

namespace vi {

namespace {

constexpr qint64 kLineEnd = 2; // CR LF

qint64 Digits(int number)
{
    qint64 digits = 1;
    for (; number >= 10; number /= 10)
        ++digits;
    return digits;
}

// One parent of the walk: a node of the document, or an item to be added.
struct Level {
    const TreeNode* Node; // nullptr for an item to be added
    int Item;             // its index in the items, when Node is nullptr
    int ChildCount;
    int NextRow = 0;
    qint64 PathBytes = 0; // the length of the parent's path; 0 for the root
    int Number = 0;       // the parent's number in the walk; 0 for the root
};

} // namespace

qint64 ScriptBytesWith(const TreeDocument& document, const Subtree& items, const TreeNode* parent, int row,
                       qint64 limit)
{
    const TreeSettings& settings = document.Settings();
    qint64 total = 0;
    // The switch written as "false", the longer of its two values.
    for (const QString& line : ScriptHeaderLines(settings, false))
        total += Utf8View(line).size() + kLineEnd;
    total += Utf8View(RootStatementOf(document)).size() + kLineEnd;
    if (!document.Root())
        return total;

    const int count = static_cast<int>(items.Items.size());
    std::vector<std::vector<int>> children(items.Items.size());
    for (int i = 1; i < count; ++i)
        children[static_cast<std::size_t>(items.Items[static_cast<std::size_t>(i)].Parent)].push_back(i);
    const bool adding = count > 0 && parent;
    if (adding && (row < 0 || row > parent->ChildCount()))
        row = parent->ChildCount();
    const auto documentLevel = [&](const TreeNode* node, qint64 pathBytes, int number) {
        return Level{node, 0, node->ChildCount() + (adding && node == parent ? 1 : 0), 0, pathBytes, number};
    };

    // The walk of the export (WalkItems), over the tree as it would be.
    std::vector<Level> levels{documentLevel(document.Root(), 0, 0)};
    int counter = 0;
    while (!levels.empty() && total <= limit) {
        Level& level = levels.back();
        if (level.NextRow >= level.ChildCount) {
            levels.pop_back();
            continue;
        }
        const int childRow = level.NextRow++;
        const TreeNode* node = nullptr;
        int item = -1;
        if (!level.Node)
            item = children[static_cast<std::size_t>(level.Item)][static_cast<std::size_t>(childRow)];
        else if (adding && level.Node == parent && childRow == row)
            item = 0;
        else if (adding && level.Node == parent && childRow > row)
            node = parent->Child(childRow - 1);
        else
            node = level.Node->Child(childRow);

        const qint64 pathBytes = level.PathBytes + (levels.size() == 1 ? 19 : 9) + Digits(childRow) + 1;
        ++counter;
        const ItemRecord* record = nullptr;
        if (node && document.HasRecord(node->Tag()))
            record = &document.RecordOf(node);
        else if (!node)
            record = &items.Items[static_cast<std::size_t>(item)].Record;
        if (record)
            total += pathBytes + ItemStatementView(*record, settings, QString(), level.Number).size() + kLineEnd;

        const int number = counter;
        if (node && (node->ChildCount() > 0 || (adding && node == parent)))
            levels.push_back(documentLevel(node, pathBytes, number));
        else if (!node && !children[static_cast<std::size_t>(item)].empty())
            levels.push_back({nullptr, item, static_cast<int>(children[static_cast<std::size_t>(item)].size()), 0,
                              pathBytes, number});
    }
    return total;
}

} // namespace vi
