#include "script/ItemStatement.h"

#include "document/TreeDocument.h"
#include "script/ScriptText.h"

#include <vector>

namespace vi {

namespace {

const QString kTrue = QStringLiteral("True");
const QString kFalse = QStringLiteral("False");
const QString kMarkerSeparator = QStringLiteral("[+]");

// The next node of the pre-order walk over the items, or nullptr after the last.
const TreeNode* NextInWalk(const TreeNode* node)
{
    if (node->ChildCount() > 0)
        return node->FirstChild();
    for (; node && !node->IsRoot(); node = node->Parent()) {
        if (const TreeNode* next = node->NextSibling())
            return next;
    }
    return nullptr;
}

void AppendQuoted(QString& out, const QString& value)
{
    out += QLatin1Char('"');
    out += EscapeScriptText(value);
    out += QLatin1Char('"');
}

} // namespace

QString ChildScriptPath(const QString& parentPath, int row)
{
    QString path;
    path.reserve(parentPath.size() + 24);
    if (parentPath.isEmpty()) {
        path += QStringLiteral("menuBase.menuItems[");
    } else {
        path += parentPath;
        path += QStringLiteral(".subMenu[");
    }
    path += QString::number(row);
    path += QLatin1Char(']');
    return path;
}

QString ItemScriptPath(const TreeNode* node)
{
    if (!node || node->IsRoot())
        return {};
    std::vector<int> rows;
    for (; !node->IsRoot(); node = node->Parent())
        rows.push_back(node->Row());
    QString path;
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        path = ChildScriptPath(path, *it);
    return path;
}

int ParentItemRow(const TreeDocument& document, const TreeNode* node)
{
    if (!node || node->IsRoot() || node->Parent()->IsRoot())
        return 0;
    const TreeNode* parent = node->Parent();
    const TreeNode* root = document.Root();
    int number = 0;
    for (const TreeNode* n = root ? root->FirstChild() : nullptr; n; n = NextInWalk(n)) {
        ++number;
        if (n == parent)
            return number;
    }
    return -1; // the node does not belong to this document
}

QString PictureReference(const QString& picturePath)
{
    // An empty path names no picture; "treePics/" alone would be a broken image.
    return picturePath.isEmpty() ? QString() : QStringLiteral("treePics/") + FileNameOf(picturePath);
}

QString ItemStatementText(const ItemRecord& r, const TreeSettings& s, const QString& path, int parentRow)
{
    QString regularBullet;
    if (r.UseGlobalBNonExpanded)
        regularBullet = PictureReference(r.ItemType == kLeaf ? s.TreeLeaf : s.TreeBNonExpanded);
    else
        regularBullet = PictureReference(r.BNonExpanded);
    const QString expandedBullet = PictureReference(r.UseGlobalBExpanded ? s.TreeBExpanded : r.BExpanded);

    const QString mouseOut = PictureReference(r.MouseOutPic);
    const QString mouseOver = PictureReference(r.MouseOverPic);
    const QString& fontSize = r.UseGlobalFont ? s.TreeFontSize : r.FontSize;
    // An item's own colour goes out only together with its own size.
    static const QString none;
    const QString& fontColor = r.UseGlobalFont ? s.TreeFontColor : (r.FontSize.isEmpty() ? none : r.FontColor);
    const QString& target = r.UseGlobalTarget ? s.TreeTarget : r.LinkTarget;

    QString line;
    line.reserve(path.size() + r.ItemText.size() + r.LinkHref.size() + r.LinkDescription.size()
                 + r.FriendlyName.size() + 160);
    line += path;
    line += QStringLiteral("= new menuItemObject(");
    const QString* const arguments[] = {&regularBullet, &expandedBullet, &mouseOut,     &mouseOver, &r.ItemText,
                                        &fontSize,      &fontColor,      &r.LinkHref,   &target,    &r.LinkDescription};
    for (const QString* argument : arguments) {
        if (argument != arguments[0])
            line += QLatin1Char(',');
        AppendQuoted(line, *argument);
    }
    line += QStringLiteral("); //[+]");
    line += r.ItemType;
    line += kMarkerSeparator;
    line += r.FriendlyName;
    line += kMarkerSeparator;
    line += QString::number(parentRow);
    for (bool flag : {r.UseGlobalBNonExpanded, r.UseGlobalBExpanded, r.UseGlobalTarget, r.UseGlobalFont}) {
        line += kMarkerSeparator;
        line += flag ? kTrue : kFalse;
    }
    return line;
}

void BuildItemStatement(TreeDocument& document, int position)
{
    const TreeNode* node = document.Node(position);
    if (!node || node->IsRoot() || !document.HasRecord(node->Tag()))
        return;
    ItemRecord& record = document.RecordOf(node);
    record.ScriptLine =
        ItemStatementText(record, document.Settings(), ItemScriptPath(node), ParentItemRow(document, node));
}

void WalkItems(const TreeDocument& document, const ItemVisitor& visit)
{
    struct Level {
        const TreeNode* Parent;
        int NextRow;
        QString Path;
        int Number; // the parent's number in the walk; 0 for the root
    };
    if (!document.Root())
        return;
    std::vector<Level> levels;
    levels.push_back({document.Root(), 0, QString(), 0});
    int counter = 0;
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.NextRow >= level.Parent->ChildCount()) {
            levels.pop_back();
            continue;
        }
        const int row = level.NextRow++;
        TreeNode* node = level.Parent->Child(row);
        QString path = ChildScriptPath(level.Path, row);
        ++counter;
        if (!visit(node, path, level.Number))
            return;
        if (node->ChildCount() > 0)
            levels.push_back({node, 0, std::move(path), counter});
    }
}

} // namespace vi
