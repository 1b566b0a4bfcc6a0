// The exported folder when the tool is killed mid-export, when two exports
// run into one folder at once, and the data folder the tool exports from.
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A custom.js of the given number of items, each with a picture of its own.
QByteArray Script(int items, const char* text)
{
    QFile seed(S(VI_SEEDS "/example.js"));
    EXPECT_TRUE(seed.open(QIODevice::ReadOnly));
    QByteArray script = seed.readAll();
    script.truncate(script.indexOf("menuBase.menuItems[0]"));
    for (int i = 0; i < items; ++i) {
        const QByteArray n = QByteArray::number(i);
        script += "menuBase.menuItems[" + n + "]= new menuItemObject(\"\",\"\",\"treePics/p"
                  + QByteArray::number(i % 10) + ".gif\",\"\",\"" + text + n
                  + "\",\"2\",\"Black\",\"\",\"\",\"\"); //[+]LEAF[+]" + text + n
                  + "[+]0[+]False[+]False[+]False[+]False\r\n";
    }
    return script;
}

// A site folder holding custom.js and the ten pictures it names.
QString MakeSite(const QTemporaryDir& dir, const char* name, int items, const char* text)
{
    const QString site = dir.filePath(S(name));
    QDir().mkpath(site + S("/treePics"));
    for (int i = 0; i < 10; ++i) {
        QFile pic(site + S("/treePics/p%1.gif").arg(i));
        EXPECT_TRUE(pic.open(QIODevice::WriteOnly));
        pic.write(QByteArray(name) + QByteArray::number(i));
    }
    QFile js(site + S("/custom.js"));
    EXPECT_TRUE(js.open(QIODevice::WriteOnly));
    js.write(Script(items, text));
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

int RunCli(const QStringList& args)
{
    QProcess p;
    p.start(S(VI_CLI), args);
    p.waitForFinished(120000);
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

TEST(CliSafety, KilledExportLeavesTheOldFilesOrTheNewOnesWhole)
{
    QTemporaryDir dir;
    const QString older = MakeSite(dir, "older", 50, "Old item ");
    const QString newer = MakeSite(dir, "newer", 20000, "A new item with a longer text ");
    const QString out = dir.filePath(S("out"));
    const QString reference = dir.filePath(S("reference"));

    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(RunCli({S("export"), newer, reference}), 0);
    const qint64 runMs = std::max<qint64>(timer.elapsed(), 20);
    ASSERT_EQ(RunCli({S("export"), older, out}), 0);
    const QByteArray oldScript = Read(out + S("/custom.js"));
    const QByteArray newScript = Read(reference + S("/custom.js"));
    const QStringList oldNames = AllNames(out);
    const QStringList newNames = AllNames(reference);

    QRandomGenerator random(20261206);
    int torn = 0;
    for (int round = 0; round < 30; ++round) {
        QProcess p;
        p.start(S(VI_CLI), {S("export"), newer, out});
        ASSERT_TRUE(p.waitForStarted());
        const int killAfter = static_cast<int>(random.bounded(static_cast<quint32>(runMs * 12 / 10)));
        p.waitForFinished(killAfter);
        p.kill();
        p.waitForFinished(10000);
        SCOPED_TRACE("round " + std::to_string(round) + ", killed after " + std::to_string(killAfter) + " ms");
        const QByteArray script = Read(out + S("/custom.js"));
        EXPECT_TRUE(script == oldScript || script == newScript);
        torn += script != oldScript && script != newScript;
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
            const QByteArray pic = Read(out + S("/treePics/p%1.gif").arg(i));
            EXPECT_TRUE(pic == "older" + QByteArray::number(i) || pic == "newer" + QByteArray::number(i));
        }
        if (torn)
            break;
    }
    // The next whole export clears what a killed one left.
    ASSERT_EQ(RunCli({S("export"), newer, out}), 0);
    EXPECT_EQ(Read(out + S("/custom.js")), newScript);
    for (const QString& name : AllNames(out))
        EXPECT_FALSE(kTemporary.match(name).hasMatch()) << name.toStdString();
}

TEST(CliSafety, TwoExportsIntoOneFolderEndWithOneWholeSet)
{
    QTemporaryDir dir;
    const QString first = MakeSite(dir, "first", 3000, "First ");
    const QString second = MakeSite(dir, "second", 3000, "Second ");
    const QString out = dir.filePath(S("out"));
    ASSERT_EQ(RunCli({S("export"), first, dir.filePath(S("firstExport"))}), 0);
    ASSERT_EQ(RunCli({S("export"), second, dir.filePath(S("secondExport"))}), 0);
    QDir().mkdir(out);
    for (int round = 0; round < 3; ++round) {
        QProcess a;
        QProcess b;
        a.start(S(VI_CLI), {S("export"), first, out});
        b.start(S(VI_CLI), {S("export"), second, out});
        ASSERT_TRUE(a.waitForFinished(120000) && b.waitForFinished(120000));
        EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
        EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();
        // The pictures belong to the script that was written last.
        const QByteArray script = Read(out + S("/custom.js"));
        const QByteArray winner = script.contains("\"First 0\"") ? "first" : "second";
        EXPECT_EQ(script, Read(dir.filePath(QString::fromLatin1(winner + "Export/custom.js"))));
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(Read(out + S("/treePics/p%1.gif").arg(i)), winner + QByteArray::number(i));
    }
}

TEST(CliSafety, DataFolderIsReadableByEveryone)
{
    const QString data = QFileInfo(S(VI_CLI)).path() + S("/TreeData");
    QDirIterator it(data, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.contains(S("/TmpTree")))
            continue; // the preview's own folder, private to its user
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(path).constData(), &st), 0);
        SCOPED_TRACE(path.toStdString());
        if (S_ISDIR(st.st_mode)) {
            EXPECT_EQ(st.st_mode & 0777, 0755u);
        } else {
            EXPECT_EQ(st.st_mode & 0777, 0644u);
            ++files;
        }
    }
    EXPECT_GT(files, 50);
}

TEST(CliSafety, FullDiskIsAFailureWithItsReason)
{
    QTemporaryDir dir;
    const QString site = MakeSite(dir, "site", 5000, "An item of a tree too large for the disk ");
    QTemporaryDir small;
    const QByteArray mountPoint = QFile::encodeName(small.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=256k") != 0)
        GTEST_SKIP() << "a small tmpfs could not be mounted (" << std::strerror(errno) << "); this case needs root";
    struct Unmount {
        QByteArray at;
        ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
    } unmount{mountPoint};
    const QString out = small.filePath(S("out"));
    QDir().mkdir(out);
    QFile old(out + S("/custom.js"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    QProcess p;
    p.start(S(VI_CLI), {S("export"), site, out});
    p.waitForFinished(120000);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_EQ(p.exitCode(), 1);
    EXPECT_TRUE(err.contains(S("There was an error trying to export to the directory: ") + out
                             + S(" Reason: No space left on device")))
        << err.toStdString();
    EXPECT_EQ(Read(out + S("/custom.js")), "old");
}
