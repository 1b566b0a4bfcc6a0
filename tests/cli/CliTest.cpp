#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }
QString Seed(const char* name) { return S(VI_SEEDS "/") + S(name); }

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

struct CliRun {
    int Status = -1;
    QString Out;
    QString Err;
};

CliRun Cli(const QStringList& args)
{
    QProcess p;
    p.start(S(VI_CLI), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

} // namespace

TEST(Cli, ExitStatuses)
{
    QTemporaryDir dir;
    const QString foreign = dir.filePath(S("foreign.js"));
    QFile f(foreign), blocker(dir.filePath(S("file"))); // a file where the export wants a folder
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && blocker.open(QIODevice::WriteOnly));
    f.write(ReadFile(Seed("example.js")).replace("= Vuvov-Ivoza", "= Other"));
    f.close();
    // The worked example with the two bullets it names in its own treePics: an export without failures.
    const QString source = dir.filePath(S("site/custom.js")), out = dir.filePath(S("site/menu"));
    QDir().mkpath(dir.filePath(S("site/treePics")));
    for (const QString& name : {S("site/treePics/folder.gif"), S("site/treePics/open.gif"), S("site/custom.js")})
        QFile::copy(name == S("site/custom.js") ? Seed("example.js") : Seed("escapes.js"), dir.filePath(name));

    struct Case {
        QStringList args;
        int status;
        QString err; // a line stderr must hold
    } cases[] = {
        {{S("--help")}, 0, {}},
        {{}, 64, S("vuvov-ivoza-cli: no command given")},
        {{S("publish"), Seed("example.js")}, 64, S("vuvov-ivoza-cli: unknown command: publish")},
        {{S("dump")}, 64, {}},
        {{S("export"), Seed("example.js")}, 64, {}},
        {{S("export"), Seed("example.js"), S("")}, 64, S("vuvov-ivoza-cli: export needs FILE and FOLDER")},
        {{S("export"), Seed("example.js"), S(" ")}, 64, S("vuvov-ivoza-cli: export needs FILE and FOLDER")},
        {{S("export"), S(""), dir.filePath(S("out"))}, 64, S("vuvov-ivoza-cli: export needs FILE and FOLDER")},
        {{S("dump"), dir.filePath(S("none.js"))},
         2,
         S("Unable to open the file: ") + dir.filePath(S("none.js")) + S(" Reason: No such file or directory")},
        {{S("dump"), foreign}, 2, S("This file was not created by Vuvov-Ivoza.  Unable to load.")},
        {{S("dump"), Seed("oldversion_cp1252.js")},
         0,
         S("warning: This file was not created by your current Vuvov-Ivoza software version. "
           "This file may not load correctly.  Continue to load tree? Yes.")},
        {{S("export"), foreign, dir.filePath(S("out"))}, 2, {}},
        // The pictures named by this file are not beside it: each missing copy is a failed step.
        {{S("export"), Seed("escapes.js"), dir.filePath(S("out"))},
         1,
         S("failed: ") + dir.filePath(S("out/treePics/leaf.gif: could not copy ")) + Seed("treePics/leaf.gif")},
        {{S("export"), Seed("example.js"), dir.filePath(S("file/out"))}, 1, {}},
        {{S("export"), source, out}, 0, {}},
        {{S("export"), S("--static"), source, out}, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.Status, c.status);
        EXPECT_EQ(r.Out.startsWith(S("Usage: vuvov-ivoza-cli export FILE FOLDER [--static]\n")),
                  c.args == QStringList{S("--help")});
        if (!c.err.isEmpty()) {
            EXPECT_TRUE(r.Err.split(QLatin1Char('\n')).contains(c.err)) << r.Err.toStdString();
        }
        EXPECT_EQ(r.Err.contains(S("Usage:")), c.status == 64);
        EXPECT_EQ(r.Err.isEmpty(), c.status == 0 && !c.args.contains(Seed("oldversion_cp1252.js")));
    }
    EXPECT_EQ(ReadFile(out + S("/custom.js")),
              ReadFile(Seed("example.js")).replace("BrowserSwitch = false;", "BrowserSwitch = true;"));
}

