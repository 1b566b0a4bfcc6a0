#include "forms/ItemPropModel.h"

#include "tests/support/FakeUserInterface.h"

#include <gtest/gtest.h>

// Cases name only the record fields and settings they need.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vi {
namespace {

using enum ItemValue;

// Loads a record as the item commands do and shows the dialog.
struct Dialog {
    explicit Dialog(ItemRecord record, const TreeSettings& settings = {}) : Model(settings)
    {
        Model.SetUserInterface(&Ui);
        Model.Load(record);
        Model.Form_Activate();
    }
    ItemRecord Stored(ItemRecord record = {})
    {
        Model.Store(record);
        return record;
    }
    // Ticks values' boxes and fills them, as the user does.
    void Tick(const std::vector<std::pair<ItemValue, const char*>>& values)
    {
        for (const auto& [value, text] : values) {
            Model.TickValue(value, true);
            Model.SetValue(value, QString::fromLatin1(text));
        }
    }
    test::FakeUserInterface Ui;
    ItemPropModel Model;
};

TEST(ItemPropModel, SwitchingKindClearsTheFieldsTheOtherKindHasNot)
{
    Dialog d({.ItemType = kBranch, .FriendlyName = QStringLiteral("Menu")});
    d.Tick({{ExpandedBullet, "open.gif"}});
    d.Model.SetLeaf(true);
    EXPECT_FALSE(d.Model.ValueBox(ExpandedBullet).Value || d.Model.ValueBox(ExpandedBullet).Enabled);
    d.Tick({{LinkHref, "x"}, {LinkTarget, "x"}, {LinkDescription, "x"}});
    d.Model.SetLeaf(false);
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
    EXPECT_FALSE(branch.Model.UseGlobal(GlobalChoice::NonExpandedBullet).Visible
                 || branch.Model.UseGlobal(GlobalChoice::Font).Visible
                 || leaf.Model.UseGlobal(GlobalChoice::ExpandedBullet).Visible);
    EXPECT_TRUE(leaf.Model.UseGlobal(GlobalChoice::NonExpandedBullet).Visible
                && leaf.Model.UseGlobal(GlobalChoice::Font).Visible);

    // A hidden, ticked target choice still disables the own target and is stored.
    Dialog target({.ItemType = kLeaf, .FriendlyName = QStringLiteral("P"), .UseGlobalTarget = true});
    EXPECT_FALSE(target.Model.UseGlobal(GlobalChoice::LinkTarget).Visible || target.Model.ValueBox(LinkTarget).Enabled);
    EXPECT_TRUE(target.Stored().UseGlobalTarget);

    // Ticking one drops the own value.
    leaf.Tick({{NonExpandedBullet, "own.gif"}});
    leaf.Model.TickOwnFont(true);
    leaf.Model.TickUseGlobal(GlobalChoice::NonExpandedBullet, true);
    leaf.Model.TickUseGlobal(GlobalChoice::Font, true);
    EXPECT_FALSE(leaf.Model.ValueBox(NonExpandedBullet).Value || leaf.Model.ValueBox(NonExpandedBullet).Enabled);
    const ItemRecord stored = leaf.Stored();
    EXPECT_TRUE(stored.UseGlobalBNonExpanded && stored.UseGlobalFont);
    EXPECT_EQ(stored.BNonExpanded + stored.FontSize + stored.FontColor, QString());
}

TEST(ItemPropModel, OkShowsOnlyTheFirstFailingCheck)
{
    const struct {
        std::vector<std::pair<ItemValue, const char*>> Ticked;
        const char* FriendlyName;
        const char* Start; // the message's first words, empty when OK passes
    } rows[] = {
        {{{NonExpandedBullet, "  "}, {MouseOutPicture, ""}},
         "x",
         "You must specify the SRC for the 'Non-Expanded Bullet'.  Click the folder"},
        {{{MouseOutPicture, ""}, {MouseOverPicture, ""}},
         "x",
         "You must specify the SRC for the 'Mouse Out Menu Item'."},
        {{{MouseOverPicture, " "}}, "x", "You must specify the SRC for the 'Mouse Over Menu Item'."},
        {{{LinkHref, ""}, {LinkTarget, "main"}, {LinkDescription, "About"}},
         "x",
         "You must specify the HREF for the 'Link'.  Or you can unclick"},
        {{{LinkHref, "a.html"}, {LinkTarget, ""}, {LinkDescription, ""}},
         "x",
         "You must specify the TARGET for the 'Link'."},
        {{{LinkHref, "a.html"}, {LinkTarget, "main"}, {LinkDescription, " "}},
         "x",
         "You must specify the Description for the 'Link'."},
        {{{LinkTarget, ""}, {LinkDescription, ""}}, "x", ""}, // target and description without "Link"
        {{}, "  ", "You need to specify a Friendly Name."},
        {{}, "a[+]b", "The Friendly Name can not contain \"[+]\" or a line break"},
        {{}, "a\u2028b", "The Friendly Name can not contain"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(*row.Start ? row.Start : "passes");
        Dialog d({.ItemType = kLeaf, .FriendlyName = QStringLiteral("Page")});
        d.Tick(row.Ticked);
        d.Model.SetFriendlyName(QString::fromUtf8(row.FriendlyName));
        d.Model.OkClicked();
        const QString start = QString::fromLatin1(row.Start);
        EXPECT_EQ(std::pair(d.Model.Tag(), d.Model.Visible()),
                  std::pair(start.isEmpty() ? DialogTag::Ok : DialogTag::None, !start.isEmpty()));
        ASSERT_EQ(d.Ui.Messages.size(), start.isEmpty() ? 0u : 1u);
        EXPECT_TRUE(start.isEmpty() || d.Ui.Messages[0].Text.startsWith(start)) << d.Ui.Messages[0].Text.toStdString();
    }
}

TEST(ItemPropModel, TheLabelFollowsTheTypedTextOnlyWhileItHasNoneOfItsOwn)
{
    const struct {
        const char* Label;
        const char* Text;  // as loaded
        const char* Typed; // key by key; nullptr: OK at once
        const char* Stored;
    } rows[] = {
        {"Team", "Our <b>team</b>", nullptr, "Team"}, {"Team", "Our <b>team</b>", "Our team", "Team"},
        {"(None Specifyed)", "", "Home", "Home"},     {"", "", "Home", "Home"},
        {"Home", "Home", "Home page", "Home page"},   {"Home", "Home", "", ""}, // and OK then asks for a label
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Label + std::string(" / ") + (row.Typed ? row.Typed : "-"));
        Dialog d({.ItemType = kLeaf,
                  .FriendlyName = QString::fromLatin1(row.Label),
                  .ItemText = QString::fromLatin1(row.Text)});
        if (row.Typed) {
            const QString typed = QString::fromLatin1(row.Typed);
            d.Model.SetItemText(QString());
            for (qsizetype n = 1; n <= typed.size(); ++n)
                d.Model.SetItemText(typed.left(n));
        }
        EXPECT_EQ(d.Stored().FriendlyName, QString::fromLatin1(row.Stored));
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
        d.Model.OkClicked();
        EXPECT_EQ(d.Model.Tag(), DialogTag::Ok);
        EXPECT_EQ(d.Stored(record), record) << record.FriendlyName.toStdString();
    }
}

} // namespace
} // namespace vi
