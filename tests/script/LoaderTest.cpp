#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/RootStatement.h"
#include "script/TreeLoader.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <QStringEncoder>
#include <chrono>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

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

// An item line with the given quoted-argument text and marker fields.
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

TEST_F(Loader, GeneratorAndVersionChecks)
{
    const QStringList items{Plain(S("menuBase.menuItems[0]"), S("A"), 0)};
    const QString question = S("This file was not created by your current Vuvov-Ivoza software version.\r"
                               "This file may not load correctly.\r\rContinue to load tree?");
    const QString other = S("0.9");
    const struct {
        QString text;
        std::optional<Answer> answer;
        int nodes;
        bool foreign;
    } cases[] = {
        {Script({}, items).replace(S("= Vuvov-Ivoza"), S("=   VUVOV-IVOZA  ")), {}, 2, false},
        {Script({}, items).replace(S("= Vuvov-Ivoza"), S("= Other")), {}, 1, true},
        {Script({S("//# TreeY = 9")}, items, other), Answer::Yes, 2, false},
        {Script({S("//# TreeY = 9")}, items, other), Answer::No, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.left(120).toStdString());
        ui = FakeUserInterface{};
        if (c.answer)
            ui.Answers.push_back(*c.answer);
        // A setting before the generator line survives the refusal; one after it does not.
        const LoadResult r = Load(S("//# TreeX = 7\r\n") + c.text);
        EXPECT_EQ(doc.NodeCount(), c.nodes);
        EXPECT_EQ(doc.Settings().TreeX, 7);
        EXPECT_EQ(r.ForeignGenerator, c.foreign);
        EXPECT_EQ(ui.MessageTexts(), c.foreign
                                         ? QStringList{S("This file was not created by Vuvov-Ivoza.  Unable to load.")}
                                         : QStringList{});
        EXPECT_EQ(ui.Questions, c.answer ? QStringList{question} : QStringList{});
        EXPECT_EQ(r.VersionDeclined, c.answer == Answer::No);
        EXPECT_EQ(doc.Settings().TreeY, c.answer == Answer::Yes ? 9 : 5); // it follows the version line
    }
}

TEST_F(Loader, UnreadableFileLeavesTheDocument)
{
    doc.Settings().TreeX = 99;
    doc.SetTreeChanged(true);
    const QString missing = dir.filePath(S("none.js"));
    EXPECT_FALSE(LoadTreeScript(doc, missing, ui).Opened);
    EXPECT_FALSE(LoadTreeScript(doc, dir.path(), ui).Opened); // a folder is no file either
    EXPECT_EQ(doc.Settings().TreeX, 99);
    EXPECT_TRUE(doc.TreeChanged());
    ASSERT_EQ(ui.Messages.size(), 2u);
    EXPECT_EQ(ui.Messages[0].Text, S("Unable to open the file: ") + missing + S("\rReason: No such file or directory"));
}

TEST_F(Loader, HeaderKeysAndConversions)
{
    // Numbers round halves to even and keep the old value when out of range or no number.
    Load(
        Script({S("//# TREEX = 2.5"), S("//# treey = 3.5"), S("//# TreeSize = -32768.5"), S("//# TreeLines = 32767.5"),
                S("//# TreeY = nan"), S("//# TreeSize = 1e3x"), S("//#TreeLineColor = Red"),
                S("//# TreePMColor = Blue"), S("//# TreePMColor  =  Navy "), S("//# TreeBExpanded = C:\\img\\open.gif"),
                S("//# TreeBNonExpanded = "), S("//# TreeFontSize = x = y"), S("//# TreeX2 = 1")},
               {}));
    const TreeSettings& s = doc.Settings();
    EXPECT_EQ((std::vector<int>{s.TreeX, s.TreeY, s.TreeSize, s.TreeLines}), (std::vector<int>{2, 4, -32768, 1}));
    EXPECT_EQ(s.TreeLineColor, S("Black"));
    EXPECT_EQ(s.TreePMColor, S("Navy"));
    EXPECT_EQ(s.TreeBExpanded, Pic("open.gif"));
    EXPECT_TRUE(s.TreeBNonExpanded.isEmpty());
    EXPECT_EQ(s.TreeFontSize, S("x = y"));
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
    EXPECT_EQ(doc.Settings().TreeX, 5);
    const ItemRecord& home = doc.RecordOf(doc.Node(2));
    EXPECT_EQ(home.ItemType, S("LEAF"));
    EXPECT_EQ((std::vector<bool>{home.UseGlobalBNonExpanded, home.UseGlobalBExpanded, home.UseGlobalTarget,
                                 home.UseGlobalFont}),
              (std::vector<bool>{false, false, true, true}));
    const ItemRecord& e = doc.RecordOf(doc.Node(6));
    EXPECT_EQ((std::vector<bool>{e.UseGlobalBNonExpanded, e.UseGlobalBExpanded, e.UseGlobalTarget, e.UseGlobalFont}),
              (std::vector<bool>{true, true, false, false}));
}

