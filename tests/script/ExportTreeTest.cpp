#include "script/ExportTree.h"

#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/FileSystem.h"
#include "script/RootStatement.h"
#include "script/ScriptWriter.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

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
    QStringList Listing(const char* folder) const
    {
        return QDir(In(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    }
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
    const QStringList all{S("2x2.gif"),   S("btm.gif"),  S("hline.gif"), S("mid.gif"),
                          S("minus.gif"), S("plus.gif"), S("top.gif"),   S("vline.gif")};
    const QStringList signs{S("2x2.gif"), S("minus.gif"), S("plus.gif")};
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
        EXPECT_EQ(Listing("treePics"), c.pictures);
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
    EXPECT_EQ(Listing("treePics").join(QLatin1Char(' ')),
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
    EXPECT_EQ(Listing(""), QStringList{S("custom.js")});
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

    EXPECT_FALSE(r.Written);
    EXPECT_EQ(ReadFile(In("custom.js")), "old script");
    EXPECT_TRUE(doc.TreeChanged());
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_TRUE(ui.Messages[0].Text.startsWith(ExportErrorMessage(target.path(), QString())));
    EXPECT_EQ(Listing(""), (QStringList{S("custom.js"), S("tree.html"), S("treePics")}));

    // So does an item whose record is missing: the script would end early.
    doc.SetTag(doc.Node(3), 9999);
    EXPECT_FALSE(Export().Written);
    EXPECT_EQ(ReadFile(In("custom.js")), "old script");
    EXPECT_TRUE(ui.Messages.back().Text.endsWith(S("has no record.")));
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
    EXPECT_TRUE(FileExists(In("custom.js")) && FolderExists(In("treePics")));
    EXPECT_FALSE(FileExists(In("treePics")) || FolderExists(In("custom.js")) || FolderExists(QString()));
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
