// The built vuvov-ivoza-cli as a user's build script runs it: exit statuses,
// the dump, and the exported folder when the tool is killed or two run at once.
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
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

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size()) << path.toStdString();
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
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// The worked example's header, before its first item line.
QByteArray Header()
{
    QByteArray header = ReadFile(Seed("example.js"));
    header.truncate(header.indexOf("menuBase.menuItems[0]"));
    return header;
}

// A custom.js of top-level leaves named text0, text1, ..., each naming one of ten pictures.
QByteArray Script(int items, const char* text)
{
    QByteArray script = Header();
    for (int i = 0; i < items; ++i) {
        const QByteArray n = QByteArray::number(i), name = text + n;
        script += "menuBase.menuItems[" + n + "]= new menuItemObject(\"\",\"\",\"treePics/p"
                  + QByteArray::number(i % 10) + ".gif\",\"\",\"" + name
                  + "\",\"2\",\"Black\",\"\",\"\",\"\"); //[+]LEAF[+]" + name
                  + "[+]0[+]False[+]False[+]False[+]False\r\n";
    }
    return script;
}

// A site folder holding custom.js and the ten pictures it names, each holding the site's name.
QString MakeSite(const QTemporaryDir& dir, const char* name, int items, const char* text)
{
    const QString site = dir.filePath(S(name));
    for (int i = 0; i < 10; ++i)
        WriteFile(site + S("/treePics/p%1.gif").arg(i), QByteArray(name) + QByteArray::number(i));
    WriteFile(site + S("/custom.js"), Script(items, text));
    return site + S("/custom.js");
}

QStringList AllNames(const QString& folder)
{
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next().mid(folder.size() + 1);
    names.sort();
    return names;
}

// The name a temporary file has between being named and renamed over its destination.
const QRegularExpression kTemporary(QStringLiteral("(^|/)\\.[^/]+\\.tmp-[0-9a-f]{1,6}$"));

} // namespace

TEST(Cli, ExitStatuses)
{
    QTemporaryDir dir;
    const auto at = [&](const char* name) { return dir.filePath(S(name)); };
    WriteFile(at("foreign.js"), ReadFile(Seed("example.js")).replace("= Vuvov-Ivoza", "= Other"));
    WriteFile(at("file"), ""); // a file where the export wants a folder
    WriteFile(at("root.js"), Header());
    const QString many = MakeSite(dir, "many", 32766 + 2, "I"); // with its pictures: only the limit fails
    // The worked example with the two bullets it names in its own treePics: an export without failures.
    const QString source = at("site/custom.js"), out = at("site/menu");
    WriteFile(source, ReadFile(Seed("example.js")));
    for (const char* name : {"site/treePics/folder.gif", "site/treePics/open.gif"})
        WriteFile(at(name), "gif");
    const QString tooMany = S("The tree can not hold more than 32766 items.");
    const QString needs = S("vuvov-ivoza-cli: export needs FILE and FOLDER");

    struct Case {
        QStringList args;
        int status;
        QString err; // a line stderr must hold
    } cases[] = {
        {{S("--help")}, 0, {}},
        {{}, 64, S("vuvov-ivoza-cli: no command given")},
        {{S("publish"), Seed("example.js")}, 64, S("vuvov-ivoza-cli: unknown command: publish")},
        {{S("dump")}, 64, {}},
        {{S("dump"), S("--bogus"), Seed("example.js")}, 64, S("vuvov-ivoza-cli: Unknown option 'bogus'.")},
        {{S("dump"), S("--static"), Seed("example.js")}, 64, S("vuvov-ivoza-cli: dump needs FILE")},
        {{S("export"), Seed("example.js")}, 64, {}},
        {{S("export"), Seed("example.js"), S("")}, 64, needs},
        {{S("export"), Seed("example.js"), S(" ")}, 64, needs},
        {{S("export"), S(""), at("out")}, 64, needs},
        {{S("dump"), at("none.js")},
         2,
         S("Unable to open the file: ") + at("none.js") + S(" Reason: No such file or directory")},
        {{S("dump"), at("foreign.js")}, 2, S("This file was not created by Vuvov-Ivoza.  Unable to load.")},
        {{S("dump"), Seed("oldversion_cp1252.js")},
         0,
         S("warning: This file was not created by your current Vuvov-Ivoza software version. "
           "This file may not load correctly.  Continue to load tree? Yes.")},
        {{S("dump"), at("root.js")}, 0, {}},
        {{S("dump"), many}, 1, tooMany},
        {{S("export"), many, at("out1")}, 1, tooMany},
        {{S("export"), at("root.js"), at("out2")}, 1, S("failed: the tree has no items")},
        {{S("export"), at("foreign.js"), at("out")}, 2, {}},
        // The pictures named by this file are not beside it: each missing copy is a failed step.
        {{S("export"), Seed("escapes.js"), at("out")},
         1,
         S("failed: ") + at("out/treePics/leaf.gif: could not copy ") + Seed("treePics/leaf.gif")},
        {{S("export"), Seed("example.js"), at("file/out")}, 1, {}},
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
    const CliRun version = Cli({S("--version")});
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, S("vuvov-ivoza-cli 2.0.3\n"));
}

