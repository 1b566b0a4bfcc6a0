#include "forms/FolderChooserModel.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vi {
namespace {

struct FolderChooserModelTest : ::testing::Test {
    QTemporaryDir tmp;
    QString sys = tmp.filePath(QStringLiteral("sys"));
    QString usb = tmp.filePath(QStringLiteral("usb"));
    QString work = sys + QStringLiteral("/work");
    // The shorter root comes last, so the drive is found by the longest root, not by order;
    // the CD has no medium.
    std::vector<Volume> volumes{
        {usb, QStringLiteral("USB")}, {tmp.filePath(QStringLiteral("cd")), {}}, {tmp.path(), {}}};
    FolderChooserModel model;

    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(work) && QDir().mkpath(usb));
        model.Load(volumes, work);
    }
};

TEST_F(FolderChooserModelTest, OkIsOfferedOnlyForAnExistingFolder)
{
    EXPECT_EQ(model.DriveIndex(), 2);
    EXPECT_EQ(model.Text1(), work);
    EXPECT_TRUE(model.OkEnabled());
    EXPECT_EQ(FolderChooserModel::DriveText(volumes[0]), usb + QStringLiteral(" [USB]"));

    model.DriveChanged(1); // no medium: the folder stays
    EXPECT_EQ(model.Text1(), work);
    for (const QString& missing : {QString(), sys + QStringLiteral("/gone")}) {
        SCOPED_TRACE(missing.isEmpty() ? "empty" : "a folder that does not exist");
        model.Text1Changed(missing);
        EXPECT_FALSE(model.OkEnabled());
        model.OkClicked();
        EXPECT_EQ(model.Tag(), DialogTag::None);
    }
    model.DriveChanged(0);
    EXPECT_EQ(model.Text1(), usb);
    EXPECT_TRUE(model.OkEnabled());
}

TEST_F(FolderChooserModelTest, OkAndCancelKeepTheFolderAndTheCloseBoxStartsAfresh)
{
    model.DriveChanged(0);
    model.OkClicked();
    EXPECT_EQ(model.Tag(), DialogTag::Ok);
    model.BeginShow();
    model.CancelClicked();
    EXPECT_EQ(model.Tag(), DialogTag::Cancel);
    ASSERT_FALSE(model.NeedsLoad());
    model.BeginShow();
    EXPECT_EQ(model.Tag(), DialogTag::None);
    EXPECT_EQ(model.Text1(), usb);

    // A folder removed meanwhile is not offered again.
    ASSERT_TRUE(QDir(usb).removeRecursively());
    model.BeginShow();
    EXPECT_FALSE(model.OkEnabled());

    model.CloseBoxClicked();
    EXPECT_EQ(model.Tag(), DialogTag::Cancel);
    ASSERT_TRUE(model.NeedsLoad());
    // A current folder on no listed drive opens the first drive's root; roots match whole names only.
    model.Load(volumes, tmp.path() + QStringLiteral("x/y"));
    EXPECT_EQ(model.DriveIndex(), 0);
    EXPECT_EQ(model.DirPath(), usb);
}

} // namespace
} // namespace vi
