#include "script/ExportTree.h"

#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/FileSystem.h"
#include "script/ItemStatement.h"
#include "script/RootStatement.h"
#include "script/ScriptText.h"
#include "script/ScriptWriter.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vi;
using namespace vi::test;

namespace {

void BuildWorkedExample(TreeDocument& d)
{
    TreeNode* products = AddItem(d, d.Root(), S("Products"), [](ItemRecord& r) {
        r.BNonExpanded = S("C:\\web\\img\\folder.gif");
        r.BExpanded = S("C:\\web\\img\\open.gif");
    });
    AddItem(d, products, S("Widgets"), [](ItemRecord& r) {
        r.ItemType = kLeaf;
        r.UseGlobalFont = false;
        r.FontSize = S("3");
        r.FontColor = S("Navy");
        r.LinkHref = S("widgets.html");
        r.LinkTarget = S("main");
        r.LinkDescription = S("Our widgets");
    });
}

class ExportTreeTest : public ::testing::Test {
protected:
    FakeProgramFolder program;
    QTemporaryDir target;
    TreeDocument doc;
    FakeUserInterface ui;

    QString In(const char* name) const { return target.filePath(S(name)); }
    ExportResult Export(bool browserSwitch = false) { return ExportTree(doc, target.path(), browserSwitch, ui); }
};

} // namespace

TEST_F(ExportTreeTest, WritesTheWorkedExampleAndReplacesFilesOnTheNextExport)
{
    BuildWorkedExample(doc);
    const QByteArray expected = ReadFile(Corpus("example.js"));
    const ExportResult first = Export();
    EXPECT_EQ(ReadFile(In("custom.js")), expected);
    // The bullets lie on another machine's drive: reported once, and the tree stays unsaved.
    EXPECT_TRUE(first.Written);
    EXPECT_EQ(first.Failures.size(), 2);
    ASSERT_EQ(ui.Messages.size(), 1u);
    const QString pics = JoinPath(target.path(), S("treePics"));
    EXPECT_TRUE(ui.Messages[0].Text.endsWith(JoinPath(pics, S("open.gif: could not copy C:\\web\\img\\open.gif"))));

    for (const char* name : {"tree.html", "treePics/plus.gif", "mine.txt"})
        WriteFile(In(name), "edited");
    Export();
    EXPECT_EQ(ReadFile(In("custom.js")), expected);
    EXPECT_EQ(ReadFile(In("tree.html")), "tree.html");
    EXPECT_EQ(ReadFile(In("treePics/plus.gif")), "Black/plus.gif");
    EXPECT_EQ(ReadFile(In("mine.txt")), "edited");
}

TEST_F(ExportTreeTest, CopiesTheLinePicturesByStyleAndColour)
{
    const QStringList all = S("2x2.gif btm.gif hline.gif mid.gif minus.gif plus.gif top.gif vline.gif").split(u' ');
    const QStringList signs = S("2x2.gif minus.gif plus.gif").split(u' ');
    const struct {
        int lines;
        const char* lineColour;
        const char* top; // what treePics/top.gif holds
        QStringList pictures;
        qsizetype failures;
    } cases[] = {
        {0, "Black", "<missing>", {S("2x2.gif")}, 0}, {2, "Black", "<missing>", signs, 0},
        {1, "Black", "Black/top.gif", all, 0},        {1, "NAVY", "navy/top.gif", all, 0}, // any letter case
        {1, "Teal", "<missing>", signs, 5},
    };
    AddItem(doc, doc.Root(), S("A"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lineColour);
        QDir(In("treePics")).removeRecursively();
        doc.Settings().TreeLines = static_cast<std::int16_t>(c.lines);
        doc.Settings().TreeLineColor = S(c.lineColour);
        doc.SetTreeChanged(true);
        EXPECT_EQ(Export().Failures.size(), c.failures);
        EXPECT_EQ(doc.TreeChanged(), c.failures > 0);
        EXPECT_EQ(Entries(In("treePics")), c.pictures);
        EXPECT_EQ(ReadFile(In("treePics/top.gif")), c.top);
        // The signs follow their own colour, not the lines'.
        EXPECT_EQ(ReadFile(In("treePics/minus.gif")), c.lines ? "Black/minus.gif" : "<missing>");
    }
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_TRUE(ui.Messages[0].Text.contains(
        JoinPath(JoinPath(target.path(), S("treePics")), S("vline.gif: there is no line colour folder named Teal"))));
}

