// The export on full disks, over links and special files, with pictures from
// hostile files and with two exports into one folder; the whole-or-nothing
// file replacement, the private folder and the removal of folders.
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/FileSystem.h"
#include "script/FolderRemoval.h"
#include "script/ReplacingFile.h"
#include "script/ScriptText.h"
#include "script/TreeLoader.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace vi;
using namespace vi::test;

namespace {

void AddItems(TreeDocument& doc, int count)
{
    for (int i = 0; i < count; ++i)
        AddItem(doc, doc.Root(), S("An item with a name long enough to fill a disk %1").arg(i));
}

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
    // Fills the file system up to the given number of free bytes.
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
        ASSERT_FALSE(ui.Messages.empty());
        EXPECT_EQ(ui.Messages[0].Text, ExportErrorMessage(folder, S("No space left on device")));
        // The page and pictures are the old or the new ones, whole; no temporary file is left.
        EXPECT_EQ(ReadFile(folder + S("/tree.html")), "tree.html");
        EXPECT_EQ(ReadFile(folder + S("/treePics/plus.gif")), "Black/plus.gif");
        EXPECT_EQ(Entries(folder) + Entries(folder + S("/treePics")), oldEntries);
    }
}

TEST(ExportSafety, LinksAreReplacedAndSpecialFilesAreFailures)
{
    const struct {
        const char* name;
        const char* at; // in the export folder
        bool fifo;      // a FIFO there, else a link to a file or folder outside
        bool scriptWritten;
        const char* failure; // the listed failure, if any
    } cases[] = {
        {"custom.js as a link", "custom.js", false, true, nullptr},
        {"tree.html as a link", "tree.html", false, true, nullptr},
        {"treePics as a link", "treePics", false, true, nullptr},
        {"a picture as a link", "treePics/plus.gif", false, true, nullptr},
        {"custom.js as a FIFO", "custom.js", true, false, nullptr},
        {"tree.html as a FIFO", "tree.html", true, true, "tree.html: could not copy "},
        {"a picture as a FIFO", "treePics/plus.gif", true, true, "plus.gif: could not copy "},
    };
    FakeProgramFolder program;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir target, outside;
        TreeDocument doc;
        FakeUserInterface ui;
        AddItem(doc, doc.Root(), S("A"));
        const QString at = target.filePath(S(c.at));
        QDir().mkpath(target.filePath(S("treePics")));
        if (QFileInfo(at).isDir())
            QDir(at).removeRecursively();
        WriteFile(outside.filePath(S("victim")), "victim");
        if (c.fifo)
            ASSERT_EQ(::mkfifo(QFile::encodeName(at).constData(), 0644), 0);
        else
            ASSERT_TRUE(QFile::link(outside.filePath(S(c.at == QByteArray("treePics") ? "." : "victim")), at));

        const ExportResult r = ExportTree(doc, target.path(), false, ui);
        const QString failures = r.Failures.join(QLatin1Char('|'));
        EXPECT_EQ(r.Written, c.scriptWritten);
        if (!c.scriptWritten) {
            ASSERT_EQ(ui.MessageTexts(), QStringList{ExportErrorMessage(target.path(), NotRegularFileReason())});
            EXPECT_EQ(Entries(target.path()), (QStringList{S("custom.js"), S("treePics")}));
        } else if (c.failure) {
            EXPECT_TRUE(failures.contains(S(c.failure))) << failures.toStdString();
        } else {
            EXPECT_TRUE(r.Complete()) << failures.toStdString();
            EXPECT_FALSE(QFileInfo(at).isSymLink());
            EXPECT_TRUE(QFileInfo(at).isFile() || QFileInfo(at).isDir());
        }
        // Nothing outside the folder changed.
        EXPECT_EQ(Entries(outside.path()), QStringList{S("victim")});
        EXPECT_EQ(ReadFile(outside.filePath(S("victim"))), "victim");
    }
}

