#include "forms/FolderChooserModel.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vi {
namespace {

class FolderChooserModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        const QDir base(tmp.path());
        ASSERT_TRUE(base.mkpath(QStringLiteral("sys/work/site")));
        ASSERT_TRUE(base.mkpath(QStringLiteral("media/usb/docs")));
        sys = tmp.filePath(QStringLiteral("sys"));
        usb = tmp.filePath(QStringLiteral("media/usb"));
        work = tmp.filePath(QStringLiteral("sys/work"));
        // The shorter root comes last, so the drive is found by the longest root, not by order.
        volumes = {{usb, QStringLiteral("USB")}, {tmp.filePath(QStringLiteral("cdrom")), QStringLiteral("CD")}, {sys, {}}};
    }

    QTemporaryDir tmp;
    QString sys, usb, work;
    std::vector<Volume> volumes;
    FolderChooserModel model;
};

TEST_F(FolderChooserModelTest, LoadOpensTheCurrentFolderOnItsDrive)
{
    EXPECT_TRUE(model.NeedsLoad());
    model.Load(volumes, work);
    EXPECT_FALSE(model.NeedsLoad());
    EXPECT_EQ(model.DriveIndex(), 2);
    EXPECT_EQ(model.DirPath(), work);
    EXPECT_EQ(model.Text1(), work);
    EXPECT_TRUE(model.OkEnabled());
    EXPECT_EQ(FolderChooserModel::DriveText(volumes[0]), usb + QStringLiteral(" [USB]"));
    EXPECT_EQ(FolderChooserModel::DriveText(volumes[2]), sys);

    // A current folder on no listed drive opens the first drive's root; roots match whole names only.
    model.Load(volumes, sys + QStringLiteral("tem/x"));
    EXPECT_EQ(model.DriveIndex(), 0);
    EXPECT_EQ(model.DirPath(), usb);
}

TEST_F(FolderChooserModelTest, OkIsEnabledOnlyForAnExistingFolder)
{
    model.Load(volumes, work);
    const std::pair<QString, bool> cases[] = {
        {work + QStringLiteral("/site"), true},
        {QString(), false},
        {work + QStringLiteral("/missing"), false},
    };
    for (const auto& [text, enabled] : cases) {
        SCOPED_TRACE(text.toStdString());
        model.Text1Changed(text);
        EXPECT_EQ(model.OkEnabled(), enabled);
        model.OkClicked();
        EXPECT_EQ(model.Tag(), enabled ? FolderChooserModel::kOk : QString());
        model.BeginShow();
    }
}

TEST_F(FolderChooserModelTest, ChangingTheDriveMovesTheFolderUnlessTheDriveCannotBeRead)
{
    model.Load(volumes, work);
    model.DriveChanged(1); // no medium: the folder stays
    EXPECT_EQ(model.DirPath(), work);
    EXPECT_EQ(model.Text1(), work);
    EXPECT_TRUE(model.OkEnabled());

    model.DriveChanged(0);
    EXPECT_EQ(model.DriveIndex(), 0);
    EXPECT_EQ(model.DirPath(), usb);
    model.DirChanged(usb + QStringLiteral("/docs"));
    EXPECT_EQ(model.Text1(), usb + QStringLiteral("/docs"));
}

TEST_F(FolderChooserModelTest, OkAndCancelKeepTheStateAndTheCloseBoxStartsAfresh)
{
    model.Load(volumes, work);
    model.DriveChanged(0);
    model.DirChanged(usb + QStringLiteral("/docs"));
    model.OkClicked();
    EXPECT_EQ(model.Tag(), FolderChooserModel::kOk);

    for (int show = 0; show < 2; ++show) {
        ASSERT_FALSE(model.NeedsLoad());
        model.BeginShow();
        EXPECT_TRUE(model.Tag().isEmpty());
        EXPECT_EQ(model.DriveIndex(), 0);
        EXPECT_EQ(model.Text1(), usb + QStringLiteral("/docs"));
        model.CancelClicked();
        EXPECT_EQ(model.Tag(), FolderChooserModel::kCancel);
    }

    model.BeginShow();
    model.CloseBoxClicked();
    EXPECT_EQ(model.Tag(), FolderChooserModel::kCancel);
    ASSERT_TRUE(model.NeedsLoad());
    model.Load(volumes, work);
    EXPECT_EQ(model.DriveIndex(), 2);
    EXPECT_EQ(model.Text1(), work);
}

TEST_F(FolderChooserModelTest, AFolderRemovedBetweenShowsDisablesOk)
{
    model.Load(volumes, work);
    model.DirChanged(work + QStringLiteral("/site"));
    model.CancelClicked();
    ASSERT_TRUE(QDir(work + QStringLiteral("/site")).removeRecursively());
    model.BeginShow();
    EXPECT_FALSE(model.OkEnabled());
    model.OkClicked();
    EXPECT_TRUE(model.Tag().isEmpty());
}

} // namespace
} // namespace vi