TEST(Cli, DumpPrintsTheDocument)
{
    const CliRun r = Cli({S("dump"), Seed("example.js")});
    ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.startsWith(
        S("{\"settings\": {\"TreeX\": 5, \"TreeY\": 5, \"TreeSize\": 1, \"TreeLines\": 1, "
          "\"TreeLineColor\": \"Black\", \"TreePMColor\": \"Black\", \"TreeBNonExpanded\": \"\", "
          "\"TreeBExpanded\": \"\", \"TreeLeaf\": \"\", \"TreeTarget\": \"\", \"TreeBackground\": \"\", "
          "\"TreeFontSize\": \"2\", \"TreeFontColor\": \"Black\"},\n\"rootStatement\": ")));
    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(r.Out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(doc[S("rootStatement")].toString().startsWith(
        S("var menuBase = new menuObject(5,5,20,true,\"treePics/plus.gif\"")));
    EXPECT_EQ(doc[S("treeChanged")], QJsonValue(false));
    EXPECT_EQ(
        doc[S("nodes")].toArray(),
        (QJsonArray{QJsonObject{{S("position"), 2}, {S("parent"), 1}, {S("text"), S("Products")}, {S("tag"), 2}},
                    QJsonObject{{S("position"), 3}, {S("parent"), 2}, {S("text"), S("Widgets")}, {S("tag"), 3}}}));

    const QJsonArray records = doc[S("records")].toArray();
    ASSERT_EQ(records.size(), 2);
    const QString line = QString::fromUtf8(ReadFile(Seed("example.js")).split('\n').at(35)).trimmed();
    const QJsonObject leaf{{S("index"), 3},
                           {S("RootMark"), 0},
                           {S("ScriptLine"), line},
                           {S("ItemType"), S("LEAF")},
                           {S("FriendlyName"), S("Widgets")},
                           {S("UseGlobalBNonExpanded"), false},
                           {S("BNonExpanded"), S("")},
                           {S("UseGlobalBExpanded"), false},
                           {S("BExpanded"), S("")},
                           {S("MouseOutPic"), S("")},
                           {S("MouseOverPic"), S("")},
                           {S("ItemText"), S("Widgets")},
                           {S("UseGlobalFont"), false},
                           {S("FontSize"), S("3")},
                           {S("FontColor"), S("Navy")},
                           {S("LinkHref"), S("widgets.html")},
                           {S("UseGlobalTarget"), false},
                           {S("LinkTarget"), S("main")},
                           {S("LinkDescription"), S("Our widgets")}};
    EXPECT_EQ(records[1].toObject(), leaf);
    EXPECT_EQ(records[0][S("BNonExpanded")], QJsonValue(QDir::toNativeSeparators(Seed("treePics/folder.gif"))));
    EXPECT_EQ(records[0][S("UseGlobalFont")], QJsonValue(true));
}

TEST(Cli, ReadsStandardInputToItsEnd)
{
    const QByteArray file = ReadFile(Seed("escapes.js"));
    QProcess p;
    p.start(S(VI_CLI), {S("dump"), S("/dev/stdin")});
    ASSERT_TRUE(p.waitForStarted());
    // A slow producer: the first piece, a pause, then the rest.
    p.write(file.left(1500));
    p.waitForBytesWritten();
    QThread::msleep(300);
    p.write(file.mid(1500));
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0);
    const QJsonObject doc = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
    EXPECT_EQ(doc[S("nodes")].toArray().size(), 5);
}

