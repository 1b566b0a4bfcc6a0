// The built vuvov-ivoza-cli as a build script runs it: exit statuses, the exported script
// in a JavaScript engine, and the exported folder when the tool is killed or two run at once.
#include "tests/script/ExportTestSupport.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace vi::test;

namespace {

struct CliRun {
    int Status = -1;
    QString Out, Err;
};

CliRun Cli(const QStringList& args, const char* program = VI_CLI)
{
    QProcess p;
    p.start(S(program), args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// The worked example's header, before its first item line.
QByteArray Header()
{
    const QByteArray example = ReadFile(Corpus("example.js"));
    return example.left(example.indexOf("menuBase.menuItems[0]"));
}

// A site folder with a custom.js of top-level leaves named text0, text1, ...,
// each naming one of the ten pictures beside it, p0.gif to p9.gif, and lines
// and plus/minus signs of the colour.
QString MakeSite(const QTemporaryDir& dir, const char* name, int items, const char* text,
                 const QByteArray& colour = "Black")
{
    const QString site = dir.filePath(S(name));
    QByteArray script = Header()
                            .replace("LineColor = Black", "LineColor = " + colour)
                            .replace("PMColor = Black", "PMColor = " + colour);
    for (int i = 0; i < items; ++i) {
        const QByteArray n = QByteArray::number(i), label = text + n;
        script += "menuBase.menuItems[" + n + "]= new menuItemObject(\"\",\"\",\"treePics/p"
                  + QByteArray::number(i % 10) + ".gif\",\"\",\"" + label + "\"); //[+]LEAF[+]" + label + "[+]0\r\n";
    }
    for (int i = 0; i < 10; ++i)
        WriteFile(site + S("/treePics/p%1.gif").arg(i), Gif("p" + QByteArray::number(i)));
    WriteFile(site + S("/custom.js"), script);
    return site + S("/custom.js");
}

QStringList AllNames(const QString& folder)
{
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names << it.next().mid(folder.size() + 1);
    return names;
}

// The name a temporary file has between being named and renamed over its destination.
const QRegularExpression kTemporary(QStringLiteral("(^|/)\\.vuvov-ivoza-tmp-[0-9a-f]{12}$"));

// A line picture of the CLI's own data folder.
QByteArray LinePicture(const char* colour, const char* name)
{
    return ReadFile(QFileInfo(S(VI_CLI)).path() + S("/TreeData/TreeLines/") + S(colour) + S("/") + S(name));
}

} // namespace

TEST(Cli, ExitStatuses)
{
    QTemporaryDir dir;
    const auto at = [&](const char* name) { return dir.filePath(S(name)); };
    const QString example = Corpus("example.js");
    WriteFile(at("file"), ""); // a file where the export wants a folder
    const QString site = MakeSite(dir, "site", 3, "I");
    // A line whose parent does not come before it: the site's items load, the line is left out.
    const QString orphan = dir.filePath(S("site/orphan.js"));
    WriteFile(orphan, ReadFile(site) + "menuBase.menuItems[3]= new menuItemObject(\"\"); //[+]LEAF[+]lost[+]9\r\n");
    const QString leftOut = S("1 item(s) of this file could not be placed in the tree and were left out: "
                              "each names a parent item that does not come before it in the file.");
    const QString needs = S("vuvov-ivoza-cli: export needs FILE and FOLDER"), none = at("none.js");
    const QString old = Corpus("oldversion_cp1252.js"), escapes = Corpus("escapes.js");
    const struct {
        QStringList args;
        int status;
        QString err;          // a line stderr must hold
        const char* out = ""; // how stdout begins
    } cases[] = {
        {{S("--help")}, 0, {}, "Usage: vuvov-ivoza-cli export FILE FOLDER [--static]\n"},
        {{S("--version")}, 0, {}, "vuvov-ivoza-cli 2.0.3\n"},
        {{}, 64, S("vuvov-ivoza-cli: no command given")},
        {{S("publish"), example}, 64, S("vuvov-ivoza-cli: unknown command: publish")},
        {{S("dump"), S("--bogus"), example}, 64, S("vuvov-ivoza-cli: Unknown option 'bogus'.")},
        {{S("dump"), S("--static"), example}, 64, S("vuvov-ivoza-cli: dump needs FILE")},
        {{S("export"), example, S("")}, 64, needs},
        {{S("export"), example, S(" ")}, 64, needs},
        {{S("dump"), none}, 2, S("Unable to open the file: ") + none + S(" Reason: No such file or directory")},
        {{S("dump"), old},
         0,
         S("warning: This file was not created by your current Vuvov-Ivoza software version. "
           "This file may not load correctly.  Continue to load tree? Yes.")},
        {{S("dump"), orphan}, 1, leftOut},
        {{S("export"), orphan, at("out3")}, 1, leftOut},
        // The pictures named by this file are not beside it: each missing copy is a failed step.
        {{S("export"), escapes, at("out")},
         1,
         S("failed: ") + at("out/treePics/leaf.gif: could not copy ") + Corpus("treePics/leaf.gif")},
        {{S("export"), example, at("file/out")}, 1, {}},
        {{S("export"), S("--static"), site, at("static")}, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.Status, c.status);
        EXPECT_EQ(r.Out.left(qstrlen(c.out)), S(c.out));
        EXPECT_EQ(r.Out.contains(S("Usage:")), *c.out == 'U');
        EXPECT_TRUE(c.err.isEmpty() || r.Err.split(QLatin1Char('\n')).contains(c.err)) << r.Err.toStdString();
        EXPECT_EQ(r.Err.contains(S("Usage:")), c.status == 64);
        EXPECT_EQ(r.Err.isEmpty(), c.status == 0 && !c.args.contains(old));
    }
    EXPECT_TRUE(ReadFile(at("static/custom.js")).contains("\r\nvar BrowserSwitch = true;\r\n"));
    // A folder name with a byte that is no UTF-8 would come out of the arguments
    // changed, naming another folder: it is refused, and nothing is made.
    const CliRun odd =
        Cli({S("-c"), S("exec \"$0\" export \"$1\" \"$2$(printf '\\377')\""), S(VI_CLI), site, at("odd")}, "/bin/sh");
    EXPECT_EQ(odd.Status, 64);
    EXPECT_TRUE(odd.Err.startsWith(S("vuvov-ivoza-cli: a name that is no valid text: "))) << odd.Err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList({S("odd*")}), QStringList());
}

// The dump builds each record's statement as the export writes it: the same
// line, in the file's order, for a nested tree with escaped values.
TEST(Cli, DumpListsEachRecordWithTheStatementTheExportWrites)
{
    QTemporaryDir dir;
    for (const char* file : {"example.js", "escapes.js"}) {
        SCOPED_TRACE(file);
        const QString out = dir.filePath(S(file));
        ASSERT_NE(Cli({S("export"), Corpus(file), out}).Status, -1);
        const QList<QByteArray> lines = ReadFile(out + S("/custom.js")).split('\n');
        const CliRun dump = Cli({S("dump"), out + S("/custom.js")});
        ASSERT_EQ(dump.Status, 0) << dump.Err.toStdString();
        const QJsonArray records = QJsonDocument::fromJson(dump.Out.toUtf8()).object().value(S("records")).toArray();
        ASSERT_GT(records.size(), 1);
        for (qsizetype i = 0; i < records.size(); ++i)
            EXPECT_EQ(records[i].toObject().value(S("ScriptLine")).toString().toUtf8() + "\r", lines.value(34 + i));
    }
}

// A file that does not load, or loads as an empty tree, writes nothing: the
// menu already in the folder stays. Pipes and standard input still load.
TEST(Cli, AFailedLoadOrAnEmptyTreeWritesNothing)
{
    QTemporaryDir dir;
    const auto at = [&](const char* name) { return dir.filePath(S(name)); };
    const QString live = at("live");
    ASSERT_EQ(Cli({S("export"), MakeSite(dir, "site", 3, "I"), live}).Status, 0);
    const QStringList names = AllNames(live);
    const QByteArray script = ReadFile(live + S("/custom.js"));
    // Which files the loader refuses is its own test's; here one refused and one empty tree.
    WriteFile(at("binary.js"), QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    WriteFile(at("root.js"), Header());
    const std::tuple<const char*, int, QString> cases[] = {
        {"binary.js", 2, S("This file is not a menu made by Vuvov-Ivoza.  Unable to load.")},
        {"root.js", 1, S("failed: the tree has no items")},
    };
    for (const auto& [name, status, err] : cases) {
        SCOPED_TRACE(name);
        const CliRun r = Cli({S("export"), at(name), live});
        EXPECT_EQ(r.Status, status);
        EXPECT_EQ(r.Err, err + S("\n"));
        EXPECT_TRUE(ReadFile(live + S("/custom.js")) == script);
        EXPECT_EQ(AllNames(live), names);
        EXPECT_EQ(Cli({S("export"), at(name), at("fresh")}).Status, status);
        EXPECT_FALSE(QFileInfo::exists(at("fresh")));
    }
    const CliRun piped =
        Cli({S("-c"), S("cat \"$1\" | \"$0\" dump /dev/stdin"), S(VI_CLI), Corpus("example.js")}, "/bin/sh");
    EXPECT_EQ(piped.Status, 0) << piped.Err.toStdString();
    EXPECT_TRUE(piped.Out.contains(S("\"Widgets\"")));
}

// A loaded file whose comments hold characters that end a JavaScript comment
// or line, and whose values hold quotes and backslashes: the export runs in a
// JavaScript engine and defines nothing but the menu, and a Windows path of an
// older file shows as it was typed.
TEST(Cli, ExportedScriptDefinesOnlyTheMenu)
{
    if (!QFileInfo(S(VI_NODE)).isExecutable())
        GTEST_SKIP() << "node is not installed";
    QTemporaryDir dir;
    QString text = QString::fromUtf8(Header());
    text.replace(S("//# TreeTarget = "), S("//# TreeTarget = main\u2028evil(1)\u2029evil(2)"));
    const QString item = S("= new menuItemObject(\"\",\"\",\"\",\"\",\""),
                  flags = S("[+]False[+]False[+]True[+]False\r\n");
    text += S("menuBase.menuItems[0]") + item + S("C:\\tools\\dir\\\",\"\",\"\",\"\",\"\",\"\"); ")
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
    EXPECT_EQ(run[S("topItems")], QJsonValue(2));
    EXPECT_EQ(run[S("texts")].toVariant().toStringList(),
              (QStringList{S("C:\\tools\\dir\\"), S("a\u2028b\"); evil(5); (\""), S("<b class=")}));
    // The tree-wide target, taken from a header line, stays one value on one line.
    EXPECT_EQ(run[S("targets")].toVariant().toStringList(), QStringList(3, S("main evil(1) evil(2)")));
}

TEST(CliSafety, KilledExportLeavesTheOldFilesOrTheNewOnesWhole)
{
    QTemporaryDir dir;
    const QString older = MakeSite(dir, "older", 50, "Old item ");
    const QString newer = MakeSite(dir, "newer", 20000, "A new item with a longer text ", "Navy");
    const QString out = dir.filePath(S("out")), reference = dir.filePath(S("reference"));
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(Cli({S("export"), newer, reference}).Status, 0);
    const quint32 runMs = static_cast<quint32>(std::max<qint64>(timer.elapsed(), 20));
    ASSERT_EQ(Cli({S("export"), older, out}).Status, 0);
    const QByteArray oldScript = ReadFile(out + S("/custom.js")), newScript = ReadFile(reference + S("/custom.js"));
    const QStringList known = AllNames(out) + AllNames(reference);

    QRandomGenerator random(20261206);
    for (int round = 0; round < 30; ++round) {
        QProcess p;
        p.start(S(VI_CLI), {S("export"), newer, out});
        ASSERT_TRUE(p.waitForStarted());
        const int killAfter = static_cast<int>(random.bounded(runMs * 12 / 10));
        p.waitForFinished(killAfter);
        p.kill();
        p.waitForFinished(10000);
        SCOPED_TRACE("round " + std::to_string(round) + ", killed after " + std::to_string(killAfter) + " ms");
        const QByteArray script = ReadFile(out + S("/custom.js"));
        ASSERT_TRUE(script == oldScript || script == newScript);
        // Only the names of the two exports, and at most the one temporary
        // file of a kill between naming and renaming it.
        int temporary = 0;
        for (const QString& name : AllNames(out)) {
            temporary += !known.contains(name);
            EXPECT_TRUE(known.contains(name) || kTemporary.match(name).hasMatch()) << name.toStdString();
        }
        EXPECT_LE(temporary, 1);
        for (const char* name : {"plus.gif", "top.gif"}) {
            const QByteArray pic = ReadFile(out + S("/treePics/") + S(name));
            EXPECT_TRUE(pic == LinePicture("Black", name) || pic == LinePicture("Navy", name)) << name;
        }
    }
    // The next whole export clears what a killed one left, but no file or link that only looks alike.
    QStringList lookAlikes = S(".notes.tmp-1|custom.js.tmp-1|.x.tmp-xyz|.custom.js.tmp-a5b0e7|treePics/.p6.gif.tmp-0|"
                               ".vuvov-ivoza-tmp-1|treePics/.vuvov-ivoza-tmp-0123456789abc")
                                 .split(QLatin1Char('|'));
    for (const QString& name :
         lookAlikes + QStringList{S(".vuvov-ivoza-tmp-a5b0e7a5b0e7"), S("treePics/.vuvov-ivoza-tmp-000000000000")})
        WriteFile(out + S("/") + name, "x");
    ASSERT_TRUE(QFile::link(out + S("/custom.js"), out + S("/.vuvov-ivoza-tmp-111111111111")));
    ASSERT_EQ(Cli({S("export"), newer, out}).Status, 0);
    EXPECT_EQ(ReadFile(out + S("/custom.js")), newScript);
    QStringList left = AllNames(out);
    left.removeIf([&](const QString& name) { return known.contains(name); });
    lookAlikes << S(".vuvov-ivoza-tmp-111111111111");
    left.sort(), lookAlikes.sort();
    EXPECT_EQ(left, lookAlikes);
}

TEST(CliSafety, TwoExportsIntoOneFolderEndWithOneWholeSet)
{
    QTemporaryDir dir;
    const QString first = MakeSite(dir, "first", 3000, "First "),
                  second = MakeSite(dir, "second", 3000, "Second ", "Navy");
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
        // The line pictures belong to the script that was written last.
        const QByteArray script = ReadFile(out + S("/custom.js"));
        const QByteArray winner = script.contains("\"First 0\"") ? "first" : "second";
        EXPECT_EQ(script, ReadFile(dir.filePath(QString::fromLatin1(winner + "Export/custom.js"))));
        for (const char* name : {"plus.gif", "minus.gif", "top.gif", "vline.gif"})
            EXPECT_EQ(ReadFile(out + S("/treePics/") + S(name)),
                      LinePicture(winner == "first" ? "Black" : "Navy", name));
    }
}
