// The export on full disks, over links and special files and with pictures
// named by hostile files; the private folder and the removal of folders.
#include "script/ExportTree.h"
#include "script/FileSystem.h"
#include "script/FolderRemoval.h"
#include "script/ReplacingFile.h"
#include "script/TreeLoader.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

using namespace vi;
using namespace vi::test;

namespace {

// A small tmpfs of its own, so that the disk can really fill. Needs root.
struct SmallFileSystem {
    QTemporaryDir dir;
    QByteArray at = QFile::encodeName(dir.path());
    bool mounted = dir.isValid() && ::mount("tmpfs", at.constData(), "tmpfs", 0, "size=4m") == 0;
    const char* why = mounted ? "" : std::strerror(errno);
    ~SmallFileSystem()
    {
        if (mounted)
            ::umount2(at.constData(), MNT_DETACH);
    }
    void LeaveFree(qint64 bytes)
    {
        QFile filler(dir.filePath(S("filler")));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(64 * 1024, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
        filler.close();
        ASSERT_TRUE(QFile::resize(filler.fileName(), std::max<qint64>(0, QFileInfo(filler).size() - bytes)));
    }
};

} // namespace

TEST(ExportSafety, FullDiskKeepsTheOldFilesAndNamesTheReason)
{
    const struct {
        const char* name;
        int items;        // the new tree's items
        qint64 shortfall; // bytes of the new custom.js that find no room
    } cases[] = {
        {"script smaller than the write buffer, last kilobytes fail", 200, 4 * 1024},
        {"script larger than the write buffer", 6000, 300 * 1024},
        {"no room at all", 200, 1 << 30},
    };
    FakeProgramFolder program;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmallFileSystem fs;
        if (!fs.mounted)
            GTEST_SKIP() << "a small tmpfs could not be mounted (" << fs.why << "); the full-disk cases need root";
        const QString folder = fs.dir.filePath(S("site"));
        QDir().mkdir(folder);
        TreeDocument doc, bigger;
        FakeUserInterface ui;
        AddItems(doc, 3);
        ASSERT_TRUE(ExportTree(doc, folder, false, ui).Complete());
        const QByteArray old = ReadFile(folder + S("/custom.js"));
        const QStringList oldEntries = Entries(folder) + Entries(folder + S("/treePics"));

        AddItems(bigger, c.items);
        QTemporaryDir elsewhere;
        ASSERT_TRUE(ExportTree(bigger, elsewhere.path(), false, ui).Complete());
        fs.LeaveFree(std::max<qint64>(0, QFileInfo(elsewhere.filePath(S("custom.js"))).size() - c.shortfall));
        bigger.SetTreeChanged(true);
        ui.Messages.clear();

        EXPECT_FALSE(ExportTree(bigger, folder, false, ui).Written);
        EXPECT_TRUE(bigger.TreeChanged());
        EXPECT_EQ(ReadFile(folder + S("/custom.js")), old);
        EXPECT_EQ(ui.MessageTexts().value(0), ExportErrorMessage(folder, S("No space left on device")));
        // The page and pictures are the old or the new ones, whole; no temporary file is left.
        EXPECT_EQ(ReadFile(folder + S("/tree.html")), "tree.html");
        EXPECT_EQ(ReadFile(folder + S("/treePics/plus.gif")), "Black/plus.gif");
        EXPECT_EQ(Entries(folder) + Entries(folder + S("/treePics")), oldEntries);
    }
}

// A treePics that is a link is replaced in the export folder's tests.
TEST(ExportSafety, LinksAreReplacedAndSpecialFilesAreFailures)
{
    const struct {
        const char* at;      // in the export folder
        bool fifo;           // a FIFO there, else a link to a file or folder outside
        const char* failure; // the listed failure; "" when custom.js is refused
    } cases[] = {
        {"custom.js", false, nullptr},
        {"tree.html", false, nullptr},
        {"treePics/plus.gif", false, nullptr},
        {"custom.js", true, ""},
        {"tree.html", true, "tree.html: could not copy "},
        {"treePics/plus.gif", true, "plus.gif: could not copy "},
    };
    FakeProgramFolder program;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.at) + (c.fifo ? " as a FIFO" : " as a link"));
        QTemporaryDir target, outside;
        TreeDocument doc;
        FakeUserInterface ui;
        AddItem(doc, doc.Root(), S("A"));
        const QString at = target.filePath(S(c.at));
        QDir().mkpath(target.filePath(S("treePics")));
        WriteFile(outside.filePath(S("victim")), "victim");
        if (c.fifo)
            ASSERT_EQ(::mkfifo(QFile::encodeName(at).constData(), 0644), 0);
        else
            ASSERT_TRUE(QFile::link(outside.filePath(S("victim")), at));

        const ExportResult r = ExportTree(doc, target.path(), false, ui);
        const QString failures = r.Failures.join(QLatin1Char('|'));
        EXPECT_EQ(r.Written, !c.failure || *c.failure);
        EXPECT_FALSE(QFileInfo(at).isSymLink());
        EXPECT_TRUE(c.failure ? failures.contains(S(c.failure)) : r.Complete()) << failures.toStdString();
        if (c.failure && !*c.failure) {
            EXPECT_EQ(ui.MessageTexts(), QStringList{ExportErrorMessage(target.path(), NotRegularFileReason())});
            EXPECT_EQ(Entries(target.path()), (QStringList{S("custom.js"), S("treePics")}));
        }
        EXPECT_EQ(Entries(outside.path()), QStringList{S("victim")});
        EXPECT_EQ(ReadFile(outside.filePath(S("victim"))), "victim");
    }
}

