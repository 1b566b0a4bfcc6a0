#include "document/TreeDocument.h"
#include "script/ItemStatement.h"
#include "tests/script/ExportTestSupport.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace vi;
using namespace vi::test;

namespace {

// The parent-row search as first designed: a recursive scan from the first
// item, numbering items until the target turns up. The reference for the walk.
void ReferenceSearch(const TreeNode* target, const TreeNode* node, int& row, int& counter)
{
    if (row != -1)
        return;
    node = node->FirstSibling();
    int siblings = 0;
    do {
        ++siblings;
        if (node != target) {
            const int number = ++counter;
            if (node->ChildCount() > 0) {
                ReferenceSearch(target, node->FirstChild(), row, counter);
                if (row == -2)
                    row = number;
            }
            if (row == -1 && siblings < node->Parent()->ChildCount())
                node = node->NextSibling();
        } else {
            row = target->Parent()->IsRoot() ? 0 : -2;
        }
    } while (row == -1 && siblings < node->Parent()->ChildCount());
}

int ReferenceParentRow(const TreeDocument& d, const TreeNode* target)
{
    int row = -1;
    int counter = 0;
    ReferenceSearch(target, d.Node(2), row, counter);
    return row;
}

QString Arguments(const QString& statement)
{
    const qsizetype open = statement.indexOf(QLatin1Char('('));
    return statement.mid(open + 1, statement.indexOf(S("); //[+]")) - open - 1);
}

} // namespace

TEST(ItemStatement, PathsAndParentRowsFollowTheItemWalk)
{
    TreeDocument d;
    TreeNode* a = AddItem(d, d.Root(), S("A"));
    TreeNode* b = AddItem(d, a, S("B"));
    TreeNode* c = AddItem(d, b, S("C"));
    TreeNode* dd = AddItem(d, d.Root(), S("D"));

    const struct {
        TreeNode* node;
        const char* path;
        int row;
    } expected[] = {{a, "menuBase.menuItems[0]", 0},
                    {b, "menuBase.menuItems[0].subMenu[0]", 1},
                    {c, "menuBase.menuItems[0].subMenu[0].subMenu[0]", 2},
                    {dd, "menuBase.menuItems[1]", 0}};
    int visited = 0;
    WalkItems(d, [&](TreeNode* node, const QString& path, int parentRow) {
        EXPECT_EQ(node, expected[visited].node);
        EXPECT_EQ(path, S(expected[visited].path));
        EXPECT_EQ(parentRow, expected[visited].row);
        ++visited;
        return true;
    });
    EXPECT_EQ(visited, 4);
    for (const auto& e : expected) {
        EXPECT_EQ(ItemScriptPath(e.node), S(e.path));
        EXPECT_EQ(ParentItemRow(d, e.node), e.row);
        BuildItemStatement(d, e.node->Position());
        EXPECT_TRUE(d.RecordOf(e.node).ScriptLine.startsWith(S(e.path) + S("= new menuItemObject(")));
        EXPECT_TRUE(d.RecordOf(e.node).ScriptLine.contains(S("[+]") + QString::number(e.row) + S("[+]")));
    }
}

TEST(ItemStatement, LinearWalkAgreesWithTheSearchOnARandomTree)
{
    TreeDocument d;
    QRandomGenerator random(7);
    for (int i = 0; i < 400; ++i) {
        TreeNode* parent = d.Node(1 + random.bounded(d.NodeCount()));
        AddItem(d, parent, S("n") + QString::number(i));
    }
    d.MoveNode(d.Node(2), d.Root()->ChildCount() - 1); // order of addition no longer the walk order
    int checked = 0;
    WalkItems(d, [&](TreeNode* node, const QString& path, int parentRow) {
        EXPECT_EQ(parentRow, ReferenceParentRow(d, node));
        EXPECT_EQ(parentRow, ParentItemRow(d, node));
        EXPECT_EQ(path, ItemScriptPath(node));
        ++checked;
        return true;
    });
    EXPECT_EQ(checked, 400);
}