TEST(ExportSafety, PicturesComeOnlyFromWhereTheUserPutThem)
{
    QTemporaryDir base;
    const auto at = [&](const char* name) { return base.filePath(S(name)); };
    WriteFile(at("Site/treePics/pic.gif"), "pic");
    WriteFile(at("Site/treePics/same.gif"), "same");
    WriteFile(at("secret.gif"), "secret");
    QDir().mkpath(at("site/treePics"));
    QDir().mkpath(at("out"));
    QFile::link(at("secret.gif"), at("Site/treePics/outward.gif"));
    QFile::link(at("Site/treePics/pic.gif"), at("Site/treePics/inward.gif"));
    ::link(QFile::encodeName(at("Site/treePics/same.gif")).constData(),
           QFile::encodeName(at("site/treePics/same.gif")).constData());
    QFile::link(at("Site/treePics"), at("alias"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(at("Site/treePics/fifo.gif")).constData(), 0644), 0);

    const struct {
        const char* name;
        QString picture;
        QString into;
        bool copied;
        const char* result; // what the destination holds afterwards
        const char* reason;
    } cases[] = {
        {"folders differing in letter case", at("Site/treePics/pic.gif"), at("site/treePics"), true, "pic", ""},
        {"a hard link of the source", at("Site/treePics/same.gif"), at("site/treePics"), true, "same", ""},
        {"the same folder spelled through a link", at("alias/pic.gif"), at("Site/treePics"), true, "pic", ""},
        {"a link to a picture beside it", at("Site/treePics/inward.gif"), at("out"), true, "pic", ""},
        {"a link to a file outside its folder", at("Site/treePics/outward.gif"), at("out"), false, "<missing>",
         "a link to a file outside its folder: "},
        {"a FIFO, never read", at("Site/treePics/fifo.gif"), at("out"), false, "<missing>", "could not copy "},
        {"dot dot", at("Site/treePics/.."), at("out"), false, "<missing>", "not a file name: "},
        {"dot", at("Site/treePics/."), at("out"), false, "<missing>", "not a file name: "},
        {"trailing separator", at("Site/treePics/"), at("out"), false, "<missing>", "not a file name: "},
        {"trailing backslash", at("Site\\"), at("out"), false, "<missing>", "not a file name: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QString reason;
        EXPECT_EQ(CopyPictureTo(c.picture, c.into, &reason), c.copied);
        EXPECT_TRUE(*c.reason ? reason.startsWith(S(c.reason)) : reason.isEmpty()) << reason.toStdString();
        EXPECT_EQ(ReadFile(JoinPath(c.into, FileNameOf(c.picture))), c.result);
        EXPECT_FALSE(QFileInfo(JoinPath(c.into, FileNameOf(c.picture))).isSymLink());
    }
    EXPECT_EQ(ReadFile(at("Site/treePics/same.gif")), "same");
    EXPECT_EQ(Entries(at("out")), (QStringList{S("inward.gif")}));
}

TEST(ExportSafety, LoadedFileCannotPublishFilesOutsideItsTreePics)
{
    FakeProgramFolder program;
    QTemporaryDir base;
    const auto at = [&](const char* name) { return base.filePath(S(name)); };
    WriteFile(at("secret.gif"), "SECRET");
    WriteFile(at("site/secret.gif"), "SECRET");
    WriteFile(at("site/treePics/ok.gif"), "ok");
    QFile::link(at("secret.gif"), at("site/treePics/linked.gif"));
    QByteArray script = ReadFile(Corpus("example.js"));
    for (const char* name : {"../secret.gif", "..\\\\secret.gif", "..", "treePics/../../secret.gif", "linked.gif",
                             "ok.gif", "/etc/passwd"}) {
        script +=
            QByteArray("menuBase.menuItems[1]= new menuItemObject(\"\",\"\",\"treePics/") + name
            + "\",\"\",\"X\",\"2\",\"Black\",\"\",\"\",\"\"); //[+]LEAF[+]X[+]0[+]False[+]False[+]False[+]False\r\n";
    }
    script.replace("//# TreeLeaf = ", "//# TreeLeaf = ..\\..\\secret.gif");
    WriteFile(at("site/custom.js"), script);

    TreeDocument doc;
    FakeUserInterface ui;
    ASSERT_TRUE(LoadTreeScript(doc, at("site/custom.js"), ui).Opened);
    QDir().mkdir(at("out"));
    const ExportResult r = ExportTree(doc, at("out"), false, ui);
    EXPECT_TRUE(r.Written);
    EXPECT_EQ(ReadFile(at("out/treePics/ok.gif")), "ok");
    const QString failures = r.Failures.join(QLatin1Char('\n'));
    EXPECT_TRUE(failures.contains(S("linked.gif: a link to a file outside its folder: "))) << failures.toStdString();
    EXPECT_TRUE(failures.contains(S(": not a file name: "))) << failures.toStdString();
    for (const QString& folder : {at("out"), at("out/treePics")}) {
        for (const QString& name : Entries(folder)) {
            EXPECT_NE(ReadFile(JoinPath(folder, name)), "SECRET") << name.toStdString();
            EXPECT_FALSE(QFileInfo(JoinPath(folder, name)).isSymLink()) << name.toStdString();
        }
    }
}

TEST(ExportSafety, SecondExportIntoAFolderWaitsForTheFirst)
{
    FakeProgramFolder program;
    QTemporaryDir target;
    TreeDocument doc;
    FakeUserInterface ui;
    AddItem(doc, doc.Root(), S("A"));
    auto held = std::make_unique<FolderLock>();
    ASSERT_TRUE(held->Acquire(target.path(), 0));
    EXPECT_FALSE(FolderLock().Acquire(target.path(), 100));
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        held.reset();
    });
    EXPECT_TRUE(ExportTree(doc, target.path(), false, ui).Complete());
    release.join();
    EXPECT_TRUE(ui.Messages.empty());
}

