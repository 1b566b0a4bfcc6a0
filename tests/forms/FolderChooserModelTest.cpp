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

TEST_F(FolderChooserModelTest, OkIsOfferedOnlyForAnExistingFolderAndTheCloseBoxStartsAfresh)
{
    EXPECT_EQ(std::tuple(model.DriveIndex(), model.Text1(), model.OkEnabled()), std::tuple(2, work, true));
    EXPECT_EQ(FolderChooserModel::DriveText(volumes[0]), usb + QStringLiteral(" [USB]"));
    model.DriveChanged(1); // no medium: the folder stays
    EXPECT_EQ(model.Text1(), work);
    model.Text1Changed(sys + QStringLiteral("/gone"));
    model.OkClicked();
    EXPECT_EQ(std::pair(model.OkEnabled(), model.Tag()), std::pair(false, DialogTag::None));
    model.DriveChanged(0);
    EXPECT_EQ(std::pair(model.Text1(), model.OkEnabled()), std::pair(usb, true));

    // OK and Cancel keep the folder.
    model.OkClicked();
    EXPECT_EQ(model.Tag(), DialogTag::Ok);
    model.BeginShow();
    model.CancelClicked();
    EXPECT_EQ(model.Tag(), DialogTag::Cancel);
    model.BeginShow();
    EXPECT_EQ(std::tuple(model.NeedsLoad(), model.Tag(), model.Text1()), std::tuple(false, DialogTag::None, usb));

    // A folder removed meanwhile is not offered again.
    ASSERT_TRUE(QDir(usb).removeRecursively());
    model.BeginShow();
    EXPECT_FALSE(model.OkEnabled());

    model.CloseBoxClicked();
    EXPECT_EQ(std::pair(model.Tag(), model.NeedsLoad()), std::pair(DialogTag::Cancel, true));
    // A current folder on no listed drive opens the first drive's root; roots match whole names only.
    model.Load(volumes, tmp.path() + QStringLiteral("x/y"));
    EXPECT_EQ(std::pair(model.DriveIndex(), model.DirPath()), std::pair(0, usb));
}

} // namespace
} // namespace vi
