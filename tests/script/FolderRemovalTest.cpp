#include "script/FolderRemoval.h"
#include "tests/script/ExportTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vi;
using namespace vi::test;

namespace {

class FolderRemovalTest : public ::testing::Test {
protected:
    QTemporaryDir base;
    QString tmp = base.filePath(S("TmpTree"));

    QString At(const char* relative) const { return base.filePath(S(relative)); }
    bool Exists(const char* relative) const { return QFileInfo(At(relative)).exists() || QFileInfo(At(relative)).isSymLink(); }
};

} // namespace

TEST_F(FolderRemovalTest, RemovesAnExportedFolderAndNestedFoldersEntirely)
{
    for (const char* file : {"TmpTree/custom.js", "TmpTree/tree.html", "TmpTree/treePics/plus.gif",
                             "TmpTree/treePics/2x2.gif", "TmpTree/a/b/c/d/deep.txt", "TmpTree/.hiddenFolder/x.txt"})
        ASSERT_TRUE(WriteFile(At(file), "x"));
    QDir().mkpath(At("TmpTree/a/empty"));
    RemoveFolder(tmp);
    EXPECT_FALSE(Exists("TmpTree"));
}

TEST_F(FolderRemovalTest, ReadOnlyAndHiddenFilesStayWithTheFoldersAboveThem)
{
    for (const char* file : {"TmpTree/custom.js", "TmpTree/treePics/locked.gif", "TmpTree/treePics/plus.gif",
                             "TmpTree/other/.keep", "TmpTree/other/x.txt", "TmpTree/gone/y.txt"})
        ASSERT_TRUE(WriteFile(At(file), "x"));
    QFile::setPermissions(At("TmpTree/treePics/locked.gif"), QFile::ReadOwner | QFile::ReadGroup);
    RemoveFolder(tmp);
    EXPECT_TRUE(Exists("TmpTree/treePics/locked.gif"));
    EXPECT_TRUE(Exists("TmpTree/other/.keep"));
    for (const char* gone : {"TmpTree/custom.js", "TmpTree/treePics/plus.gif", "TmpTree/other/x.txt", "TmpTree/gone"})
        EXPECT_FALSE(Exists(gone)) << gone;

    // Once the file may go, a second removal finishes the job.
    QFile::setPermissions(At("TmpTree/treePics/locked.gif"), QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(At("TmpTree/other/.keep"));
    RemoveFolder(tmp);
    EXPECT_FALSE(Exists("TmpTree"));
}

TEST_F(FolderRemovalTest, LinksAreRemovedAsLinksAndTheirTargetsStay)
{
    ASSERT_TRUE(WriteFile(At("outside/keep.txt"), "keep"));
    ASSERT_TRUE(WriteFile(At("TmpTree/sub/x.txt"), "x"));
    ASSERT_TRUE(QFile::link(At("outside"), At("TmpTree/folderLink")));
    ASSERT_TRUE(QFile::link(At("outside/keep.txt"), At("TmpTree/sub/fileLink")));
    ASSERT_TRUE(QFile::link(At("nowhere"), At("TmpTree/danglingLink")));
    RemoveFolder(tmp);
    EXPECT_FALSE(Exists("TmpTree"));
    EXPECT_EQ(ReadFile(At("outside/keep.txt")), "keep");

    // A link given as the folder itself is not followed either.
    ASSERT_TRUE(QFile::link(At("outside"), At("link")));
    RemoveFolder(At("link"));
    ClearFolder(At("link"));
    EXPECT_TRUE(Exists("link"));
    EXPECT_EQ(ReadFile(At("outside/keep.txt")), "keep");
}

TEST_F(FolderRemovalTest, PathThatIsNoFolderRemovesNothing)
{
    ASSERT_TRUE(WriteFile(At("work/file.txt"), "x"));
    ASSERT_TRUE(WriteFile(At("work/sub/file.txt"), "x"));
    const QString saved = QDir::currentPath();
    QDir::setCurrent(At("work"));
    RemoveFolder(At("work/missing"));
    RemoveFolder(QString());
    RemoveFolder(S("  "));
    ClearFolder(QString());
    RemoveFolder(At("work/file.txt"));
    QDir::setCurrent(saved);
    EXPECT_TRUE(Exists("work/file.txt"));
    EXPECT_TRUE(Exists("work/sub/file.txt"));

    ClearFolder(At("work"));
    EXPECT_TRUE(Exists("work"));
    EXPECT_FALSE(Exists("work/sub"));
    EXPECT_FALSE(Exists("work/file.txt"));
}