// The worked example with a leaf text longer than the blocks the dump is written
// in, holding characters JSON escapes and characters of several UTF-8 bytes.
TEST(Cli, DumpPrintsTheWholeDocument)
{
    const QString text = S("\xc3\xa9\t\xf0\x9f\x98\x80\x01<b>x</b>\x1f ").repeated(40000).trimmed();
    QTemporaryDir dir;
    const QString file = dir.filePath(S("custom.js"));
    const QByteArray script =
        ReadFile(Seed("example.js")).replace("\"\",\"Widgets\",\"3\"", "\"\",\"" + text.toUtf8() + "\",\"3\"");
    WriteFile(file, script);
    const CliRun r = Cli({S("dump"), file});
    ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.startsWith(
        S("{\"settings\": {\"TreeX\": 5, \"TreeY\": 5, \"TreeSize\": 1, \"TreeLines\": 1, "
          "\"TreeLineColor\": \"Black\", \"TreePMColor\": \"Black\", \"TreeBNonExpanded\": \"\", "
          "\"TreeBExpanded\": \"\", \"TreeLeaf\": \"\", \"TreeTarget\": \"\", \"TreeBackground\": \"\", "
          "\"TreeFontSize\": \"2\", \"TreeFontColor\": \"Black\"},\n\"rootStatement\": ")));
    EXPECT_TRUE(r.Out.contains(S("\xc3\xa9\\t\xf0\x9f\x98\x80\\u0001<b>x</b>\\u001f")));
    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(r.Out.toUtf8(), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(doc[S("rootStatement")].toString().startsWith(
        S("var menuBase = new menuObject(5,5,20,true,\"treePics/plus.gif\"")));
    EXPECT_EQ(doc[S("treeChanged")], QJsonValue(false));
    EXPECT_EQ(
        QJsonDocument(doc[S("nodes")].toArray()).toJson(QJsonDocument::Compact),
        R"([{"parent":1,"position":2,"tag":2,"text":"Products"},{"parent":2,"position":3,"tag":3,"text":"Widgets"}])");
    const QJsonArray records = doc[S("records")].toArray();
    ASSERT_EQ(records.size(), 2);
    QJsonObject leaf = records[1].toObject();
    EXPECT_EQ(leaf.take(S("ItemText")).toString(), text);
    EXPECT_EQ(leaf.take(S("ScriptLine")), QJsonValue(QString::fromUtf8(script.split('\n').at(35)).trimmed()));
    EXPECT_EQ(QJsonDocument(leaf).toJson(QJsonDocument::Compact),
              R"({"BExpanded":"","BNonExpanded":"","FontColor":"Navy","FontSize":"3","FriendlyName":"Widgets",)"
              R"("ItemType":"LEAF","LinkDescription":"Our widgets","LinkHref":"widgets.html","LinkTarget":"main",)"
              R"("MouseOutPic":"","MouseOverPic":"","RootMark":0,"UseGlobalBExpanded":false,)"
              R"("UseGlobalBNonExpanded":false,"UseGlobalFont":false,"UseGlobalTarget":false,"index":3})");
    EXPECT_EQ(records[0][S("BNonExpanded")],
              QJsonValue(QDir::toNativeSeparators(dir.filePath(S("treePics/folder.gif")))));
    EXPECT_EQ(records[0][S("UseGlobalFont")], QJsonValue(true));
}

