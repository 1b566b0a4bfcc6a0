#include "script/ItemStatement.h"

#include "document/TreeDocument.h"
#include "script/RootStatement.h"
#include "script/ScriptText.h"
#include "tests/script/ExportTestSupport.h"

#include <gtest/gtest.h>

using namespace vi;
using namespace vi::test;

namespace {

QString Arguments(const ItemRecord& r, const TreeSettings& s)
{
    const QString statement = ItemStatementText(r, s, S("p"), 0);
    return statement.mid(22, statement.indexOf(S("); //[+]")) - 22); // after "p= new menuItemObject("
}

} // namespace

TEST(ItemStatement, PathsAndParentRowsFollowTheItemWalk)
{
    TreeDocument d;
    TreeNode* a = AddItem(d, d.Root(), S("A"));
    TreeNode* b = AddItem(d, a, S("B"));
    TreeNode* c = AddItem(d, b, S("C"));
    TreeNode* e = AddItem(d, d.Root(), S("D"));
    QStringList built;
    for (TreeNode* node : {a, b, c, e}) {
        BuildItemStatement(d, node->Position());
        const QString line = QString::fromUtf8(d.RecordOf(node).ScriptLine);
        built << line.left(line.indexOf(S("= new"))) + S("|") + line.split(S("[+]"))[3];
    }
    EXPECT_EQ(built, (QStringList{S("menuBase.menuItems[0]|0"), S("menuBase.menuItems[0].subMenu[0]|1"),
                                  S("menuBase.menuItems[0].subMenu[0].subMenu[0]|2"), S("menuBase.menuItems[1]|0")}));

    BuildItemStatement(d, 1); // the root and positions that name nothing are left alone
    BuildItemStatement(d, 9);
    EXPECT_TRUE(d.Record(1).ScriptLine.isEmpty());
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
        r.ItemText = S("X");
        r.FontColor = S("Navy"); // written only together with an own size
        r.LinkTarget = S("own");
        edit(r);
        return r;
    };
    const struct {
        const char* name;
        ItemRecord record;
        const char* arguments;
    } cases[] = {
        {"leaf with the tree-wide bullets",
         item([](ItemRecord& r) { r.ItemType = kLeaf, r.UseGlobalBNonExpanded = r.UseGlobalBExpanded = true; }),
         R"("treePics/leaf.gif","treePics/open.gif","","","X","","","","own","")"},
        {"branch with every tree-wide value",
         item([](ItemRecord& r) { r.UseGlobalBNonExpanded = r.UseGlobalBExpanded = r.UseGlobalFont = true; }),
         R"("treePics/closed.gif","treePics/open.gif","","","X","4","Red","","own","")"},
        {"own pictures, font and link", item([](ItemRecord& r) {
             r.BNonExpanded = S("C:\\a/b\\c.gif"), r.BExpanded = S("d/e.gif"), r.MouseOutPic = S("out.gif");
             r.MouseOverPic = S("C:\\over.gif"), r.FontSize = S("1"), r.UseGlobalTarget = true;
             r.LinkHref = S("a.html"), r.LinkDescription = S("About");
         }),
         R"("treePics/c.gif","treePics/e.gif","treePics/out.gif","treePics/over.gif","X","1","Navy","a.html","frame","About")"},
        {"text with markup and line ends",
         item([](ItemRecord& r) { r.ItemText = S("<a href=\"x\">C:\\dir</a>//[+]\r\n"); }),
         R"("","","","","<a href=\x22x\x22>C:\x5Cdir</a>/\x2F[+]\x0D\x0A","","","","own","")"},
        {"blanks at the ends and line separators",
         item([](ItemRecord& r) { r.ItemText = S(" a\u2028b\u2029 "), r.LinkHref = S("é x"); }),
         R"("","","","","\x20a\u2028b\u2029\x20","","","é x","own","")"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Arguments(c.record, s), S(c.arguments));
    }

    // A tree-wide bullet that is not set names no picture, rather than the bare folder.
    s.TreeLeaf.clear();
    EXPECT_TRUE(Arguments(cases[0].record, s).startsWith(S(R"("","treePics/open.gif")")));

    ItemRecord r = cases[0].record;
    r.FriendlyName = S("Home");
    r.UseGlobalBNonExpanded = false;
    EXPECT_TRUE(
        ItemStatementText(r, s, S("p"), 12).endsWith(S("); //[+]LEAF[+]Home[+]12[+]False[+]True[+]False[+]False")));
    // Characters that would end the marker's comment line are written as blanks.
    r.FriendlyName = S("a\rb\nc\u2028d\u2029e");
    r.ItemType = S("LEAF\u2028");
    EXPECT_TRUE(
        ItemStatementText(r, s, S("p"), 0).endsWith(S("); //[+]LEAF [+]a b c d e[+]0[+]False[+]True[+]False[+]False")));

    // Every special character at every place of a value, inside and after the blocks of the fast check.
    for (const char* special : {"\\", "\"", "\r", "\n", "//[+]", "\u2028", "\u2029", "\xF0\x9F\x98\x80", " "}) {
        for (int at = 0; at <= 20; ++at) {
            r.ItemText = QString(20, QLatin1Char('a')).insert(at, S(special));
            EXPECT_TRUE(Arguments(r, s).contains(S("\"") + EscapeScriptText(r.ItemText, true) + S("\"")))
                << special << at;
        }
    }
    // Lone surrogates at either end of the blocks.
    for (const char16_t surrogate : {u'\xD800', u'\xDC00'}) {
        for (int at : {0, 7, 8, 20}) {
            r.ItemText = QString(20, QLatin1Char('a')).insert(at, QChar(surrogate));
            EXPECT_TRUE(Arguments(r, s).contains(QString::number(surrogate, 16).toUpper())) << at;
        }
    }
}

