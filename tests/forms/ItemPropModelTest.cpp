#include "forms/ItemPropModel.h"

#include "tests/support/FakeUserInterface.h"

#include <gtest/gtest.h>

// Cases name only the record fields and settings they need.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vi {
namespace {

// Loads a record as the item commands do and shows the dialog.
struct Dialog {
    explicit Dialog(ItemRecord record, const TreeSettings& settings = {}) : Model(settings)
    {
        Model.SetUserInterface(&Ui);
        Model.ExchangeItemRecord(record, true);
        Model.Form_Activate();
    }
    ItemRecord Stored(ItemRecord record = {})
    {
        Model.ExchangeItemRecord(record, false);
        return record;
    }
    // Ticks Check1 boxes and fills their Text2, as the user does.
    void Tick(const std::vector<std::pair<int, const char*>>& boxes)
    {
        for (const auto& [index, text] : boxes) {
            Model.SetCheck1(index, true);
            Model.SetText2(index, QString::fromLatin1(text));
        }
    }
    test::FakeUserInterface Ui;
    ItemPropModel Model;
};

TEST(ItemPropModel, SwitchingKindClearsTheFieldsTheOtherKindHasNot)
{
    Dialog d({.ItemType = kBranch, .FriendlyName = QStringLiteral("Menu")});
    d.Tick({{1, "open.gif"}});
    d.Model.SetOption1(1);
    EXPECT_FALSE(d.Model.Check1(1).Value || d.Model.Check1(1).Enabled);
    d.Tick({{4, "x"}, {5, "x"}, {6, "x"}});
    d.Model.SetOption1(0);
    const ItemRecord stored = d.Stored();
    EXPECT_EQ(stored.ItemType + stored.LinkHref + stored.LinkTarget + stored.LinkDescription + stored.BExpanded,
              kBranch);
}

TEST(ItemPropModel, UseGlobalChoicesAreOfferedOnlyWhereTheTreeHasAValue)
{
    const QString pic = QStringLiteral("a.gif");
    Dialog branch({.ItemType = kBranch, .FriendlyName = QStringLiteral("M")},
                  {.TreeLeaf = pic, .TreeFontSize = QString()}); // no tree-wide font
    Dialog leaf({.ItemType = kLeaf, .FriendlyName = QStringLiteral("P")}, {.TreeBExpanded = pic, .TreeLeaf = pic});
    EXPECT_FALSE(branch.Model.Check4(0).Visible || branch.Model.Check4(2).Visible || leaf.Model.Check4(1).Visible);
    EXPECT_TRUE(leaf.Model.Check4(0).Visible && leaf.Model.Check4(2).Visible);

    // A hidden, ticked target choice still disables the own target and is stored.
    Dialog target({.ItemType = kLeaf, .FriendlyName = QStringLiteral("P"), .UseGlobalTarget = true});
    EXPECT_FALSE(target.Model.Check4(3).Visible || target.Model.Check1(5).Enabled);
    EXPECT_TRUE(target.Stored().UseGlobalTarget);

    // Ticking one drops the own value.
    leaf.Tick({{0, "own.gif"}});
    leaf.Model.SetCheck3(true);
    leaf.Model.SetCheck4(0, true);
    leaf.Model.SetCheck4(2, true);
    EXPECT_FALSE(leaf.Model.Check1(0).Value || leaf.Model.Check1(0).Enabled);
    const ItemRecord stored = leaf.Stored();
    EXPECT_TRUE(stored.UseGlobalBNonExpanded && stored.UseGlobalFont);
    EXPECT_EQ(stored.BNonExpanded + stored.FontSize + stored.FontColor, QString());
}

TEST(ItemPropModel, OkShowsOnlyTheFirstFailingCheck)
{
    const struct {
        std::vector<std::pair<int, const char*>> Ticked; // Check1 index with its Text2
        const char* Text3;
        const char* Start; // the message's first words, empty when OK passes
    } rows[] = {
        {{{0, "  "}, {2, ""}}, "x", "You must specify the SRC for the 'Non-Expanded Bullet'.  Click the folder"},
        {{{2, ""}, {3, ""}}, "x", "You must specify the SRC for the 'Mouse Out Menu Item'."},
        {{{3, " "}}, "x", "You must specify the SRC for the 'Mouse Over Menu Item'."},
        {{{4, ""}, {5, "main"}, {6, "About"}}, "x", "You must specify the HREF for the 'Link'.  Or you can unclick"},
        {{{4, "a.html"}, {5, ""}, {6, ""}}, "x", "You must specify the TARGET for the 'Link'."},
        {{{4, "a.html"}, {5, "main"}, {6, " "}}, "x", "You must specify the Description for the 'Link'."},
        {{{5, ""}, {6, ""}}, "x", ""}, // target and description without "Link"
        {{}, "  ", "You need to specify a Friendly Name."},
        {{}, "a[+]b", "The Friendly Name can not contain \"[+]\" or a line break"},
        {{}, "a\u2028b", "The Friendly Name can not contain"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(*row.Start ? row.Start : "passes");
        Dialog d({.ItemType = kLeaf, .FriendlyName = QStringLiteral("Page")});
        d.Tick(row.Ticked);
        d.Model.SetText3(QString::fromUtf8(row.Text3));
        d.Model.Command1_Click(1);
        const QString start = QString::fromLatin1(row.Start);
        EXPECT_EQ(std::pair(d.Model.Tag(), d.Model.Visible()),
                  std::pair(start.isEmpty() ? DialogTag::Ok : DialogTag::None, !start.isEmpty()));
        ASSERT_EQ(d.Ui.Messages.size(), start.isEmpty() ? 0u : 1u);
        EXPECT_TRUE(start.isEmpty() || d.Ui.Messages[0].Text.startsWith(start)) << d.Ui.Messages[0].Text.toStdString();
    }
}

TEST(ItemPropModel, ALoadedRecordIsStoredBackUnchangedSpacesIncluded)
{
    const ItemRecord leaf{.ItemType = kLeaf,
                          .FriendlyName = QStringLiteral(" \"Q\" \\ "),
                          .BNonExpanded = QStringLiteral("b.gif"),
                          .MouseOutPic = QStringLiteral("out.gif "),
                          .MouseOverPic = QStringLiteral("over.gif"),
                          .ItemText = QStringLiteral(" \"Q\" \\ "),
                          .FontSize = QStringLiteral("+1"),
                          .FontColor = QStringLiteral("Teal"),
                          .LinkHref = QStringLiteral("a.html?x=\"1\""),
                          .LinkTarget = QStringLiteral(" main"),
                          .LinkDescription = QStringLiteral("About")};
    const ItemRecord branch{.ItemType = kBranch,
                            .FriendlyName = QStringLiteral("Menu"),
                            .UseGlobalBNonExpanded = true,
                            .BExpanded = QStringLiteral("open.gif"),
                            .UseGlobalFont = true};
    for (const ItemRecord& record : {leaf, branch}) {
        Dialog d(record, {.TreeBNonExpanded = QStringLiteral("c.gif"), .TreeFontSize = QStringLiteral("3")});
        d.Model.Command1_Click(1);
        EXPECT_EQ(d.Model.Tag(), DialogTag::Ok);
        EXPECT_EQ(d.Stored(record), record) << record.FriendlyName.toStdString();
    }
}

} // namespace
} // namespace vi