TEST(ItemStatement, ArgumentsFollowTheGlobalAndOwnValues)
{
    TreeSettings s;
    s.TreeLeaf = S("C:\\pics\\leaf.gif");
    s.TreeBNonExpanded = S("/home/me/closed.gif");
    s.TreeBExpanded = S("open.gif");
    s.TreeFontSize = S("4");
    s.TreeFontColor = S("Red");
    s.TreeTarget = S("frame");

    auto item = [](const std::function<void(ItemRecord&)>& edit) {
        ItemRecord r;
        r.ItemType = kBranch;
        r.FriendlyName = S("X");
        r.ItemText = S("X");
        edit(r);
        return r;
    };
    const struct {
        const char* name;
        ItemRecord record;
        const char* arguments;
    } cases[] = {
        {"global bullets, leaf", item([](ItemRecord& r) {
             r.ItemType = kLeaf;
             r.UseGlobalBNonExpanded = r.UseGlobalBExpanded = true;
             r.BNonExpanded = S("own.gif");
         }),
         R"("treePics/leaf.gif","treePics/open.gif","","","X","","","","","")"},
        {"global bullets, branch", item([](ItemRecord& r) { r.UseGlobalBNonExpanded = r.UseGlobalBExpanded = true; }),
         R"("treePics/closed.gif","treePics/open.gif","","","X","","","","","")"},
        {"own pictures by file name", item([](ItemRecord& r) {
             r.BNonExpanded = S("C:\\a/b\\c.gif");
             r.BExpanded = S("d/e.gif");
             r.MouseOutPic = S("out.gif");
             r.MouseOverPic = S("C:\\over.gif");
         }),
         R"("treePics/c.gif","treePics/e.gif","treePics/out.gif","treePics/over.gif","X","","","","","")"},
        {"own colour without own size", item([](ItemRecord& r) { r.FontColor = S("Navy"); }),
         R"("","","","","X","","","","","")"},
        {"global font and target", item([](ItemRecord& r) {
             r.UseGlobalFont = r.UseGlobalTarget = true;
             r.FontSize = S("1");
             r.FontColor = S("Navy");
             r.LinkTarget = S("own");
         }),
         R"("","","","","X","4","Red","","frame","")"},
        {"own font and target", item([](ItemRecord& r) {
             r.FontSize = S("1");
             r.FontColor = S("Navy");
             r.LinkTarget = S("own");
             r.LinkHref = S("a.html");
             r.LinkDescription = S("About");
         }),
         R"("","","","","X","1","Navy","a.html","own","About")"},
        {"quotes, backslashes, markers and breaks are escaped", item([](ItemRecord& r) {
             r.ItemText = S("<a href=\"x\">C:\\dir</a>//[+]\r\n");
         }),
         R"("","","","","<a href=\"x\">C:\\dir</a>/\/[+]\r\n","","","","","")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Arguments(ItemStatementText(c.record, s, S("p"), 0)), S(c.arguments));
    }

    // A tree-wide bullet that is not set names no picture rather than the bare folder.
    s.TreeLeaf.clear();
    EXPECT_EQ(Arguments(ItemStatementText(cases[0].record, s, S("p"), 0)).left(5), S(R"("","t)"));
}

TEST(ItemStatement, MarkerEndsTheLineWithCapitalisedFlags)
{
    ItemRecord r;
    r.ItemType = kLeaf;
    r.FriendlyName = S("Home");
    r.UseGlobalTarget = r.UseGlobalFont = true;
    EXPECT_TRUE(ItemStatementText(r, TreeSettings{}, S("p"), 12).endsWith(
        S("); //[+]LEAF[+]Home[+]12[+]False[+]False[+]True[+]True")));
}

TEST(ItemStatement, BuilderIgnoresTheRootAndPositionsThatNameNothing)
{
    TreeDocument d;
    AddItem(d, d.Root(), S("A"));
    BuildItemStatement(d, 1);
    BuildItemStatement(d, 3);
    BuildItemStatement(d, 0);
    EXPECT_TRUE(d.Record(1).ScriptLine.isEmpty());
    EXPECT_TRUE(d.Record(2).ScriptLine.isEmpty());
}
