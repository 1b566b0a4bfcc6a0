#include "script/RootStatement.h"
#include "script/TreeLoader.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <QStringEncoder>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace vi;
using namespace vi::test;
using Answer = UserInterface::Answer;

namespace {

// Kept verbatim, whatever the settings say.
const char* const kRoot = "var menuBase = new menuObject(9,9,16,false,\"\",\"\",\"\",\"\",\"\",\"\",\"\");";

// An exported file: header with the given key lines, the preamble, the root and the item lines.
QString Script(const QStringList& keyLines, const QStringList& items, const QString& version = AppVersion())
{
    QStringList lines{S("// 'DO NOT WRITE TO OR ALTER THIS FILE"), S("// '"), S("//# Generator = Vuvov-Ivoza"),
                      S("//# Version = ") + version, S("// 'About: x")};
    lines << keyLines << S("//\\\\") << S("var BrowserSwitch = false;") << S("var BackGroundColor = \"\";") << S(kRoot)
          << items;
    return lines.join(S("\r\n")) + S("\r\n");
}

QString Item(const QString& path, const QString& args, const QString& marker)
{
    return path + S("= new menuItemObject(") + args + S("); //[+]") + marker;
}

QString Plain(const QString& path, const QString& name, int parent)
{
    return Item(path, S(R"("","","","",")") + name + S(R"(","","","","","")"),
                S("LEAF[+]") + name + S("[+]") + QString::number(parent) + S("[+]False[+]False[+]False[+]False"));
}

class Loader : public ::testing::Test {
protected:
    QTemporaryDir dir;
    TreeDocument doc;
    FakeUserInterface ui;
    QString path = dir.filePath(S("custom.js"));

    LoadResult LoadBytes(const QByteArray& bytes)
    {
        EXPECT_TRUE(WriteFile(path, bytes));
        const LoadResult r = LoadTreeScript(doc, path, ui);
        EXPECT_EQ(doc.CheckInvariants(), QString());
        EXPECT_FALSE(doc.TreeChanged());
        return r;
    }
    LoadResult Load(const QString& text) { return LoadBytes(text.toUtf8()); }
    QString Pic(const char* name) const { return JoinPath(JoinPath(dir.path(), S("treePics")), S(name)); }
    QStringList NodeTexts() const
    {
        QStringList texts;
        for (int p = 2; p <= doc.NodeCount(); ++p)
            texts << QString::number(doc.Node(p)->Parent()->Position()) + S(":") + doc.Node(p)->Text();
        return texts;
    }
};

} // namespace

