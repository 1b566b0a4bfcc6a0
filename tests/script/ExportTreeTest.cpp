#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/FileSystem.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

using namespace vi;
using namespace vi::test;

namespace {

const char* const kWorkedExample = R"(// 'DO NOT WRITE TO OR ALTER THIS FILE
// 'Even if you edit the JavaScript your risking
// 'not being able to load it back into Vuvov-Ivoza
// '
// '
// '
// '
//# Generator = Vuvov-Ivoza
//# Version = 2.0.3
// '
@11
@12
// '
// '
//# TreeX = 5
//# TreeY = 5
//# TreeSize = 1
//# TreeLines = 1
//# TreeLineColor = Black
//# TreePMColor = Black
//# TreeBNonExpanded = 
//# TreeBExpanded = 
//# TreeLeaf = 
//# TreeTarget = 
//# TreeBackground = 
//# TreeFontSize = 2
//# TreeFontColor = Black
//\\
var BrowserSwitch = false;
var BackGroundColor = "";
var pmPercent = 50;
var trans2x2=new Image();
trans2x2.src="treePics/2x2.gif";
var menuBase = new menuObject(5,5,20,true,"treePics/plus.gif","treePics/minus.gif","treePics/top.gif","treePics/mid.gif","treePics/btm.gif","treePics/hline.gif","treePics/vline.gif");
menuBase.menuItems[0]= new menuItemObject("treePics/folder.gif","treePics/open.gif","","","Products","2","Black","","",""); //[+]BRANCH[+]Products[+]0[+]False[+]False[+]False[+]True
menuBase.menuItems[0].subMenu[0]= new menuItemObject("","","","","Widgets","3","Navy","widgets.html","main","Our widgets"); //[+]LEAF[+]Widgets[+]1[+]False[+]False[+]False[+]False
)";

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
    QStringList Pictures() const
    {
        return QDir(In("treePics")).entryList(QDir::Files, QDir::Name);
    }
    ExportResult Export(bool browserSwitch = false) { return ExportTree(doc, target.path(), browserSwitch, ui); }
};

} // namespace

TEST_F(ExportTreeTest, WritesTheWorkedExampleByteForByte)
{
    BuildWorkedExample(doc);
    doc.SetTreeChanged(true);
    const ExportResult r = Export();

    QString expected = S(kWorkedExample);
    expected.replace(S("@11"), S("// 'About: Vuvov-Ivoza by Vevadev, download free at ") + MakerWebAddress());
    expected.replace(S("@12"), S("// '") + MakerCopyright());
    expected.replace(S("\n"), S("\r\n"));
    EXPECT_EQ(ReadFile(In("custom.js")), expected.toUtf8());
    EXPECT_TRUE(r.Opened);
    // The items' own bullets lie on another machine's drive: they are reported, and the tree stays unsaved.
    EXPECT_EQ(r.Failures.size(), 2);
    EXPECT_TRUE(doc.TreeChanged());
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_TRUE(ui.Messages[0].Text.startsWith(S("Not everything could be exported to the directory: ") + target.path()));
    EXPECT_TRUE(ui.Messages[0].Text.contains(S("C:\\web\\img\\open.gif")));
    EXPECT_EQ(doc.Record(2).ScriptLine, S("menuBase.menuItems[0]= new menuItemObject(\"treePics/folder.gif\",\"treePics/open.gif\",\"\",\"\",\"Products\",\"2\",\"Black\",\"\",\"\",\"\"); //[+]BRANCH[+]Products[+]0[+]False[+]False[+]False[+]True"));
}

TEST_F(ExportTreeTest, CopiesThePageAndTheLinePicturesByStyle)
{
    struct Case {
        int lines;
        const char* lineColour;
        const char* top;   // content of treePics/top.gif
        const char* minus; // content of treePics/minus.gif
        QStringList pictures;
    };
    const QStringList all{S("2x2.gif"), S("btm.gif"), S("hline.gif"), S("mid.gif"),
                          S("minus.gif"), S("plus.gif"), S("top.gif"), S("vline.gif")};
    const Case cases[] = {
        {0, "Black", "<missing>", "<missing>", {S("2x2.gif")}},
        {2, "Black", "<missing>", "Black/minus.gif", {S("2x2.gif"), S("minus.gif"), S("plus.gif")}},
        {1, "Black", "Black/top.gif", "Black/minus.gif", all},
        {1, "NAVY", "navy/top.gif", "Black/minus.gif", all}, // colour folders are found in any letter case
    };
    AddItem(doc, doc.Root(), S("A"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lineColour);
        QTemporaryDir out;
        doc.Settings().TreeLines = static_cast<std::int16_t>(c.lines);
        doc.Settings().TreeLineColor = S(c.lineColour);
        doc.SetTreeChanged(true);
        const ExportResult r = ExportTree(doc, out.path(), false, ui);
        EXPECT_TRUE(r.Complete()) << r.Failures.join(S("\n")).toStdString();
        EXPECT_FALSE(doc.TreeChanged());
        EXPECT_EQ(QDir(out.filePath(S("treePics"))).entryList(QDir::Files, QDir::Name), c.pictures);
        EXPECT_EQ(ReadFile(out.filePath(S("tree.html"))), "TreeData/tree.html");
        EXPECT_EQ(ReadFile(out.filePath(S("treePics/top.gif"))), c.top);
        EXPECT_EQ(ReadFile(out.filePath(S("treePics/minus.gif"))), c.minus);
    }
    EXPECT_TRUE(ui.Messages.empty());
}

