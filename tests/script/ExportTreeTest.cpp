#include "script/ExportTree.h"

#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/FileSystem.h"
#include "script/ItemStatement.h"
#include "script/ScriptText.h"
#include "script/Sitemap.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace vi;
using namespace vi::test;

namespace {

void BuildWorkedExample(TreeDocument& d)
{
    TreeNode* products = AddItem(d, d.Root(), S("Products"), [](ItemRecord& r) {
        r.BNonExpanded = S("C:\\web\\img\\folder.gif"), r.BExpanded = S("C:\\web\\img\\open.gif");
    });
    AddItem(d, products, S("Widgets"), [](ItemRecord& r) {
        r.ItemType = kLeaf, r.UseGlobalFont = false, r.FontSize = S("3"), r.FontColor = S("Navy");
        r.LinkHref = S("widgets.html"), r.LinkTarget = S("main"), r.LinkDescription = S("Our widgets");
    });
}

QString Arguments(const ItemRecord& r, const TreeSettings& s)
{
    const QString statement = ItemStatementText(r, s, S("p"), 0);
    return statement.mid(22, statement.indexOf(S("); //[+]")) - 22); // after "p= new menuItemObject("
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
    doc.SetTreeChanged(true);
    const QByteArray expected = ReadFile(Corpus("example.js"));
    const ExportResult first = Export();
    EXPECT_EQ(ReadFile(In("custom.js")), expected);
    // The bullets lie on another machine's drive: reported once, and the tree stays unsaved.
    EXPECT_TRUE(first.Written && doc.TreeChanged());
    EXPECT_EQ(first.Failures.size(), 2);
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_TRUE(
        ui.Messages[0].Text.endsWith(JoinPath(In("treePics"), S("open.gif: could not copy C:\\web\\img\\open.gif"))));

    for (const char* name : {"tree.html", "mine.txt"})
        WriteFile(In(name), "edited");
    // The replaced custom.js keeps its permissions and, where the process may give it, its owner.
    const QByteArray custom = QFile::encodeName(In("custom.js"));
    const bool asRoot = ::getuid() == 0;
    ASSERT_EQ(::chmod(custom.constData(), 0604), 0);
    ASSERT_TRUE(!asRoot || ::chown(custom.constData(), 65534, 65534) == 0);
    Export();
    EXPECT_EQ(ReadFile(In("custom.js")), expected);
    EXPECT_EQ(Mode(In("custom.js")), S_IFREG | 0604u);
    EXPECT_EQ(QFileInfo(In("custom.js")).ownerId(), asRoot ? 65534u : ::getuid());
    EXPECT_EQ(ReadFile(In("tree.html")), "tree.html");
    EXPECT_EQ(ReadFile(In("treePics/plus.gif")), "Black/plus.gif");
    EXPECT_EQ(ReadFile(In("mine.txt")), "edited");
}

TEST_F(ExportTreeTest, CopiesTheLinePicturesByStyleAndColour)
{
    const struct {
        int lines;
        const char* lineColour;
        const char* pictures;
    } cases[] = {
        {0, "Black", "2x2.gif"},
        {2, "Black", "2x2.gif minus.gif plus.gif"},
        {1, "Teal", "2x2.gif minus.gif plus.gif"}, // no such colour: five failures
        {1, "NAVY", "2x2.gif btm.gif hline.gif mid.gif minus.gif plus.gif top.gif vline.gif"},
    };
    AddItem(doc, doc.Root(), S("A"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lineColour);
        QDir(In("treePics")).removeRecursively();
        doc.Settings().TreeLines = static_cast<std::int16_t>(c.lines);
        doc.Settings().TreeLineColor = S(c.lineColour);
        EXPECT_EQ(Export().Failures.size(), c.lineColour == QByteArray("Teal") ? 5 : 0);
        EXPECT_EQ(Entries(In("treePics")).join(QLatin1Char(' ')), S(c.pictures));
    }
    EXPECT_EQ(ReadFile(In("treePics/top.gif")), "navy/top.gif"); // the colour's folder, whatever its case
    EXPECT_EQ(ui.MessageTexts().size(), 1);
    EXPECT_TRUE(ui.MessageTexts().value(0).contains(
        JoinPath(In("treePics"), S("vline.gif: there is no line colour folder named Teal"))));
}

// Each picture is copied once, and one already in the folder, however its path
// is spelled (through a link to its folder, as a hard link), is left whole.
TEST_F(ExportTreeTest, CopiesEachPictureOnceAndNeverOntoItself)
{
    QTemporaryDir source;
    const auto from = [&](const char* name) { return source.filePath(S(name)); };
    for (const char* name : {"leaf.gif", "closed.gif", "open.gif", "own.gif", "over.gif"})
        WriteFile(from(name), Gif(name));
    WriteFile(In("treePics/dot.gif"), Gif("dot"));
    WriteFile(In("treePics/same.gif"), Gif("same"));
    ASSERT_EQ(
        ::link(QFile::encodeName(In("treePics/same.gif")).constData(), QFile::encodeName(from("same.gif")).constData()),
        0);
    ASSERT_TRUE(QFile::link(In("treePics"), from("alias")));
    doc.Settings().TreeLeaf = from("leaf.gif");
    doc.Settings().TreeBNonExpanded = from("closed.gif");
    doc.Settings().TreeBExpanded = from("open.gif");
    for (const QString& spelling :
         {In("treePics/dot.gif"), target.path() + S("/./treePics/dot.gif"), from("alias/dot.gif"), from("same.gif")}) {
        AddItem(doc, doc.Root(), S("Leaf"), [&](ItemRecord& r) {
            r.UseGlobalBNonExpanded = r.UseGlobalBExpanded = true;
            r.BNonExpanded = r.BExpanded = from("own.gif"); // not used, so not copied
            r.MouseOverPic = from("over.gif");
            r.MouseOutPic = spelling;
        });
    }
    EXPECT_TRUE(Export().Complete());
    EXPECT_EQ(Entries(In("treePics")).join(QLatin1Char(' ')),
              S("2x2.gif btm.gif closed.gif dot.gif hline.gif leaf.gif mid.gif minus.gif open.gif over.gif plus.gif "
                "same.gif top.gif vline.gif"));
    EXPECT_EQ(ReadFile(In("treePics/dot.gif")), Gif("dot"));
    EXPECT_EQ(ReadFile(In("treePics/same.gif")), Gif("same"));
    EXPECT_FALSE(doc.TreeChanged());

    // Exporting into the data folder itself keeps the delivered page.
    EXPECT_TRUE(ExportTree(doc, DataFolder(), false, ui).Complete());
    EXPECT_EQ(ReadFile(DataFolder() + S("/tree.html")), "tree.html");
}

// The page names pictures by file name only: two different pictures of one
// name, or a picture named like a line picture, would show one for the other.
TEST_F(ExportTreeTest, PicturesOfOneNameFromTwoPlacesAreReportedAndTheFirstStays)
{
    QTemporaryDir a, b, c;
    WriteFile(a.filePath(S("icon.gif")), Gif("a"));
    WriteFile(b.filePath(S("icon.gif")), Gif("b"));
    WriteFile(c.filePath(S("icon.gif")), Gif("a")); // the same picture in another folder
    WriteFile(b.filePath(S("plus.gif")), Gif("my plus"));
    for (const QString& picture :
         {a.filePath(S("icon.gif")), b.filePath(S("icon.gif")), c.filePath(S("icon.gif")), b.filePath(S("plus.gif"))})
        AddItem(doc, doc.Root(), S("Leaf"), [&](ItemRecord& r) { r.MouseOutPic = picture; });
    const QString plus = JoinPath(LineColourFolder(doc.Settings().TreePMColor), S("plus.gif"));
    EXPECT_EQ(Export().Failures,
              (QStringList{In("treePics/icon.gif") + S(": another picture of this name is in the tree: ")
                               + a.filePath(S("icon.gif")),
                           In("treePics/plus.gif") + S(": another picture of this name is in the tree: ") + plus}));
    EXPECT_EQ(ReadFile(In("treePics/icon.gif")), Gif("a"));
    EXPECT_EQ(ReadFile(In("treePics/plus.gif")), ReadFile(plus));
}

// A custom.js that cannot be written, or that the loader would refuse, is not
// written: the old one stays and the tree stays unsaved.
TEST_F(ExportTreeTest, RefusedScriptTouchesNoFile)
{
    AddItem(doc, doc.Root(), S("A"));
    doc.SetTreeChanged(true);
    const QString missing = In("missing");
    EXPECT_FALSE(ExportTree(doc, missing, false, ui).Written);
    EXPECT_FALSE(QFileInfo::exists(missing));
    WriteFile(In("custom.js"), "old");
    QFile::setPermissions(In("custom.js"), QFile::ReadOwner); // write-protected
    EXPECT_FALSE(Export().Written);
    EXPECT_EQ(Entries(target.path()), QStringList{S("custom.js")});
    QFile::setPermissions(In("custom.js"), QFile::ReadOwner | QFile::WriteOwner);
    AddItems(doc, 8000); // about 1.6 MB of script
    EXPECT_FALSE(ExportTree(doc, target.path(), false, ui, 1 << 20).Written);

    EXPECT_EQ(ReadFile(In("custom.js")), "old");
    EXPECT_TRUE(doc.TreeChanged());
    ASSERT_EQ(ui.Messages.size(), 3u);
    EXPECT_EQ(ui.Messages[0].Text, S("There was an error trying to export to the directory: ") + missing
                                       + S("\rReason: ") + qt_error_string(ENOENT));
    EXPECT_EQ(ui.Messages[0].Kind, UserInterface::Icon::Information);
    EXPECT_EQ(ui.Messages[1].Text, ExportErrorMessage(target.path(), S("Permission denied")));
    EXPECT_EQ(ui.Messages[2].Text, ExportErrorMessage(target.path(), S("The tree is too large: its custom.js would be "
                                                                       "larger than 1 MB, more than the editor can "
                                                                       "load back.")));
    EXPECT_EQ(Entries(target.path()), (QStringList{S("custom.js"), S("tree.html"), S("treePics")}));
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

TEST(ItemStatement, ArgumentsFollowTheGlobalAndOwnValues)
{
    TreeSettings s;
    s.TreeLeaf = S("C:\\pics\\leaf.gif"), s.TreeBNonExpanded = S("/home/me/closed.gif"),
    s.TreeBExpanded = S("open.gif");
    s.TreeFontSize = S("4"), s.TreeFontColor = S("Red"), s.TreeTarget = S("frame");
    auto item = [](const std::function<void(ItemRecord&)>& edit) {
        ItemRecord r;
        r.ItemType = kBranch, r.ItemText = S("X"), r.LinkTarget = S("own");
        r.FontColor = S("Navy"); // written only together with an own size
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
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Arguments(c.record, s), S(c.arguments));
    }
    // A tree-wide bullet that is not set names no picture, rather than the bare folder.
    s.TreeLeaf.clear();
    EXPECT_TRUE(Arguments(cases[0].record, s).startsWith(S(R"("","treePics/open.gif")")));
    ItemRecord r = cases[0].record;

    // Every special character at every place of a value, inside and after the
    // eight-character blocks of the scan that decides whether to escape.
    QStringList specials = S("\\|\"|\r|\n|//[+]|\u2028|\u2029|é€|😀| ").split(QLatin1Char('|'));
    specials << QString(QChar(u'\xD800')) << QString(QChar(u'\xDC00'));
    for (const QString& special : specials) {
        for (int at = 0; at <= 20; ++at) {
            SCOPED_TRACE(special.toStdString() + " at " + std::to_string(at));
            r.ItemText = r.LinkDescription = QString(20, QLatin1Char('a')).insert(at, special);
            EXPECT_TRUE(Arguments(r, s).contains(S("\"") + EscapeScriptText(r.ItemText, true) + S("\"")));
            // The bytes kept per item are that line in UTF-8, with no spare room.
            const QByteArray bytes = ItemStatementBytes(r, s, S("menuBase.menuItems[3]"), 0);
            EXPECT_EQ(bytes, ItemStatementText(r, s, S("menuBase.menuItems[3]"), 0).toUtf8());
            EXPECT_EQ(bytes.capacity(), bytes.size());
        }
    }
}

TEST_F(ExportTreeTest, WritesASiteMapOfNestedLinksWithTheItemsShownAsPlainText)
{
    doc.Settings().TreeTarget = S("main");
    TreeNode* products = AddItem(doc, doc.Root(), S("<b>Products</b> &amp; <i>more</i>"));
    AddItem(doc, products, S("Widgets"), [](ItemRecord& r) {
        r.LinkHref = S("widgets.html?a=1&b=\"2\""), r.LinkTarget = S("_blank"), r.LinkDescription = S("Our <widgets>");
    });
    AddItem(doc, products, S("<img src=\"x.gif\" onerror=\"alert(1)\" alt='A &quot;picture&quot;'>"),
            [](ItemRecord& r) { r.LinkHref = S("picture.html"), r.UseGlobalTarget = true; });
    AddItem(doc, doc.Root(), S("<script>alert(1)</script>Caf&#233; &#x2013; a < b &bogus;"),
            [](ItemRecord& r) { r.LinkHref = S("javascript:alert(1)"); });
    AddItem(doc, doc.Root(), S("<img src=\"a.gif\">"), [](ItemRecord& r) { r.LinkHref = S("nameless.html"); });
    AddItem(doc, doc.Root(), S(""));

    ASSERT_TRUE(Export().Written);
    const QString html = QString::fromUtf8(ReadFile(In("sitemap.html")));
    EXPECT_TRUE(html.startsWith(S("<!DOCTYPE html>\n<html lang=\"en\">\n"))) << html.toStdString();
    EXPECT_TRUE(html.contains(S("<title>Site map</title>")));
    const QString list = html.mid(html.indexOf(S("<ul>")), html.lastIndexOf(S("</ul>")) + 6 - html.indexOf(S("<ul>")));
    EXPECT_EQ(list, S("<ul>\n"
                      "  <li>Products &amp; more\n"
                      "    <ul>\n"
                      "      <li><a href=\"widgets.html?a=1&amp;b=&quot;2&quot;\" target=\"_blank\" "
                      "title=\"Our &lt;widgets&gt;\">Widgets</a></li>\n"
                      "      <li><a href=\"picture.html\" target=\"main\">A &quot;picture&quot;</a></li>\n"
                      "    </ul>\n"
                      "  </li>\n"
                      "  <li>Café – a &lt; b &amp;bogus;</li>\n"
                      "  <li><a href=\"nameless.html\">nameless.html</a></li>\n"
                      "  <li>Item 4 of 4</li>\n"
                      "</ul>\n"))
        << list.toStdString();
    EXPECT_TRUE(html.contains(S("<nav aria-labelledby=\"map\">\n<h1 id=\"map\">Site map</h1>")));

    // Replaced whole on the next export; not written when custom.js could not be.
    WriteFile(In("sitemap.html"), "old");
    Export();
    EXPECT_EQ(QString::fromUtf8(ReadFile(In("sitemap.html"))), html);
    QTemporaryDir other;
    ExportTree(doc, other.path(), false, ui, 10);
    EXPECT_FALSE(QFileInfo::exists(other.filePath(S("sitemap.html"))));
}

TEST(PlainTextOfHtml, DropsTagsAndReadsReferences)
{
    // [HTML, text]
    const std::pair<const char*, const char*> cases[] = {
        {"plain", "plain"},
        {" Two<br>lines ", "Two lines"},
        {"<p>a</p><div>b</div>", "a b"},
        {"x<!-- <b>hidden</b> -->y", "xy"},
        {"<style>b{}</style>Styled", "Styled"},
        {"<script>never", ""},
        {"&lt;b&gt;&nbsp;&#0;&#1114112;&#xD800;", "<b> &#0;&#1114112;&#xD800;"},
        {"<IMG ALT=bare SRC=x>", "bare"},
    };
    for (const auto& [html, text] : cases)
        EXPECT_EQ(PlainTextOfHtml(S(html)), S(text)) << html;
}