// A file is loaded whole or not at all: a refused file and a declined version
// question leave the open tree exactly as it was, changes included.
TEST_F(Loader, GeneratorAndVersionChecksLoadAllOrNothing)
{
    const QStringList items{Plain(S("menuBase.menuItems[0]"), S("A"), 0)};
    const QString notMenu = S("This file is not a menu made by Vuvov-Ivoza.  Unable to load.");
    const QString foreign = S("This file was not created by Vuvov-Ivoza.  Unable to load.");
    const auto generator = [&](const char* line) {
        return Script({}, items).replace(S("= Vuvov-Ivoza"), S(line)).toUtf8();
    };
    const QByteArray older = Script({S("//# TreeY = 9")}, items, S("0.9")).toUtf8();
    const QByteArray otherScript = "var x = 1;\r\n//\\\\\r\nvar menuBase = new menuObject(1);\r\nmenuBase.x = 2;\r\n";
    const struct {
        const char* name;
        QByteArray bytes;
        std::optional<Answer> answer;
        LoadOutcome outcome;
        QStringList messages = {};
        QStringList nodes = {S("1:A")}; // when it loads
    } cases[] = {
        {"name in capitals", generator("=   VUVOV-IVOZA  "), {}, LoadOutcome::Loaded},
        {"another generator", generator("= Other"), {}, LoadOutcome::Refused, {foreign}},
        {"other version, yes", older, Answer::Yes, LoadOutcome::Loaded},
        {"other version, no", older, Answer::No, LoadOutcome::Declined},
        // No generator line and no item line: no menu at all.
        {"empty", "", {}, LoadOutcome::Refused, {notMenu}},
        {"binary", QByteArray("\177ELF\0\x01\x02\xFF\xFE\r\n\0\0", 14), {}, LoadOutcome::Refused, {notMenu}},
        {"another script", otherScript, {}, LoadOutcome::Refused, {notMenu}},
        {"items without a header", items[0].toUtf8(), {}, LoadOutcome::Refused, {notMenu}},
        {"a header without items", Script({}, {}).toUtf8(), {}, LoadOutcome::Loaded, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doc.NewTree();
        AddItem(doc, doc.Root(), S("Old"));
        doc.Settings().TreeX = 99;
        doc.SetTreeChanged(true);
        ui = FakeUserInterface{};
        if (c.answer)
            ui.Answers.push_back(*c.answer);
        ASSERT_TRUE(WriteFile(path, c.bytes));
        const LoadResult r = LoadTreeScript(doc, path, ui);
        EXPECT_EQ(r.Outcome, c.outcome);
        EXPECT_EQ(ui.MessageTexts(), c.messages);
        EXPECT_EQ(ui.Questions.size(), c.answer ? 1 : 0);
        EXPECT_EQ(doc.CheckInvariants(), QString());
        const bool loaded = c.outcome == LoadOutcome::Loaded;
        EXPECT_EQ(NodeTexts(), loaded ? c.nodes : QStringList{S("1:Old")});
        EXPECT_EQ(doc.Settings().TreeX, loaded ? 5 : 99);
        EXPECT_EQ(doc.Settings().TreeY, c.answer == Answer::Yes ? 9 : 5); // it follows the version line
        EXPECT_EQ(doc.TreeChanged(), !loaded);
    }
}

// The editor reads regular files only: a FIFO without a writer would block it
// for ever. The command line still reads pipes (its own test).
TEST_F(Loader, UnreadableFileLeavesTheDocument)
{
    doc.Settings().TreeX = 99;
    doc.SetTreeChanged(true);
    const QString missing = dir.filePath(S("none.js")), fifo = dir.filePath(S("fifo.js"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    for (const QString& file : {missing, dir.path(), fifo}) // a folder is no file either
        EXPECT_EQ(LoadTreeScript(doc, file, ui).Outcome, LoadOutcome::Refused);
    EXPECT_TRUE(doc.Settings().TreeX == 99 && doc.TreeChanged());
    const QString reason = S("\rReason: Only regular files can be loaded.");
    EXPECT_EQ(ui.MessageTexts(),
              (QStringList{S("Unable to open the file: ") + missing + S("\rReason: No such file or directory"),
                           S("Unable to open the file: ") + dir.path() + reason,
                           S("Unable to open the file: ") + fifo + reason}));
}

TEST_F(Loader, ItemMarkersAndParentRows)
{
    const QStringList items{
        Item(S("menuBase.menuItems[0]"), S(R"("","","","","","","","","","")"),
             S("LEAF[+]Home[+]0[+]False[+]False[+]True[+]True")),
        Plain(S("menuBase.menuItems[0].subMenu[0]"), S("B"), 1),
        Plain(S("menuBase.menuItems[0].subMenu[1]"), S("C"), 1),
        Plain(S("menuBase.menuItems[1]"), S("bad row"), 5),
        Plain(S("menuBase.menuItems[1]"), S("no row"), -1).replace(S("[+]-1"), S("[+]x")),
        Item(S("menuBase.menuItems[1]"), S("\"\""), S("LEAF[+]short")),
        Plain(S("menuBase.menuItems[0].subMenu[0].subMenu[0]"), S("D"), 2),
        S("MENUBASE.menuItems[1]= new menuItemObject(\"\"); //[+]X[+]E[+]0[+]1[+]TRUE[+]0[+]bogus"),
    };
    // Item lines in the header and header lines in the body are passed over.
    QString text = Script({Plain(S("menuBase.menuItems[9]"), S("early"), 0)}, items);
    text.replace(S("var BrowserSwitch"), S("//# TreeX = 77\r\nvar BrowserSwitch"));
    const LoadResult r = Load(text);

    EXPECT_EQ(NodeTexts(), (QStringList{S("1:Home"), S("2:B"), S("2:C"), S("3:D"), S("1:E")}));
    EXPECT_EQ(doc.UpperBound(), 6); // no record for the lines that made no node
    EXPECT_EQ(r.ItemLines, 8);
    EXPECT_EQ(r.ItemsAdded, 5);
    // The three marked lines without a usable parent are told of; the header's line is no item of the tree.
    EXPECT_EQ(r.ItemsLeftOut, 3);
    EXPECT_EQ(ui.MessageTexts(), QStringList{S("3 item(s) of this file could not be placed in the tree and were left "
                                               "out: each names a parent item that does not come before it in the "
                                               "file.")});
    EXPECT_EQ(doc.Settings().TreeX, 5);
}

// The label is the user's: never replaced by the item's text, whatever either holds.
TEST_F(Loader, KeepsTheLabelApartFromTheText)
{
    const QString args = S(R"("","","","","Our <b>team</b>","","","","","")");
    const QString empty = S(R"("","","","","Text","","","","","")");
    Load(Script({}, {Item(S("menuBase.menuItems[0]"), args, S("BRANCH[+]Team[+]0[+]False[+]False[+]False[+]False")),
                     Item(S("menuBase.menuItems[1]"), empty, S("LEAF[+][+]0[+]False[+]False[+]False[+]False"))}));
    ASSERT_EQ(NodeTexts(), (QStringList{S("1:Team"), S("1:")}));
    EXPECT_EQ(doc.RecordOf(doc.Node(2)).FriendlyName, S("Team"));
    EXPECT_EQ(doc.RecordOf(doc.Node(2)).ItemText, S("Our <b>team</b>"));
    EXPECT_EQ(doc.RecordOf(doc.Node(3)).FriendlyName, QString());
}

// Older versions wrote values unescaped, so only the escapes the writer uses
// ("\x" and two hex digits, "\u" and four) are read; every other backslash is
// text as typed. Each row is the text between the quotes of ItemText, then ,"2".
TEST_F(Loader, OldStyleValuesAndBrowserEscapes)
{
    const struct {
        const char* name;
        const char* written;
        const char* itemText;
        const char* fontSize;
    } cases[] = {
        {"old: a value ending in a backslash keeps its closing quote", R"(C:\dir\)", R"(C:\dir\)", "2"},
        {"old: an escape that makes no character stays", R"(\x4 \u12 \u{110000} \q \1 \01 \)",
         R"(\x4 \u12 \u{110000} \q \1 \01 \)", "2"},
        {"the writer's escapes", R"(\x5Cx\u00e9\x41\uD83D\uDE00)", "\\x\u00e9A\U0001F600", "2"},
        {"old: a Windows path", R"(file:///C:\tools\index.html)", R"(file:///C:\tools\index.html)", "2"},
        {"old: other escapes stay as typed", R"(\t\b\f\v\0\'\u{41}\n\r\/)", R"(\t\b\f\v\0\'\u{41}\n\r\/)", "2"},
        {"old: a backslash before a line separator", "a\\\u2028b", "a\\\u2028b", "2"},
        {"a doubled backslash protects what follows", R"(\\t\\x41)", R"(\\t\\x41)", "2"},
        {"raw blanks at the ends are trimmed", "  x  ", "x", "2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString args = S(R"("","","","",")") + S(c.written) + S(R"(","2","Red","a.html","","")");
        Load(Script({}, {Item(S("menuBase.menuItems[0]"), args, S("LEAF[+]A[+]0[+]False[+]False[+]False[+]False"))}));
        ASSERT_EQ(NodeTexts(), QStringList{S("1:A")});
        const ItemRecord& r = doc.RecordOf(doc.Node(2));
        EXPECT_EQ(r.ItemText, S(c.itemText));
        EXPECT_EQ(r.FontSize, S(c.fontSize));
    }
}

TEST_F(Loader, LineEndsAndEncodings)
{
    const QString file = Script({S("//# TreeX = 8")}, {Item(S("menuBase.menuItems[0]"), S(R"("","","","","Café")"),
                                                            S("LEAF[+]X[+]0[+]False[+]False[+]False[+]False"))});
    auto utf16 = [](const QString& text, bool bigEndian, bool mark) {
        QStringEncoder encoder(bigEndian ? QStringConverter::Utf16BE : QStringConverter::Utf16LE,
                               mark ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
        return QByteArray(encoder.encode(text));
    };
    // Another item text in place of "Café", as bytes. Plain UTF-8 with CR LF, LF or lone LFs is in the large-file test.
    auto with = [&](const QByteArray& text) { return file.toUtf8().replace("Caf\xC3\xA9", text); };
    const QString lfOnly = QString(file).replace(S("\r\n"), S("\n"));
    const struct {
        const char* name;
        QByteArray bytes;
        const char* want = "Café";
    } cases[] = {
        {"CR only", QString(file).replace(S("\r\n"), S("\r")).toUtf8()},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF" + file.toUtf8()},
        {"UTF-16 LE with mark", utf16(file, false, true)},
        {"UTF-16 BE with mark", utf16(file, true, true)},
        {"UTF-16 LE without mark, LF only", utf16(lfOnly, false, false)},
        {"UTF-8", with("\xC3\xA9\xE2\x82\xAC"), "é€"},
        {"Windows-1252", with("\xE9\x80\x9F\x81"), "é€Ÿ\u0081"},
        {"Windows-1252 with a pair that looks like UTF-8", with("\xC3\xA9 \xE9"), "Ã© é"},
        {"UTF-8 with a few Windows-1252 bytes", with("\xC3\xA9t\xE9 \xE4\xB8\xAD\xE6\x96\x87 \x80 caf\xC3\xA9"),
         "été 中文 € café"},
        {"UTF-8 with a cut sequence", with("\xE4\xB8\xAD\xE6\x96\x87\xE5\xAD\x97\xE4\xB8"), "中文字ä¸"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoadBytes(c.bytes);
        EXPECT_EQ(doc.Settings().TreeX, 8);
        EXPECT_EQ(doc.RootStatement(), S(kRoot));
        ASSERT_EQ(NodeTexts(), QStringList{S("1:X")});
        EXPECT_EQ(doc.RecordOf(doc.Node(2)).ItemText, S(c.want));
    }
}

// Slices of the file are decoded one at a time, cut at line ends: no line may
// be split, joined or lost at a cut. Past the record limit the load stops.
TEST_F(Loader, LargeFilesLoadWholeUpToTheRecordLimit)
{
    const auto text = [](int i) { return S("Item %1 \xc3\xa9").arg(i); };
    QStringList items;
    for (int i = 1; i <= kMaxItems + 3; ++i) // about 4 MB: several slices
        items << Plain(S("menuBase.menuItems[%1]").arg(i - 1), text(i), 0);
    const QByteArray crlf = Script({}, items).toUtf8();
    const std::pair<const char*, QByteArray> cases[] = {
        {"CR LF", crlf},
        {"LF", QByteArray(crlf).replace("\r\n", "\n")},
        // A lone LF at the end of each text is no line end and is dropped.
        {"lone LFs inside CR LF lines",
         QByteArray(crlf).replace("\",\"\",\"\",\"\",\"\",\"\")", "\n\",\"\",\"\",\"\",\"\",\"\")")},
    };
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        ui = FakeUserInterface{};
        EXPECT_EQ(LoadBytes(bytes).Outcome, LoadOutcome::LeftItemsOut);
        EXPECT_EQ(ui.MessageTexts(), QStringList{S("The tree can not hold more than 32766 items.")});
        ASSERT_EQ(doc.NodeCount(), kMaxItems + 1);
        for (int i = 1; i <= kMaxItems; ++i)
            ASSERT_EQ(doc.Record(i + 1).ItemText, text(i)) << i;
    }
}

// Any other line after "var menu" would run in the exported page and the
// preview; the statement then comes from the settings.
TEST_F(Loader, KeepsOnlyRootStatementsOfTheBuildersForm)
{
    const QString built =
        S("var menuBase = new menuObject(-3,7,32,true,\"treePics/p.gif\",\"\",\"a b\",\"\",\"\",\"\",\"\");");
    for (const QString& root :
         {built, S("var menuBase = new menuObject(5,5,20,true,\"\",\"\",\"\",\"\",\"\",\"\",\"\");fetch(\"x\")"),
          S("var menuBase = new menuObject(5,5,20,true,\"\\\"+alert(1)+\\\"\",\"\",\"\",\"\",\"\",\"\",\"\");"),
          S("var menuEvil = alert(1);"), S(kRoot).replace(S("var"), S("VAR"))}) {
        SCOPED_TRACE(root.toStdString());
        Load(Script({S("//# TreeX = 12")}, {Plain(S("menuBase.menuItems[0]"), S("A"), 0)}).replace(S(kRoot), root));
        EXPECT_EQ(RootStatementOf(doc), root == built ? built : BuildRootStatement(doc.Settings()));
        EXPECT_EQ(doc.NodeCount(), 2);
    }
}
