#include "forms/TreePropModel.h"

#include "tests/support/FakeUserInterface.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Cases name only the settings they need.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vi {
namespace {

// A dialog over a line-picture folder with three colours, loaded as the tree command does.
struct Dialog {
    explicit Dialog(TreeSettings settings = {}) : Model(LineFolder()), Settings(settings)
    {
        Model.SetUserInterface(&Ui);
        Model.Load(Settings);
        Model.Form_Activate();
    }
    bool Ok()
    {
        Model.OkClicked();
        if (Model.Tag() != DialogTag::Ok)
            return false;
        Model.Store(Settings);
        return true;
    }
    // Colours are the sub-folders, whatever their letter case; files are no colours.
    static QString LineFolder()
    {
        static QTemporaryDir dir;
        for (const char* name : {"red", "blacK", "Navy"})
            QDir(dir.path()).mkpath(QString::fromLatin1(name));
        QFile(dir.filePath(QStringLiteral("2x2.gif"))).open(QIODevice::WriteOnly);
        return dir.path();
    }
    test::FakeUserInterface Ui;
    TreePropModel Model;
    TreeSettings Settings;
};

TEST(TreePropModel, PositionsAreNumbersRoundedHalfToEvenWithinSixteenBits)
{
    const char* accepted[][2] = {{"1E+2", "100"}, {" 12 ", "12"}, {"+3.", "3"},         {".5", "0"},
                                 {"13.5", "14"},  {"-2.5", "-2"}, {"32767.4", "32767"}, {"-32768", "-32768"}};
    for (const auto& [text, value] : accepted) {
        const std::optional<std::int16_t> number = ToInt16(QString::fromLatin1(text));
        EXPECT_TRUE(IsNumericText(QString::fromLatin1(text))) << text;
        EXPECT_EQ(number ? std::to_string(*number) : "", value) << text;
    }
    for (const char* text : {"abc", "   ", "1e", "--1", "1 2", "0x10", "inf", "nan", "1,5", "32767.5", "1e400"})
        EXPECT_FALSE(IsNumericText(QString::fromLatin1(text)) && ToInt16(QString::fromLatin1(text))) << text;
}

TEST(TreePropModel, OkStoresTheUpperPositionAsXTickedBoxesTrimmedAndUntickedOnesEmpty)
{
    Dialog d({.TreeX = 7, .TreeY = 9, .TreeFontSize = QStringLiteral("+1"), .TreeFontColor = QStringLiteral("teal")});
    // The colour is found whatever its letter case.
    EXPECT_EQ(d.Model.PositionX().Text + d.Model.FontColour().Text(), QStringLiteral("7Teal"));
    d.Model.SetPositionY(QStringLiteral("100")); // beside "Top Left X Pixel Position:"
    d.Model.SetPositionX(QStringLiteral(" 5e1 "));
    d.Model.TickValue(TreeValue::NonExpandedBullet, true);
    d.Model.SetValue(TreeValue::NonExpandedBullet, QStringLiteral(" x "));
    d.Model.TickValue(TreeValue::NonExpandedBullet, false);
    d.Model.TickValue(TreeValue::LinkTarget, true);
    d.Model.SetValue(TreeValue::LinkTarget, QStringLiteral("  main frame "));
    d.Model.TickGlobalFont(false);
    ASSERT_TRUE(d.Ok());
    const TreeSettings& s = d.Settings;
    EXPECT_EQ(std::pair(int(s.TreeX), int(s.TreeY)), std::pair(50, 100));
    EXPECT_EQ(s.TreeBNonExpanded + s.TreeTarget + s.TreeFontSize + s.TreeFontColor, QStringLiteral("main frame"));

    // Ticked anew, the global font starts from the lists' defaults.
    Dialog unset({.TreeFontSize = QString(), .TreeFontColor = QString()});
    unset.Model.TickGlobalFont(true);
    ASSERT_TRUE(unset.Ok());
    EXPECT_EQ(unset.Settings.TreeFontSize + unset.Settings.TreeFontColor, QStringLiteral("2Gray"));
}

TEST(TreePropModel, OkShowsOnlyTheFirstFailingCheck)
{
    const struct {
        const char* X;
        int Bullet; // the ticked box: 0 to 4 left blank, 5 and 6 holding a line break, -1 none
        const char* Start;
    } rows[] = {
        {"abc", 0, "You must enter a number value for the Top left X, and Top left Y position."},
        {"40000", -1, "You must enter a number value"}, // would otherwise be dropped silently
        {"5", 0, "You must specify the SRC for the 'Branch Non-Expanded Bullet'.  Click the folder"},
        {"5", 1, "You must specify the SRC for the 'Branch Expanded Bullet'."},
        {"5", 2, "You must specify the SRC for the 'Leaf Bullet'."},
        {"5", 3, "You must specify the TARGET for the global Link.  Or you can unclick"},
        {"5", 4, "You must specify the BGCOLOR for the 'Background Color'.  Or you can unclick"},
        {"5", 5, "The global values can not contain a line break"},
        {"5", 6, "The global values can not contain a line break"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Start);
        Dialog d({.TreeX = 3, .TreeY = 4});
        const TreeSettings before = d.Settings;
        d.Model.SetPositionY(QString::fromLatin1(row.X));
        if (row.Bullet >= 0) {
            const auto box = TreeValue(row.Bullet % 5);
            d.Model.TickValue(box, true);
            const QString breaks[] = {QStringLiteral("a\r\nb"), QStringLiteral("a\u2028b")};
            d.Model.SetValue(box, row.Bullet >= 5 ? breaks[row.Bullet - 5] : QStringLiteral("   "));
        }
        EXPECT_TRUE(!d.Ok() && d.Model.Visible());
        EXPECT_EQ(d.Settings, before);
        ASSERT_EQ(d.Ui.Messages.size(), 1u);
        EXPECT_TRUE(d.Ui.Messages[0].Text.startsWith(QString::fromLatin1(row.Start)));
    }
}

TEST(TreePropModel, ALoadedTreeIsStoredBackUnchangedAndLineOptionsKeepTheColoursTheyDoNotShow)
{
    const TreeSettings settings{.TreeX = -12,
                                .TreeY = 300,
                                .TreeSize = 4,
                                .TreeLines = 1,
                                .TreeLineColor = QStringLiteral("Red"),
                                .TreePMColor = QStringLiteral("Navy"),
                                .TreeBNonExpanded = QStringLiteral("/p/c.gif"),
                                .TreeBExpanded = QStringLiteral("o"),
                                .TreeLeaf = QStringLiteral("l"),
                                .TreeTarget = QStringLiteral("_top"),
                                .TreeBackground = QStringLiteral("#FFEEDD"),
                                .TreeFontSize = QStringLiteral("-1"),
                                .TreeFontColor = QStringLiteral("Maroon")};
    Dialog loaded(settings);
    ASSERT_TRUE(loaded.Ok());
    EXPECT_EQ(loaded.Settings, settings);

    const TreeSettings navy{.TreeLineColor = QStringLiteral("Navy"), .TreePMColor = QStringLiteral("navy")};
    Dialog none(navy);
    EXPECT_EQ(none.Model.LineColour().Entries,
              (QStringList{QStringLiteral("BlacK"), QStringLiteral("Navy"), QStringLiteral("Red")}));
    none.Model.SetLines(LineStyle::NoTreelines);
    EXPECT_FALSE(none.Model.LineColour().Enabled || none.Model.SignColour().Enabled);
    ASSERT_TRUE(none.Ok());
    EXPECT_EQ(std::pair(int(none.Settings.TreeLines), none.Settings.TreePMColor), std::pair(0, QStringLiteral("navy")));

    Dialog signs(navy);
    signs.Model.SetLines(LineStyle::SignsOnly);
    signs.Model.SetLineColour(2);
    signs.Model.SetSignColour(2);
    ASSERT_TRUE(signs.Ok());
    EXPECT_EQ(signs.Settings.TreeLineColor + signs.Settings.TreePMColor, QStringLiteral("NavyRed"));
}

} // namespace
} // namespace vi