TEST(ExportSafety, LoadedFileCannotPublishFilesOutsideItsTreePics)
{
    FakeProgramFolder program;
    QTemporaryDir base;
    const auto at = [&](const char* name) { return base.filePath(S(name)); };
    WriteFile(at("secret.gif"), Gif("SECRET"));
    WriteFile(at("site/secret.gif"), Gif("SECRET"));
    WriteFile(at("site/treePics/ok.gif"), Gif("ok"));
    WriteFile(at("site/treePics/pic.gif"), Gif("pic"));
    QFile::link(at("secret.gif"), at("site/treePics/linked.gif"));
    QFile::link(at("site/treePics/pic.gif"), at("site/treePics/inward.gif"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("site/treePics/fifo.gif")).constData(), 0644), 0); // never read
    QByteArray script = ReadFile(Corpus("example.js"));
    for (const char* name : {"../secret.gif", "..\\\\secret.gif", "..", "treePics/../../secret.gif", "linked.gif",
                             "inward.gif", "ok.gif", "/etc/passwd", ".", "fifo.gif"})
        script += QByteArray("menuBase.menuItems[1]= new menuItemObject(\"\",\"\",\"treePics/") + name
                  + "\",\"\",\"X\"); //[+]LEAF[+]X[+]0\r\n";
    script.replace("//# TreeLeaf = ", "//# TreeLeaf = ..\\..\\secret.gif");
    WriteFile(at("site/custom.js"), script);

    TreeDocument doc;
    FakeUserInterface ui;
    ASSERT_TRUE(LoadTreeScript(doc, at("site/custom.js"), ui).Replaced());
    QDir().mkdir(at("out"));
    const ExportResult r = ExportTree(doc, at("out"), false, ui);
    EXPECT_TRUE(r.Written);
    EXPECT_EQ(ReadFile(at("out/treePics/ok.gif")), Gif("ok"));
    EXPECT_EQ(ReadFile(at("out/treePics/inward.gif")), Gif("pic"));
    const QString failures = r.Failures.join(QLatin1Char('\n'));
    EXPECT_TRUE(failures.contains(S("linked.gif: a link to a file outside its folder: "))) << failures.toStdString();
    EXPECT_TRUE(failures.contains(S(": not a file name: "))) << failures.toStdString();
    EXPECT_TRUE(failures.contains(S("fifo.gif: could not copy "))) << failures.toStdString();
    for (const QString& folder : {at("out"), at("out/treePics")}) {
        for (const QString& name : Entries(folder)) {
            EXPECT_NE(ReadFile(JoinPath(folder, name)), Gif("SECRET")) << name.toStdString();
            EXPECT_FALSE(QFileInfo(JoinPath(folder, name)).isSymLink()) << name.toStdString();
        }
    }
}

// Links and folders open to all are made private through the preview folder's tests.
TEST(PrivateFolder, RefusesAFileAndAFolderOfAnotherUser)
{
    QTemporaryDir base;
    const QString file = base.filePath(S("file")), others = base.filePath(S("others"));
    WriteFile(file, "x");
    QDir().mkdir(others);
    const bool asRoot = ::getuid() == 0;
    ASSERT_TRUE(!asRoot || ::chown(QFile::encodeName(others).constData(), 65534, 65534) == 0);
    EXPECT_FALSE(MakePrivateFolder(file));
    EXPECT_EQ(MakePrivateFolder(others), !asRoot);
    EXPECT_EQ(ReadFile(file), "x");
    EXPECT_TRUE(asRoot || Mode(others) == (S_IFDIR | 0700u));
}

TEST(FolderRemoval, RemovesOnlyTheFoldersOwnFilesAndNeverFollowsLinks)
{
    QTemporaryDir base;
    const auto at = [&](const char* name) { return base.filePath(S(name)); };
    for (const char* file : {"TmpTree/custom.js", "TmpTree/a/b/deep.txt", "TmpTree/locked.gif", "TmpTree/other/.keep",
                             "outside/keep.txt", "work/file.txt", "work/sub/file.txt"})
        WriteFile(at(file), "x");
    QFile::setPermissions(at("TmpTree/locked.gif"), QFile::ReadOwner);
    ASSERT_TRUE(QFile::link(at("outside"), at("TmpTree/folderLink")));
    ASSERT_TRUE(QFile::link(at("outside/keep.txt"), at("TmpTree/a/fileLink")));
    RemoveFolder(at("TmpTree"));
    // Read-only and hidden files stay, and so do their folders.
    EXPECT_EQ(Entries(at("TmpTree")), (QStringList{S("locked.gif"), S("other")}));
    EXPECT_EQ(Entries(at("TmpTree/other")), QStringList{S(".keep")});

    // Neither a link given as the folder nor a path that names no folder removes anything.
    ASSERT_TRUE(QFile::link(at("outside"), at("link")));
    const QString saved = QDir::currentPath();
    QDir::setCurrent(at("work"));
    for (const QString& path :
         {at("link"), at("link/"), at("link//"), at("work/missing"), QString(), S(" "), at("work/file.txt")}) {
        RemoveFolder(path);
        ClearFolder(path);
    }
    QDir::setCurrent(saved);
    EXPECT_TRUE(QFileInfo(at("link")).isSymLink());
    EXPECT_EQ(Entries(at("outside")), QStringList{S("keep.txt")});
    EXPECT_EQ(Entries(at("work")), (QStringList{S("file.txt"), S("sub")}));
    ClearFolder(at("work"));
    EXPECT_EQ(Entries(at("work")), QStringList());
    RemoveFolder(at("work"));
    EXPECT_FALSE(QFileInfo::exists(at("work")));
}