TEST_F(Loader, QuotedArguments)
{
    struct Case {
        const char* name;
        QString args;
        QStringList want; // BNonExpanded, MouseOverPic, ItemText, FontSize, LinkHref, LinkDescription
    } cases[] = {
        {"pictures under the script's folder, blanks trimmed",
         S(R"("treePics/dot.gif","","","C:\web\over.gif","  Text  ","2","Red","a.html","","")"),
         {Pic("dot.gif"), Pic("over.gif"), S("Text"), S("2"), S("a.html"), S("")}},
        {"fewer quotes", S(R"("","","","","only")"), {S(""), S(""), S("only"), S(""), S(""), S("")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Script({}, {Item(S("menuBase.menuItems[0]"), c.args, S("LEAF[+]A[+]0[+]False[+]False[+]False[+]False"))}));
        ASSERT_EQ(doc.NodeCount(), 2);
        const ItemRecord& r = doc.RecordOf(doc.Node(2));
        EXPECT_EQ((QStringList{r.BNonExpanded, r.MouseOverPic, r.ItemText, r.FontSize, r.LinkHref, r.LinkDescription}),
                  c.want);
    }
    // No "=" or no exact constructor text: every argument stays empty.
    for (const char* line : {"menuBase.menuItems[0] new menuItemObject(\"x\",\"y\"); //[+]LEAF[+]A[+]0",
                             "menuBase.menuItems[0]= new MenuItemObject(\"x\",\"y\"); //[+]LEAF[+]A[+]0"}) {
        SCOPED_TRACE(line);
        Load(Script({}, {S(line)}));
        ASSERT_EQ(doc.NodeCount(), 2);
        EXPECT_TRUE(doc.RecordOf(doc.Node(2)).ItemText.isEmpty()) << line;
    }
}

// Older versions wrote values unescaped; ours escape with "\x" and "\u". Each
// row is the text between the quotes of ItemText, followed by ,"2" for FontSize.
TEST_F(Loader, OldAndNewStyleValues)
{
    const struct {
        const char* name;
        const char* written;
        const char* itemText;
        const char* fontSize;
    } cases[] = {
        {"old: a value ending in a backslash keeps its closing quote", R"(C:\dir\)", R"(C:\dir\)", "2"},
        {"old: a network path", R"(\\server\new)", R"(\\server\new)", "2"},
        {"old: a relative path", R"(news\readme)", R"(news\readme)", "2"},
        {"old: a path with a drive", R"(C:\dir\index.html)", R"(C:\dir\index.html)", "2"},
        {"old: an escape that makes no character stays", R"(\x4 \u12 \u{110000} \q \1 \01 \)",
         R"(\x4 \u12 \u{110000} \q \1 \01 \)", "2"},
        {"old: a raw quote ends the value, the fields after it shift", R"(a"b)", "a", ","},
        {"browser escapes", R"(a\tb\'c\u00e9\u{1F600}\x41)", "a\tb'c\u00e9\U0001F600A", "2"},
        {"a doubled backslash protects what follows", R"(\\t\\x41)", R"(\\t\\x41)", "2"},
        {"new: escaped quote, backslash, line break and marker", R"(say \x22hi\x22 \x5C /\x2F[+] \x0D\x0A)",
         "say \"hi\" \\ //[+] \r\n", "2"},
        {"new: marker text in a value", R"(\x22); /\x2F[+]LEAF[+]Evil[+]0)", "\"); //[+]LEAF[+]Evil[+]0", "2"},
        {"new: blanks at the ends", R"(\x20 x \x20)", "  x  ", "2"},
        {"raw blanks at the ends are trimmed", "  x  ", "x", "2"},
        {"new: line terminators of JavaScript", R"(a\u2028b\u2029)", "a\u2028b\u2029", "2"},
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
    // The browser's reading of "\0" is a character of its own.
    Load(Script({}, {Item(S("menuBase.menuItems[0]"), S(R"("","","","","a\0")"), S("LEAF[+]A[+]0"))}));
    EXPECT_EQ(doc.RecordOf(doc.Node(2)).ItemText, QStringView(u"a\0", 2).toString());
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
    // Another item text in place of "Café", as bytes.
    auto with = [&](const QByteArray& text) { return file.toUtf8().replace("Caf\xC3\xA9", text); };
    QString lfOnly = file, crOnly = file, strayLf = file;
    lfOnly.replace(S("\r\n"), S("\n"));
    crOnly.replace(S("\r\n"), S("\r"));
    const struct {
        const char* name;
        QByteArray bytes;
        const char* want = "Café";
    } cases[] = {
        {"CR LF", file.toUtf8()},
        {"LF only", lfOnly.toUtf8()},
        {"CR only", crOnly.toUtf8()},
        {"LF mostly, one CR", (lfOnly + S("\r")).toUtf8()},
        {"CR LF with a lone LF inside a line", strayLf.replace(S("TreeX = 8"), S("Tree\nX = 8")).toUtf8()},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBF" + file.toUtf8()},
        {"UTF-16 LE with mark", utf16(file, false, true)},
        {"UTF-16 BE with mark", utf16(file, true, true)},
        {"UTF-16 LE without mark", utf16(file, false, false)},
        {"UTF-16 BE without mark, LF only", utf16(lfOnly, true, false)},
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
    // Without the header's end line there is no root statement and no item.
    QString noEnd = file;
    Load(noEnd.remove(S("//\\\\\r\n")));
    EXPECT_EQ(doc.Settings().TreeX, 8);
    EXPECT_EQ(doc.NodeCount(), 1);
    EXPECT_EQ(RootStatementOf(doc), BuildRootStatement(doc.Settings())) << "no statement line: built from the header";
}

TEST_F(Loader, ReadsPipesToTheirEnd)
{
    const QByteArray file = ReadFile(Corpus("escapes.js"));
    const QString fifo = dir.filePath(S("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // The writer sends the file in pieces with pauses, as a slow producer would.
    std::thread writer([&] {
        QFile out(fifo);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        for (qsizetype at = 0; at < file.size(); at += 700) {
            out.write(file.mid(at, 700));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    const LoadResult r = LoadTreeScript(doc, fifo, ui);
    writer.join();
    EXPECT_TRUE(r.Opened);
    EXPECT_EQ(r.ItemsAdded, 5);
    EXPECT_EQ(doc.NodeCount(), 6);
    EXPECT_TRUE(ui.Messages.empty());
}

TEST_F(Loader, StopsAtTheRecordLimitWithOneMessage)
{
    QStringList items;
    for (int i = 0; i < kMaxItems + 3; ++i)
        items << Plain(S("menuBase.menuItems[0]"), S("I"), 0);
    EXPECT_TRUE(Load(Script({}, items)).TooManyItems);
    EXPECT_EQ(doc.NodeCount(), kMaxItems + 1);
    EXPECT_EQ(ui.MessageTexts(), QStringList{S("The tree can not hold more than 32766 items.")});
}

TEST_F(Loader, FilesLargerThanADecodedSliceLoadWhole)
{
    // Each item's text holds its number; slices of the file are cut at line
    // ends, so no line may be split, joined or lost at a cut.
    const int count = 6000; // about 1.7 MB: several slices
    QStringList items;
    for (int i = 1; i <= count; ++i)
        items << Plain(S("menuBase.menuItems[%1]").arg(i - 1), S("Item %1 \xc3\xa9 ").arg(i).repeated(8).trimmed(), 0);
    const QByteArray crlf = Script({}, items).toUtf8();
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"CR LF", crlf},
        {"LF", QByteArray(crlf).replace("\r\n", "\n")},
        {"CR", QByteArray(crlf).replace("\r\n", "\r")},
        {"byte-order mark", "\xEF\xBB\xBF" + crlf},
        // A lone LF at the end of each text is no line end and is dropped.
        {"lone LFs inside CR LF lines",
         QByteArray(crlf).replace("\",\"\",\"\",\"\",\"\",\"\")", "\n\",\"\",\"\",\"\",\"\",\"\")")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LoadResult r = LoadBytes(c.bytes);
        ASSERT_EQ(r.ItemsAdded, count);
        for (int i = 1; i <= count; ++i) {
            ASSERT_EQ(doc.Record(i + 1).ItemText, S("Item %1 \xc3\xa9 ").arg(i).repeated(8).trimmed()) << i;
        }
    }
}

// Only a statement of the builder's form is kept; any other line after
// "var menu" would have the exported page (and the preview) run what a
// hand-made file put there. The statement then comes from the settings.
TEST_F(Loader, KeepsOnlyRootStatementsOfTheBuildersForm)
{
    const QString built =
        S("var menuBase = new menuObject(-3,7,32,true,\"treePics/p.gif\",\"\",\"a b\",\"\",\"\",\"\",\"\");");
    const QStringList refused{
        S("var menuBase = new "
          "menuObject(5,5,20,true,\"\",\"\",\"\",\"\",\"\",\"\",\"\");fetch(\"file:///etc/passwd\")"),
        S("var menuBase = new menuObject(5,5,20,true,\"\\\"+alert(1)+\\\"\",\"\",\"\",\"\",\"\",\"\",\"\");"),
        S("var menuEvil = alert(1);"),
        S("VAR menuBase = new menuObject(9,9,16,false,\"\",\"\",\"\",\"\",\"\",\"\",\"\");"),
    };
    for (const QString& root : QStringList{built} + refused) {
        SCOPED_TRACE(root.toStdString());
        QString file = Script({S("//# TreeX = 12")}, {Plain(S("menuBase.menuItems[0]"), S("A"), 0)});
        Load(file.replace(S(kRoot), root));
        EXPECT_EQ(RootStatementOf(doc), root == built ? built : BuildRootStatement(doc.Settings()));
        EXPECT_EQ(doc.NodeCount(), 2);
    }
}
