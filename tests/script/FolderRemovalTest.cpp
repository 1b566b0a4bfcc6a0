#include "script/FolderRemoval.h"

#include "tests/script/ExportTestSupport.h"

#include <gtest/gtest.h>

using namespace vi;
using namespace vi::test;

namespace {

class FolderRemovalTest : public ::testing::Test {
protected:
    QTemporaryDir base;
    QString At(const char* relative) const { return base.filePath(S(relative)); }
    bool Exists(const char* relative) const
    {
        return QFileInfo(At(relative)).exists() || QFileInfo(At(relative)).isSymLink();
    }
    void Make(std::initializer_list<const char*> files)
    {
        for (const char* file : files)
            ASSERT_TRUE(WriteFile(At(file), "x"));
    }
};

} // namespace

TEST_F(FolderRemovalTest, RemovesNestedFoldersButNotReadOnlyOrHiddenFilesAndTheirFolders)
{
    Make({"TmpTree/custom.js", "TmpTree/tree.html", "TmpTree/treePics/plus.gif", "TmpTree/a/b/c/d/deep.txt",
          "TmpTree/.hidden/x.txt"});
    QDir().mkpath(At("TmpTree/a/empty"));
    RemoveFolder(At("TmpTree"));
    EXPECT_FALSE(Exists("TmpTree"));

    Make({"TmpTree/custom.js", "TmpTree/treePics/locked.gif", "TmpTree/treePics/plus.gif", "TmpTree/other/.keep",
          "TmpTree/other/x.txt"});
    QFile::setPermissions(At("TmpTree/treePics/locked.gif"), QFile::ReadOwner);
    RemoveFolder(At("TmpTree"));
    EXPECT_TRUE(Exists("TmpTree/treePics/locked.gif"));
    EXPECT_TRUE(Exists("TmpTree/other/.keep"));
    for (const char* gone : {"TmpTree/custom.js", "TmpTree/treePics/plus.gif", "TmpTree/other/x.txt"})
        EXPECT_FALSE(Exists(gone)) << gone;
}

TEST_F(FolderRemovalTest, LinksAreRemovedAsLinksAndTheirTargetsStay)
{
    Make({"outside/keep.txt", "TmpTree/sub/x.txt"});
    ASSERT_TRUE(QFile::link(At("outside"), At("TmpTree/folderLink")));
    ASSERT_TRUE(QFile::link(At("outside/keep.txt"), At("TmpTree/sub/fileLink")));
    ASSERT_TRUE(QFile::link(At("nowhere"), At("TmpTree/danglingLink")));
    RemoveFolder(At("TmpTree"));
    EXPECT_FALSE(Exists("TmpTree"));
    EXPECT_TRUE(Exists("outside/keep.txt"));

    ASSERT_TRUE(QFile::link(At("outside"), At("link"))); // a link given as the folder itself
    for (const QString& spelling : {At("link"), At("link/"), At("link//"), At("link") + QDir::separator()}) {
        SCOPED_TRACE(spelling.toStdString());
        RemoveFolder(spelling);
        ClearFolder(spelling);
        EXPECT_TRUE(Exists("link"));
        EXPECT_TRUE(Exists("outside/keep.txt"));
    }
}

TEST_F(FolderRemovalTest, PathThatIsNoFolderRemovesNothing)
{
    Make({"work/file.txt", "work/sub/file.txt"});
    const QString saved = QDir::currentPath();
    QDir::setCurrent(At("work"));
    for (const QString& path : {At("work/missing"), QString(), S(" "), At("work/file.txt")}) {
        SCOPED_TRACE("\"" + path.toStdString() + "\"");
        RemoveFolder(path);
        ClearFolder(path);
    }
    QDir::setCurrent(saved);
    EXPECT_TRUE(Exists("work/file.txt"));
    EXPECT_TRUE(Exists("work/sub/file.txt"));

    ClearFolder(At("work"));
    EXPECT_TRUE(Exists("work"));
    EXPECT_EQ(QDir(At("work")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}