TEST(Cli, DroppedItemsAndAnEmptyTreeAreFailures)
{
    QTemporaryDir dir;
    QByteArray header = ReadFile(Seed("example.js"));
    header.truncate(header.indexOf("menuBase.menuItems[0]"));
    QByteArray many = header;
    for (int i = 0; i < 32766 + 2; ++i)
        many += "menuBase.menuItems[0]= new menuItemObject(\"\",\"\",\"\",\"\",\"I\",\"\",\"\",\"\",\"\",\"\"); "
                "//[+]LEAF[+]I[+]0[+]False[+]False[+]False[+]False\r\n";
    const QString tooMany = dir.filePath(S("many.js")), rootOnly = dir.filePath(S("root.js"));
    for (const auto& [path, bytes] : {std::pair{tooMany, many}, std::pair{rootOnly, header}}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    const struct {
        const char* name;
        QStringList args;
        QString err;
    } cases[] = {
        {"dump past the limit", {S("dump"), tooMany}, S("The tree can not hold more than 32766 items.")},
        {"export past the limit",
         {S("export"), tooMany, dir.filePath(S("out1"))},
         S("The tree can not hold more than 32766 items.")},
        {"export of the root alone",
         {S("export"), rootOnly, dir.filePath(S("out2"))},
         S("failed: the tree has no items")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.Status, 1);
        EXPECT_TRUE(r.Err.split(QLatin1Char('\n')).contains(c.err)) << r.Err.toStdString();
    }
    EXPECT_EQ(Cli({S("dump"), rootOnly}).Status, 0);
}

TEST(Cli, DumpKeepsLongAndControlCharacterTextsWhole)
{
    // Longer than the blocks the dump is written in, with characters JSON escapes
    // and characters that take several UTF-8 bytes.
    QString text;
    for (int i = 0; i < 40000; ++i)
        text += S("\xc3\xa9\t\xf0\x9f\x98\x80\x01<b>x</b>\x1f ");
    text = text.trimmed();
    QTemporaryDir dir;
    const QString file = dir.filePath(S("custom.js"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(ReadFile(Seed("example.js")).replace("\"\",\"Widgets\",\"3\"", "\"\",\"" + text.toUtf8() + "\",\"3\""));
    f.close();

    const CliRun r = Cli({S("dump"), file});
    ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(r.Out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_EQ(doc[S("records")][1][S("ItemText")].toString(), text);
    EXPECT_TRUE(r.Out.contains(S("\xc3\xa9\\t\xf0\x9f\x98\x80\\u0001<b>x</b>\\u001f")));
}

TEST(Cli, ParsesOptionsBeforeCommands)
{
    struct Case {
        QStringList args;
        int status;
        QString out;
        QString err; // a line stderr must hold
    } cases[] = {
        {{S("--version")}, 0, S("vuvov-ivoza-cli 2.0.3\n"), {}},
        {{S("dump"), S("--bogus"), Seed("example.js")}, 64, {}, S("vuvov-ivoza-cli: Unknown option 'bogus'.")},
        {{S("dump"), S("--static"), Seed("example.js")}, 64, {}, S("vuvov-ivoza-cli: dump needs FILE")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.Status, c.status);
        EXPECT_EQ(r.Out, c.out);
        EXPECT_EQ(c.err.isEmpty() ? r.Err.isEmpty() : r.Err.split(QLatin1Char('\n')).contains(c.err), true)
            << r.Err.toStdString();
    }
}

// A loaded file whose comments hold characters that end a JavaScript comment
// or line, and whose values hold quotes and backslashes: the export runs in a
// JavaScript engine and defines nothing but the menu.
TEST(Cli, ExportedScriptDefinesOnlyTheMenu)
{
    if (!QFileInfo(S(VI_NODE)).isExecutable())
        GTEST_SKIP() << "node is not installed";
    QTemporaryDir dir;
    QString text = QString::fromUtf8(ReadFile(Seed("example.js")));
    text.truncate(text.indexOf(S("menuBase.menuItems[0]")));
    text.replace(S("//# TreeTarget = "), S("//# TreeTarget = main\u2028evil(1)\u2029evil(2)"));
    const QString flags = S("[+]False[+]False[+]True[+]False\r\n");
    text += S("menuBase.menuItems[0]= new menuItemObject(\"\",\"\",\"\",\"\",\"C:\\dir\\\",\"\",\"\",\"\",\"\",\"\"); "
              "//[+]BRANCH\u2028evil(3)[+]Na\u2028evil(4)\u2029me[+]0")
            + flags;
    text += S("menuBase.menuItems[0].subMenu[0]= new menuItemObject(\"\",\"\",\"\",\"\",\"a\u2028b\\x22); evil(5); "
              "(\\x22\","
              "\"\",\"\",\"\",\"\",\"\"); //[+]LEAF[+]x[+]1")
            + flags + S("var injected = 1;\r\n");
    text += S("menuBase.menuItems[1]= new menuItemObject(\"\",\"\",\"\",\"\",\"<b "
              "class=\"x\">\",\"\",\"\",\"\",\"\",\"\"); "
              "//[+]LEAF[+]\u2029[+]0")
            + flags;
    const QString source = dir.filePath(S("hostile.js")), out = dir.filePath(S("out"));
    QFile f(source);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
    f.close();

    Cli({S("export"), source, out}); // the pictures are missing, so the status is 1
    QProcess node;
    node.start(S(VI_NODE), {S(VI_RUN_MENU_SCRIPT), out + S("/custom.js")});
    ASSERT_TRUE(node.waitForFinished(60000));
    ASSERT_EQ(node.exitCode(), 0) << node.readAllStandardError().toStdString();
    const QJsonObject run = QJsonDocument::fromJson(node.readAllStandardOutput()).object();
    EXPECT_EQ(run[S("globals")].toVariant().toStringList(),
              (QStringList{S("BackGroundColor"), S("BrowserSwitch"), S("menuBase"), S("pmPercent"), S("trans2x2")}));
    EXPECT_EQ(run[S("foreign")], QJsonValue(0));
    EXPECT_EQ(run[S("rootIsMenu")], QJsonValue(true));
    EXPECT_EQ(run[S("topItems")], QJsonValue(2));
    EXPECT_EQ(run[S("texts")].toVariant().toStringList(),
              (QStringList{S("C:\\dir\\"), S("a\u2028b\"); evil(5); (\""), S("<b class=")}));
    // The tree-wide target, taken from a header line, stays one value on one line.
    EXPECT_EQ(run[S("targets")].toVariant().toStringList(), QStringList(3, S("main evil(1) evil(2)")));
}
