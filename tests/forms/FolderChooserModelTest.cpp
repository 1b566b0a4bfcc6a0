#include "forms/FolderChooserModel.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vi {
namespace {

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

struct FolderChooserModelTest : ::testing::Test {
    QTemporaryDir tmp;
    QString sys = Native(tmp.path());
    QString usb = Native(tmp.filePath(QStringLiteral("usb")));
    QString work = Native(tmp.filePath(QStringLiteral("sys/work")));
    // The shorter root comes last, so the drive is found by the longest root, not by order;
    // the CD has no medium.
    std::vector<Volume> volumes{
        {usb, QStringLiteral("USB")}, {Native(tmp.filePath(QStringLiteral("cd"))), {}}, {sys, {}}};
    FolderChooserModel model{[this] { return volumes; }};

    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(work) && QDir().mkpath(usb));
        model.Show(work);
    }
};

TEST_F(FolderChooserModelTest, OkIsOfferedOnlyForAnExistingFolderAndTheCloseBoxStartsAfresh)
{
    EXPECT_EQ(std::tuple(model.DriveIndex(), model.Text1(), model.OkEnabled()), std::tuple(2, work, true));
    EXPECT_EQ(FolderChooserModel::DriveText(volumes[0]), usb + QStringLiteral(" [USB]"));
    model.DriveChanged(1); // no medium: the folder stays, and so does the drive shown
    EXPECT_EQ(std::pair(model.Text1(), model.DriveIndex()), std::pair(work, 2));
    model.Text1Changed(work + QStringLiteral("/gone"));
    model.OkClicked();
    EXPECT_EQ(std::pair(model.OkEnabled(), model.Tag()), std::pair(false, DialogTag::None));
    model.DriveChanged(0);
    EXPECT_EQ(std::tuple(model.Text1(), model.ListRoot(), model.OkEnabled()), std::tuple(usb, usb, true));

    // OK and Cancel keep the folder for the next show of the same document.
    model.OkClicked();
    EXPECT_EQ(std::pair(model.Tag(), model.ChosenFolder()), std::pair(DialogTag::Ok, usb));
    model.Show(work);
    model.CancelClicked();
    EXPECT_EQ(model.Tag(), DialogTag::Cancel);
    model.Show(work);
    EXPECT_EQ(std::tuple(model.NeedsLoad(), model.Tag(), model.Text1()), std::tuple(false, DialogTag::None, usb));

    // A folder removed meanwhile is not offered again.
    ASSERT_TRUE(QDir(usb).removeRecursively());
    model.Show(work);
    EXPECT_FALSE(model.OkEnabled());

    model.CloseBoxClicked();
    EXPECT_EQ(std::pair(model.Tag(), model.NeedsLoad()), std::pair(DialogTag::Cancel, true));
    model.Show(work);
    EXPECT_EQ(std::pair(model.Text1(), model.OkEnabled()), std::pair(work, true));
}

// A tree with no folder of its own must not be exported wherever the chooser
// happens to open: OK waits until the user names a folder.
TEST_F(FolderChooserModelTest, OpensOnTheDocumentsFolderOrWithNoFolderChosen)
{
    for (const QString& none : {QString(), work + QStringLiteral("/gone"), QStringLiteral("relative")}) {
        model.Show(none);
        EXPECT_EQ(std::tuple(model.Text1(), model.DirPath(), model.OkEnabled(), model.ChosenFolder()),
                  std::tuple(QString(), QString(), false, QString()))
            << none.toStdString();
        model.OkClicked();
        EXPECT_EQ(model.Tag(), DialogTag::None);
    }
    model.Show(usb); // another document's folder: opens there, whatever was chosen before
    EXPECT_EQ(std::tuple(model.Text1(), model.DriveIndex(), model.OkEnabled()), std::tuple(usb, 0, true));
}

TEST_F(FolderChooserModelTest, ThePathBoxTakesAbsolutePathsOfExistingFoldersAndTheListFollows)
{
    const QString home = Native(QDir::homePath());
    struct Row {
        QString Typed;
        QString Chosen; // empty: OK stays disabled
    };
    for (const Row& row : {Row{usb, usb},
                           {usb + QDir::separator(), usb},
                           {work + QStringLiteral("/../work"), work},
                           {QStringLiteral("~"), home},
                           {QStringLiteral("~/"), home},
                           {QStringLiteral("sys/work"), {}}, // relative: it would depend on the current folder
                           {usb + QStringLiteral("x"), {}},
                           {{}, {}}}) {
        model.Text1Changed(row.Typed);
        EXPECT_EQ(std::tuple(model.Text1(), model.OkEnabled(), model.ChosenFolder()),
                  std::tuple(row.Typed, !row.Chosen.isEmpty(), row.Chosen))
            << row.Typed.toStdString();
    }
    model.Text1Changed(usb);
    EXPECT_EQ(std::pair(model.DirPath(), model.DriveIndex()), std::pair(usb, 0)) << "the lists follow the path";
    model.Text1Changed(usb + QStringLiteral("/partly typed"));
    EXPECT_EQ(model.DirPath(), usb) << "the list stays while the path names no folder";
}

// A volume unmounted since the list was read leaves its mount point behind,
// empty: switching to it must not show that folder as the drive.
TEST_F(FolderChooserModelTest, TheDriveListFollowsTheVolumesMountedNow)
{
    volumes.erase(volumes.begin()); // the stick is pulled; its folder stays
    model.DriveChanged(0);
    EXPECT_EQ(std::tuple(model.Text1(), model.ListRoot(), model.Drives().size()), std::tuple(work, sys, 2u));
    volumes.push_back({usb, QStringLiteral("USB")}); // and plugged in again
    model.Show(work);
    ASSERT_EQ(model.Drives().size(), 3u);
    model.DriveChanged(2);
    EXPECT_EQ(std::pair(model.Text1(), model.ListRoot()), std::pair(usb, usb));
}

TEST_F(FolderChooserModelTest, NewFolderIsMadeInTheChosenFolderAndChosen)
{
    struct Row {
        QString Name;
        QString Message;
    };
    ASSERT_TRUE(QDir(work).mkdir(QStringLiteral("site")));
    for (const Row& row : {Row{QStringLiteral("site"), kNewFolderExistsMessage},
                           {QStringLiteral("a/b"), kNewFolderNameMessage},
                           {QStringLiteral("a\\b"), kNewFolderNameMessage},
                           {QStringLiteral(".."), kNewFolderNameMessage},
                           {QStringLiteral(" "), kNewFolderNameMessage},
                           {QStringLiteral("  menu "), {}}}) {
        model.Text1Changed(work);
        EXPECT_EQ(model.NewFolder(row.Name), row.Message) << row.Name.toStdString();
    }
    const QString made = Native(work + QStringLiteral("/menu"));
    EXPECT_TRUE(QDir(made).exists());
    EXPECT_EQ(std::tuple(model.Text1(), model.DirPath(), model.OkEnabled()), std::tuple(made, made, true));
    model.Text1Changed(QString());
    EXPECT_EQ(model.NewFolder(QStringLiteral("x")), kNewFolderNameMessage) << "no folder to make it in";
}

} // namespace
} // namespace vi