TEST_F(ExportTreeTest, MissingColourFolderLeavesTheScriptCompleteAndTheTreeUnsaved)
{
    AddItem(doc, doc.Root(), S("A"));
    doc.Settings().TreeLineColor = S("Teal");
    doc.SetTreeChanged(true);
    const ExportResult r = Export();

    EXPECT_TRUE(r.Opened);
    EXPECT_FALSE(r.Complete());
    EXPECT_EQ(r.Failures.size(), 5); // top, mid, btm, hline, vline
    EXPECT_TRUE(doc.TreeChanged());
    EXPECT_EQ(Pictures(), (QStringList{S("2x2.gif"), S("minus.gif"), S("plus.gif")}));
    EXPECT_TRUE(ReadFile(In("custom.js")).endsWith("[+]A[+]0[+]False[+]False[+]False[+]True\r\n"));
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Kind, UserInterface::Icon::Information);
    EXPECT_TRUE(ui.Messages[0].Text.contains(In("treePics") + S("/vline.gif: there is no line colour folder named Teal")));
}

TEST_F(ExportTreeTest, CopiesTreeWideBulletsOnceAndOnlyTheItemsOwnPictures)
{
    QTemporaryDir source;
    for (const char* name : {"leaf.gif", "closed.gif", "open.gif", "own.gif", "over.gif", "out.gif"})
        WriteFile(source.filePath(S(name)), name);
    doc.Settings().TreeLeaf = source.filePath(S("leaf.gif"));
    doc.Settings().TreeBNonExpanded = source.filePath(S("closed.gif"));
    doc.Settings().TreeBExpanded = source.filePath(S("open.gif"));
    for (int i = 0; i < 3; ++i) {
        AddItem(doc, doc.Root(), S("Leaf"), [&](ItemRecord& r) {
            r.ItemType = kLeaf;
            r.UseGlobalBNonExpanded = r.UseGlobalBExpanded = true;
            r.BNonExpanded = r.BExpanded = source.filePath(S("own.gif")); // kept, but the tree-wide ones are used
            r.MouseOverPic = source.filePath(S("over.gif"));
        });
    }
    AddItem(doc, doc.Root(), S("Branch"), [&](ItemRecord& r) { r.MouseOutPic = source.filePath(S("out.gif")); });
    const ExportResult r = Export();

    EXPECT_TRUE(r.Complete());
    EXPECT_EQ(Pictures(), (QStringList{S("2x2.gif"), S("btm.gif"), S("closed.gif"), S("hline.gif"), S("leaf.gif"),
                                       S("mid.gif"), S("minus.gif"), S("open.gif"), S("out.gif"), S("over.gif"),
                                       S("plus.gif"), S("top.gif"), S("vline.gif")}));
    EXPECT_EQ(ReadFile(In("treePics/over.gif")), "over.gif");
}

TEST_F(ExportTreeTest, NeverCopiesAPictureOntoItself)
{
    WriteFile(In("treePics/dot.gif"), "dot");
    WriteFile(In("treePics/star.gif"), "star");
    // Loaded from this folder, and the same file spelled another way.
    AddItem(doc, doc.Root(), S("A"), [&](ItemRecord& r) {
        r.BNonExpanded = In("treePics/dot.gif");
        r.MouseOutPic = target.path() + S("/./treePics/star.gif");
    });
    EXPECT_TRUE(Export().Complete());
    EXPECT_EQ(ReadFile(In("treePics/dot.gif")), "dot");
    EXPECT_EQ(ReadFile(In("treePics/star.gif")), "star");

    // Exporting into the data folder itself keeps the delivered page.
    const QString data = DataFolder();
    EXPECT_TRUE(ExportTree(doc, data, false, ui).Complete());
    EXPECT_EQ(ReadFile(data + S("/tree.html")), "TreeData/tree.html");
}