TEST_F(ExportTreeTest, CopiesEachPictureOnceAndNeverOntoItself)
{
    QTemporaryDir source;
    const auto from = [&](const char* name) { return source.filePath(S(name)); };
    for (const char* name : {"leaf.gif", "closed.gif", "open.gif", "own.gif", "over.gif"})
        WriteFile(from(name), name);
    WriteFile(In("treePics/dot.gif"), "dot");
    doc.Settings().TreeLeaf = from("leaf.gif");
    doc.Settings().TreeBNonExpanded = from("closed.gif");
    doc.Settings().TreeBExpanded = from("open.gif");
    for (int i = 0; i < 3; ++i) {
        AddItem(doc, doc.Root(), S("Leaf"), [&](ItemRecord& r) {
            r.UseGlobalBNonExpanded = r.UseGlobalBExpanded = true;
            r.BNonExpanded = r.BExpanded = from("own.gif"); // not used, so not copied
            r.MouseOverPic = from("over.gif");
        });
    }
    // Loaded from this folder, and the same file spelled another way.
    AddItem(doc, doc.Root(), S("B"), [&](ItemRecord& r) {
        r.BNonExpanded = In("treePics/dot.gif");
        r.MouseOutPic = target.path() + S("/./treePics/dot.gif");
    });
    EXPECT_TRUE(Export().Complete());
    EXPECT_EQ(Entries(In("treePics")).join(QLatin1Char(' ')),
              S("2x2.gif btm.gif closed.gif dot.gif hline.gif leaf.gif mid.gif minus.gif open.gif over.gif plus.gif "
                "top.gif vline.gif"));
    EXPECT_EQ(ReadFile(In("treePics/dot.gif")), "dot");
    EXPECT_FALSE(doc.TreeChanged());

    // Exporting into the data folder itself keeps the delivered page.
    EXPECT_TRUE(ExportTree(doc, DataFolder(), false, ui).Complete());
    EXPECT_EQ(ReadFile(DataFolder() + S("/tree.html")), "tree.html");
}

TEST_F(ExportTreeTest, UnwritableScriptShowsTheErrorAndTouchesNoFile)
{
    AddItem(doc, doc.Root(), S("A"));
    doc.SetTreeChanged(true);
    const QString missing = In("missing");
    EXPECT_FALSE(ExportTree(doc, missing, false, ui).Written);
    EXPECT_FALSE(QFileInfo::exists(missing));
    WriteFile(In("custom.js"), "old");
    QFile::setPermissions(In("custom.js"), QFile::ReadOwner); // write-protected
    EXPECT_FALSE(Export().Written);

    ASSERT_EQ(ui.Messages.size(), 2u);
    EXPECT_EQ(ui.Messages[0].Text, S("There was an error trying to export to the directory: ") + missing
                                       + S("\rReason: ") + qt_error_string(ENOENT));
    EXPECT_EQ(ui.Messages[0].Kind, UserInterface::Icon::Information);
    EXPECT_EQ(ui.Messages[1].Text, ExportErrorMessage(target.path(), S("Permission denied")));
    EXPECT_EQ(Entries(target.path()), QStringList{S("custom.js")});

    // An item whose record is missing would end the script early: nothing is written.
    QFile::setPermissions(In("custom.js"), QFile::ReadOwner | QFile::WriteOwner);
    doc.SetTag(doc.Node(2), 9999);
    EXPECT_FALSE(Export().Written);
    EXPECT_TRUE(ui.Messages.back().Text.endsWith(S("has no record.")));
    EXPECT_EQ(ReadFile(In("custom.js")), "old");
    EXPECT_TRUE(doc.TreeChanged());
}