TEST(ExportSafety, ScriptTheLoaderWouldRefuseIsNotWritten)
{
    FakeProgramFolder program;
    QTemporaryDir target;
    WriteFile(target.filePath(S("custom.js")), "old");
    TreeDocument doc;
    FakeUserInterface ui;
    AddItems(doc, 8000); // about 1.6 MB of script
    doc.SetTreeChanged(true);
    EXPECT_FALSE(ExportTree(doc, target.path(), false, ui, 1 << 20).Written);
    EXPECT_EQ(ReadFile(target.filePath(S("custom.js"))), "old");
    EXPECT_TRUE(doc.TreeChanged());
    EXPECT_EQ(ui.MessageTexts(),
              QStringList{ExportErrorMessage(target.path(), S("The tree is too large: its custom.js would be larger "
                                                              "than 1 MB, more than the editor can load back."))});
    EXPECT_EQ(Entries(target.path()), (QStringList{S("custom.js"), S("tree.html"), S("treePics")}));
}

TEST(ReplacingFile, CommitsWholeOrLeavesTheOldFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(S("file"));
    const QByteArray native = QFile::encodeName(path);
    WriteFile(path, "old");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    {
        ReplacingFile file(path);
        ASSERT_TRUE(file.Open());
        file.write("new, not committed");
    } // dropped: the old file stays
    EXPECT_EQ(ReadFile(path), "old");
    ReplacingFile file(path);
    ASSERT_TRUE(file.Open());
    file.write("new");
    EXPECT_EQ(ReadFile(path), "old");
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFile(path), "new");
    // The old file's permissions carry over, and, where the process may give it, its owner.
    struct stat st {};
    ASSERT_EQ(::stat(native.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0604u);
    if (::getuid() == 0) {
        ASSERT_EQ(::chown(native.constData(), 65534, 65534), 0);
        ReplacingFile again(path);
        ASSERT_TRUE(again.Open() && again.Commit());
        ASSERT_EQ(::stat(native.constData(), &st), 0);
        EXPECT_EQ(st.st_uid, 65534u);
        EXPECT_EQ(ReadFile(path), "");
    }
    EXPECT_EQ(Entries(dir.path()), QStringList{S("file")});
    EXPECT_FALSE(ReplacingFile(dir.path()).Open()); // a folder
}

TEST(ReplacingFile, LeftOverTemporaryFilesGoButLookAlikesStay)
{
    QTemporaryDir dir;
    QStringList kept = {S(".notes.tmp"), S("custom.js.tmp-1"), S(".x.tmp-xyz"), S(".y.tmp-1234567"), S("custom.js")};
    for (const QString& name : kept + QStringList{S(".custom.js.tmp-a5b0e7"), S(".p6.gif.tmp-0")})
        WriteFile(dir.filePath(name), "x");
    // A link with a left-over's name is not ours to remove.
    ASSERT_TRUE(QFile::link(dir.filePath(S("custom.js")), dir.filePath(S(".link.tmp-1"))));
    RemoveLeftOverTemporaryFiles(dir.path());
    kept << S(".link.tmp-1");
    kept.sort();
    EXPECT_EQ(Entries(dir.path()), kept);
}