// A loaded file whose comments hold characters that end a JavaScript comment
// or line, and whose values hold quotes and backslashes: the export runs in a
// JavaScript engine and defines nothing but the menu.
TEST(Cli, ExportedScriptDefinesOnlyTheMenu)
{
    if (!QFileInfo(S(VI_NODE)).isExecutable())
        GTEST_SKIP() << "node is not installed";
    QTemporaryDir dir;
    QString text = QString::fromUtf8(Header());
    text.replace(S("//# TreeTarget = "), S("//# TreeTarget = main\u2028evil(1)\u2029evil(2)"));
    const QString item = S("= new menuItemObject(\"\",\"\",\"\",\"\",\""),
                  flags = S("[+]False[+]False[+]True[+]False\r\n");
    text += S("menuBase.menuItems[0]") + item + S("C:\\dir\\\",\"\",\"\",\"\",\"\",\"\"); ")
            + S("//[+]BRANCH\u2028evil(3)[+]Na\u2028evil(4)\u2029me[+]0") + flags;
    text += S("menuBase.menuItems[0].subMenu[0]") + item
            + S("a\u2028b\\x22); evil(5); (\\x22\",\"\",\"\",\"\",\"\",\"\"); ") + S("//[+]LEAF[+]x[+]1") + flags
            + S("var injected = 1;\r\n");
    text += S("menuBase.menuItems[1]") + item + S("<b class=\"x\">\",\"\",\"\",\"\",\"\",\"\"); //[+]LEAF[+]\u2029[+]0")
            + flags;
    const QString source = dir.filePath(S("hostile.js")), out = dir.filePath(S("out"));
    WriteFile(source, text.toUtf8());

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

TEST(CliSafety, KilledExportLeavesTheOldFilesOrTheNewOnesWhole)
{
    QTemporaryDir dir;
    const QString older = MakeSite(dir, "older", 50, "Old item ");
    const QString newer = MakeSite(dir, "newer", 20000, "A new item with a longer text ");
    const QString out = dir.filePath(S("out")), reference = dir.filePath(S("reference"));
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(Cli({S("export"), newer, reference}).Status, 0);
    const qint64 runMs = std::max<qint64>(timer.elapsed(), 20);
    ASSERT_EQ(Cli({S("export"), older, out}).Status, 0);
    const QByteArray oldScript = ReadFile(out + S("/custom.js")), newScript = ReadFile(reference + S("/custom.js"));
    const QStringList oldNames = AllNames(out), newNames = AllNames(reference);

    QRandomGenerator random(20261206);
    for (int round = 0; round < 30; ++round) {
        QProcess p;
        p.start(S(VI_CLI), {S("export"), newer, out});
        ASSERT_TRUE(p.waitForStarted());
        const int killAfter = static_cast<int>(random.bounded(static_cast<quint32>(runMs * 12 / 10)));
        p.waitForFinished(killAfter);
        p.kill();
        p.waitForFinished(10000);
        SCOPED_TRACE("round " + std::to_string(round) + ", killed after " + std::to_string(killAfter) + " ms");
        const QByteArray script = ReadFile(out + S("/custom.js"));
        ASSERT_TRUE(script == oldScript || script == newScript);
        // Only the names of the old export and the new one, and at most the one
        // temporary file of a kill between naming and renaming it.
        int temporary = 0;
        for (const QString& name : AllNames(out)) {
            const bool known = oldNames.contains(name) || newNames.contains(name);
            temporary += !known && kTemporary.match(name).hasMatch();
            EXPECT_TRUE(known || kTemporary.match(name).hasMatch()) << name.toStdString();
        }
        EXPECT_LE(temporary, 1);
        for (int i = 0; i < 10; ++i) {
            const QByteArray pic = ReadFile(out + S("/treePics/p%1.gif").arg(i));
            EXPECT_TRUE(pic == "older" + QByteArray::number(i) || pic == "newer" + QByteArray::number(i));
        }
    }
    // The next whole export clears what a killed one left.
    ASSERT_EQ(Cli({S("export"), newer, out}).Status, 0);
    EXPECT_EQ(ReadFile(out + S("/custom.js")), newScript);
    for (const QString& name : AllNames(out))
        EXPECT_FALSE(kTemporary.match(name).hasMatch()) << name.toStdString();
}

TEST(CliSafety, TwoExportsIntoOneFolderEndWithOneWholeSet)
{
    QTemporaryDir dir;
    const QString first = MakeSite(dir, "first", 3000, "First "), second = MakeSite(dir, "second", 3000, "Second ");
    const QString out = dir.filePath(S("out"));
    ASSERT_EQ(Cli({S("export"), first, dir.filePath(S("firstExport"))}).Status, 0);
    ASSERT_EQ(Cli({S("export"), second, dir.filePath(S("secondExport"))}).Status, 0);
    QDir().mkdir(out);
    for (int round = 0; round < 3; ++round) {
        QProcess a, b;
        a.start(S(VI_CLI), {S("export"), first, out});
        b.start(S(VI_CLI), {S("export"), second, out});
        ASSERT_TRUE(a.waitForFinished(120000) && b.waitForFinished(120000));
        EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
        EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();
        // The pictures belong to the script that was written last.
        const QByteArray script = ReadFile(out + S("/custom.js"));
        const QByteArray winner = script.contains("\"First 0\"") ? "first" : "second";
        EXPECT_EQ(script, ReadFile(dir.filePath(QString::fromLatin1(winner + "Export/custom.js"))));
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(ReadFile(out + S("/treePics/p%1.gif").arg(i)), winner + QByteArray::number(i));
    }
}