TEST_F(ExportTreeTest, ManyFailuresAreSummedUpInOneMessage)
{
    WriteFile(In("treePics"), "a file in place of the folder");
    for (const char* name : {"a.gif", "b.gif", "c.gif"})
        AddItem(doc, doc.Root(), S(name), [&](ItemRecord& r) { r.MouseOverPic = In("nowhere/") + S(name); });
    EXPECT_EQ(Export().Failures.size(), 12); // the folder, eight line pictures, three item pictures
    ASSERT_EQ(ui.Messages.size(), 1u);
    const QStringList shown = ui.Messages[0].Text.split(QLatin1Char('\r'));
    ASSERT_EQ(shown.size(), 2 + 10 + 1);
    EXPECT_EQ(shown[0], S("Not everything could be exported to the directory: ") + target.path());
    EXPECT_EQ(shown[2], In("treePics") + S(": the folder could not be created"));
    EXPECT_EQ(shown[12], S("... and 2 more."));
}

TEST_F(ExportTreeTest, TreeWithoutItemsEndsWithTheRootStatementAndStaysUnsaved)
{
    doc.SetTreeChanged(true);
    const ExportResult result = Export(true);
    EXPECT_TRUE(result.Written && result.Failures.isEmpty());
    EXPECT_FALSE(result.Complete());
    const QList<QByteArray> lines = ReadFile(In("custom.js")).split('\n');
    ASSERT_EQ(lines.size(), 35); // 34 lines, each ended by CR LF
    EXPECT_EQ(lines[28], "var BrowserSwitch = true;\r");
    EXPECT_EQ(lines[33], BuildRootStatement(doc.Settings()).toUtf8() + "\r");
    EXPECT_TRUE(doc.TreeChanged());
    EXPECT_TRUE(ui.Messages.empty());
}

TEST(ScriptWriter, HeaderValuesAreTrimmedFileNamesAndEmptyOnesEndInABlank)
{
    TreeSettings s;
    s.TreeX = -10;
    s.TreeLineColor = S(" Navy ");
    s.TreeBNonExpanded = S("C:\\web\\img/a\\closed.gif");
    s.TreeBExpanded = S("/home/me/pics/open.gif");
    s.TreeLeaf = S(" leaf.gif ");
    s.TreeBackground = S(" #FFFFFF ");
    s.TreeFontSize.clear();
    const QStringList lines = ScriptHeaderLines(s, true);
    ASSERT_EQ(lines.size(), kHeaderLineCount + kPreambleLineCount);
    EXPECT_EQ(lines.mid(14, 15).join(QLatin1Char('|')),
              S("//# TreeX = -10|//# TreeY = 5|//# TreeSize = 1|//# TreeLines = 1|//# TreeLineColor = Navy|"
                "//# TreePMColor = Black|//# TreeBNonExpanded = closed.gif|//# TreeBExpanded = open.gif|"
                "//# TreeLeaf = leaf.gif|//# TreeTarget = |//# TreeBackground = #FFFFFF|//# TreeFontSize = |"
                "//# TreeFontColor = Black|//\\\\|var BrowserSwitch = true;"));
    EXPECT_EQ(lines[29], S("var BackGroundColor = \" #FFFFFF \";"));
}

namespace {

QString Arguments(const ItemRecord& r, const TreeSettings& s)
{
    const QString statement = ItemStatementText(r, s, S("p"), 0);
    return statement.mid(22, statement.indexOf(S("); //[+]")) - 22); // after "p= new menuItemObject("
}

} // namespace

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
    for (const char* special :
         {"\\", "\"", "\r", "\n", "//[+]", "\u2028", "\u2029", "\xC3\xA9\xE2\x82\xAC", "\xF0\x9F\x98\x80", " "}) {
        for (int at = 0; at <= 20; ++at) {
            r.ItemText = r.LinkDescription = QString(20, QLatin1Char('a')).insert(at, S(special));
            EXPECT_TRUE(Arguments(r, s).contains(S("\"") + EscapeScriptText(r.ItemText, true) + S("\"")))
                << special << at;
            // The bytes kept per item are that line in UTF-8, with no spare room.
            const QByteArray bytes = ItemStatementBytes(r, s, S("menuBase.menuItems[3]"), 0);
            EXPECT_EQ(bytes, ItemStatementText(r, s, S("menuBase.menuItems[3]"), 0).toUtf8()) << special << at;
            EXPECT_EQ(bytes.capacity(), bytes.size());
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