TEST(PrivateFolder, IsARealFolderOfTheUsersOwnWithMode0700)
{
    QTemporaryDir base;
    const auto at = [&](const char* name) { return base.filePath(S(name)); };
    const auto mode = [](const QString& path) {
        struct stat st {};
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0u;
    };
    QDir().mkdir(at("target"));
    QDir().mkdir(at("wide"));
    ASSERT_EQ(::chmod(QFile::encodeName(at("wide")).constData(), 0777), 0);
    QFile::link(at("target"), at("link"));
    QFile::link(at("nowhere"), at("dangling"));
    WriteFile(at("file"), "x");
    QDir().mkdir(at("others"));
    const bool asRoot = ::getuid() == 0;
    ASSERT_TRUE(!asRoot || ::chown(QFile::encodeName(at("others")).constData(), 65534, 65534) == 0);

    for (const auto& [name, made] : {std::pair{"missing", true},
                                     {"wide", true},
                                     {"link", true},
                                     {"dangling", true},
                                     {"file", false},
                                     {"others", !asRoot}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(MakePrivateFolder(at(name)), made);
        EXPECT_TRUE(!made || mode(at(name)) == (S_IFDIR | 0700u)) << std::oct << mode(at(name));
    }
    EXPECT_EQ(mode(at("target")) & S_IFMT, static_cast<unsigned>(S_IFDIR));
    EXPECT_TRUE(QFileInfo::exists(at("file")));
}

TEST(FolderRemoval, RemovesNestedFoldersButNotReadOnlyOrHiddenFilesAndTheirFolders)
{
    QTemporaryDir base;
    const auto at = [&](const char* name) { return base.filePath(S(name)); };
    for (const char* file :
         {"TmpTree/custom.js", "TmpTree/treePics/plus.gif", "TmpTree/a/b/c/d/deep.txt", "TmpTree/.hidden/x.txt"})
        WriteFile(at(file), "x");
    QDir().mkpath(at("TmpTree/a/empty"));
    RemoveFolder(at("TmpTree"));
    EXPECT_FALSE(QFileInfo::exists(at("TmpTree")));

    for (const char* file : {"TmpTree/custom.js", "TmpTree/treePics/locked.gif", "TmpTree/treePics/plus.gif",
                             "TmpTree/other/.keep", "TmpTree/other/x.txt"})
        WriteFile(at(file), "x");
    QFile::setPermissions(at("TmpTree/treePics/locked.gif"), QFile::ReadOwner);
    RemoveFolder(at("TmpTree"));
    EXPECT_TRUE(QFileInfo::exists(at("TmpTree/treePics/locked.gif")));
    EXPECT_TRUE(QFileInfo::exists(at("TmpTree/other/.keep")));
    for (const char* gone : {"TmpTree/custom.js", "TmpTree/treePics/plus.gif", "TmpTree/other/x.txt"})
        EXPECT_FALSE(QFileInfo::exists(at(gone))) << gone;
}

TEST(FolderRemoval, LinksAreRemovedAsLinksAndTheirTargetsStay)
{
    QTemporaryDir base;
    const auto at = [&](const char* name) { return base.filePath(S(name)); };
    WriteFile(at("outside/keep.txt"), "x");
    WriteFile(at("TmpTree/sub/x.txt"), "x");
    ASSERT_TRUE(QFile::link(at("outside"), at("TmpTree/folderLink")));
    ASSERT_TRUE(QFile::link(at("outside/keep.txt"), at("TmpTree/sub/fileLink")));
    ASSERT_TRUE(QFile::link(at("nowhere"), at("TmpTree/danglingLink")));
    RemoveFolder(at("TmpTree"));
    EXPECT_EQ(Entries(base.path()), QStringList{S("outside")});
    EXPECT_TRUE(QFileInfo::exists(at("outside/keep.txt")));

    ASSERT_TRUE(QFile::link(at("outside"), at("link"))); // a link given as the folder itself
    for (const QString& spelling : {at("link"), at("link/"), at("link//")}) {
        SCOPED_TRACE(spelling.toStdString());
        RemoveFolder(spelling);
        ClearFolder(spelling);
        EXPECT_TRUE(QFileInfo(at("link")).isSymLink());
        EXPECT_TRUE(QFileInfo::exists(at("outside/keep.txt")));
    }
}

TEST(FolderRemoval, PathThatIsNoFolderRemovesNothing)
{
    QTemporaryDir base;
    const auto at = [&](const char* name) { return base.filePath(S(name)); };
    WriteFile(at("work/file.txt"), "x");
    WriteFile(at("work/sub/file.txt"), "x");
    const QString saved = QDir::currentPath();
    QDir::setCurrent(at("work"));
    for (const QString& path : {at("work/missing"), QString(), S(" "), at("work/file.txt")}) {
        RemoveFolder(path);
        ClearFolder(path);
    }
    QDir::setCurrent(saved);
    EXPECT_EQ(Entries(at("work")), (QStringList{S("file.txt"), S("sub")}));
    EXPECT_TRUE(QFileInfo::exists(at("work/sub/file.txt")));
    ClearFolder(at("work"));
    EXPECT_EQ(Entries(at("work")), QStringList());
    EXPECT_TRUE(QFileInfo::exists(at("work")));
}