TEST(ItemStatement, KeptBytesAreTheLineInUtf8)
{
    const struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"ASCII", "Products"},
        {"accents and signs", "Caf\xc3\xa9 \xe2\x82\xac 5"},
        {"outside the basic plane", "\xf0\x9f\x98\x80 smile"},
        {"escaped", "say \"hi\" \\ //[+] now\r\n"},
    };
    TreeSettings s;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ItemRecord r;
        r.ItemType = kLeaf;
        r.FriendlyName = r.ItemText = r.LinkDescription = S(c.text);
        const QByteArray bytes = ItemStatementBytes(r, s, S("menuBase.menuItems[3]"), 0);
        EXPECT_EQ(bytes, ItemStatementText(r, s, S("menuBase.menuItems[3]"), 0).toUtf8());
        EXPECT_EQ(bytes.capacity(), bytes.size()); // no spare room kept per item
    }
}

// The default statement is checked byte for byte by the export's worked example.
TEST(RootStatement, FollowsTheLineStyleAndItemHeight)
{
    TreeSettings s;
    s.TreeLines = 0;
    EXPECT_EQ(BuildRootStatement(s),
              QStringLiteral("var menuBase = new menuObject(5,5,20,false,\"\",\"\",\"\",\"\",\"\",\"\",\"\");"));
    s.TreeLines = 2;
    s.TreeSize = 4;
    s.TreeX = -10;
    EXPECT_EQ(BuildRootStatement(s),
              QStringLiteral("var menuBase = new menuObject(-10,5,32,true,\"treePics/plus.gif\",\"treePics/minus.gif\","
                             "\"treePics/2x2.gif\",\"treePics/2x2.gif\",\"treePics/2x2.gif\",\"treePics/2x2.gif\","
                             "\"treePics/2x2.gif\");"));
    s.TreeSize = 0;
    EXPECT_TRUE(BuildRootStatement(s).startsWith(QStringLiteral("var menuBase = new menuObject(-10,5,16,")));

    // A tree without a statement of its own is written with one built from its settings.
    TreeDocument d;
    d.NewTree();
    d.Settings() = s;
    EXPECT_EQ(RootStatementOf(d), BuildRootStatement(s));
    d.SetRootStatement(S("var menuBase = new menuObject(1,2,3);"));
    EXPECT_EQ(RootStatementOf(d), S("var menuBase = new menuObject(1,2,3);"));
}