TEST_F(ExportTreeTest, UnwritableScriptShowsTheErrorAndTouchesNoFile)
{
    AddItem(doc, doc.Root(), S("A"));
    doc.SetTreeChanged(true);

    const QString missing = In("no such folder");
    const ExportResult r = ExportTree(doc, missing, false, ui);
    EXPECT_FALSE(r.Opened);
    EXPECT_FALSE(QFileInfo::exists(missing));
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Text,
              S("There was an error trying to export to the directory: ") + missing + S("\rReason: ")
                  + qt_error_string(ENOENT));
    EXPECT_EQ(ui.Messages[0].Kind, UserInterface::Icon::Information);

    // custom.js that cannot be replaced: a folder of that name, then a write-protected file.
    QDir(target.path()).mkdir(S("custom.js"));
    EXPECT_FALSE(Export().Opened);
    QDir(target.path()).rmdir(S("custom.js"));
    WriteFile(In("custom.js"), "old");
    QFile::setPermissions(In("custom.js"), QFile::ReadOwner);
    EXPECT_FALSE(Export().Opened);
    EXPECT_EQ(ui.Messages.back().Text, S("There was an error trying to export to the directory: ") + target.path()
                                           + S("\rReason: Permission denied"));

    EXPECT_EQ(ui.Messages.size(), 3u);
    EXPECT_EQ(QDir(target.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              QStringList{S("custom.js")});
    EXPECT_EQ(ReadFile(In("custom.js")), "old");
    EXPECT_TRUE(doc.TreeChanged());
}

TEST_F(ExportTreeTest, FailingWriteKeepsTheOldScript)
{
    for (int i = 0; i < 2000; ++i)
        AddItem(doc, doc.Root(), S("An item with a name long enough to fill the disk"));
    WriteFile(In("custom.js"), "old script");
    doc.SetTreeChanged(true);

    // A full disk: writes past 64 KiB fail.
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const ExportResult r = Export();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(r.Opened);
    EXPECT_EQ(ReadFile(In("custom.js")), "old script");
    EXPECT_TRUE(doc.TreeChanged());
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_TRUE(ui.Messages[0].Text.startsWith(S("There was an error trying to export to the directory: ")
                                               + target.path() + S("\rReason: ")));
    EXPECT_EQ(QDir(target.path()).entryList(QDir::Files), (QStringList{S("custom.js"), S("tree.html")}));
}

TEST_F(ExportTreeTest, TreeWithoutItemsEndsWithTheRootStatementAndStaysUnsaved)
{
    doc.SetTreeChanged(true);
    const ExportResult r = Export(true);
    const QList<QByteArray> lines = ReadFile(In("custom.js")).split('\n');
    ASSERT_EQ(lines.size(), 35); // 34 lines and the empty text after the last line end
    EXPECT_EQ(lines[28], "var BrowserSwitch = true;\r");
    EXPECT_EQ(lines[33], doc.RootStatement().toUtf8() + "\r");
    EXPECT_TRUE(r.Complete());
    EXPECT_TRUE(doc.TreeChanged());
    EXPECT_TRUE(ui.Messages.empty());
}

TEST_F(ExportTreeTest, ExportingAgainReplacesTheFiles)
{
    BuildWorkedExample(doc);
    Export();
    const QByteArray first = ReadFile(In("custom.js"));
    WriteFile(In("tree.html"), "edited");
    WriteFile(In("treePics/plus.gif"), "edited");
    WriteFile(In("other.txt"), "mine");
    Export();
    EXPECT_EQ(ReadFile(In("custom.js")), first);
    EXPECT_EQ(ReadFile(In("tree.html")), "TreeData/tree.html");
    EXPECT_EQ(ReadFile(In("treePics/plus.gif")), "Black/plus.gif");
    EXPECT_EQ(ReadFile(In("other.txt")), "mine");
}

TEST_F(ExportTreeTest, FileInPlaceOfThePictureFolderFailsEveryCopyButNotTheScript)
{
    AddItem(doc, doc.Root(), S("A"));
    WriteFile(In("treePics"), "not a folder");
    doc.SetTreeChanged(true);
    const ExportResult r = Export();
    EXPECT_TRUE(r.Opened);
    EXPECT_EQ(r.Failures.size(), 9); // the folder and eight line pictures
    EXPECT_TRUE(doc.TreeChanged());
    ASSERT_EQ(ui.Messages.size(), 1u);
    const QStringList shown = ui.Messages[0].Text.split(QLatin1Char('\r'));
    ASSERT_EQ(shown.size(), 2 + 9);
    EXPECT_EQ(shown[2], In("treePics") + S(": the folder could not be created"));
}

TEST(ExportFailuresMessage, ListsTenFailuresThenHowManyMore)
{
    QStringList failures;
    for (int i = 1; i <= 13; ++i)
        failures << S("f") + QString::number(i);
    const QStringList lines = ExportFailuresMessage(S("/out"), failures).split(QLatin1Char('\r'));
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines[0], S("Not everything could be exported to the directory: /out"));
    EXPECT_EQ(lines[11], S("f10"));
    EXPECT_EQ(lines[12], S("... and 3 more."));
    EXPECT_EQ(ExportFailuresMessage(S("/out"), failures.mid(0, 10)).count(QLatin1Char('\r')), 11);
}
