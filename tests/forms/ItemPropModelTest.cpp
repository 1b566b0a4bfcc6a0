#include "forms/ItemPropModel.h"

#include "tests/support/FakeUserInterface.h"

#include <gtest/gtest.h>

// Cases name only the record fields and settings they need.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace vi {
namespace {

constexpr int kBranch_ = 0;
constexpr int kLeaf_ = 1;

ItemRecord Leaf(const QString& name)
{
    ItemRecord r;
    r.ItemType = kLeaf;
    r.FriendlyName = name;
    return r;
}

// Loads a record as the item commands do and shows the dialog.
struct Dialog {
    explicit Dialog(const ItemRecord& record, const TreeSettings& settings = {}) : Model(settings)
    {
        ItemRecord loaded = record;
        Model.SetUserInterface(&Ui);
        Model.ExchangeItemRecord(loaded, true);
        Model.Form_Activate();
    }
    ItemRecord Stored(ItemRecord record = {})
    {
        Model.ExchangeItemRecord(record, false);
        return record;
    }
    test::FakeUserInterface Ui;
    ItemPropModel Model;
};

TEST(ItemPropModel, SwitchingKindClearsTheFieldsTheOtherKindHasNot)
{
    Dialog d(ItemRecord{.ItemType = kBranch, .FriendlyName = QStringLiteral("Menu")});
    for (int i : {4, 5, 6}) {
        EXPECT_FALSE(d.Model.Check1(i).Enabled) << i;
        EXPECT_FALSE(d.Model.Check1(i).Value) << i;
    }
    d.Model.SetCheck1(1, true);
    d.Model.SetText2(1, QStringLiteral("open.gif"));

    d.Model.SetOption1(kLeaf_);
    EXPECT_TRUE(d.Model.Check1(4).Enabled && d.Model.Check1(5).Enabled && d.Model.Check1(6).Enabled);
    EXPECT_TRUE(d.Model.Check4(3).Enabled);
    EXPECT_FALSE(d.Model.Check1(1).Value);
    EXPECT_FALSE(d.Model.Check1(1).Enabled);
    EXPECT_TRUE(d.Model.Text2(1).Locked);

    for (int i : {4, 5, 6}) {
        d.Model.SetCheck1(i, true);
        d.Model.SetText2(i, QStringLiteral("x"));
        EXPECT_FALSE(d.Model.Text2(i).Locked);
    }
    d.Model.SetOption1(kBranch_);
    for (int i : {4, 5, 6}) {
        EXPECT_FALSE(d.Model.Check1(i).Value) << i;
        // The cleared box's click refreshed again, so its field ends locked.
        EXPECT_TRUE(d.Model.Text2(i).Locked) << i;
        EXPECT_EQ(d.Model.Text2(i).BackColor, BackColour::ButtonFace) << i;
    }
    d.Model.Command1_Click(1);
    EXPECT_EQ(d.Model.Tag(), kTagOk);
    const ItemRecord stored = d.Stored();
    EXPECT_EQ(stored.ItemType, kBranch);
    EXPECT_TRUE(stored.LinkHref.isEmpty() && stored.LinkTarget.isEmpty() && stored.LinkDescription.isEmpty());
    EXPECT_TRUE(stored.BExpanded.isEmpty());
}

TEST(ItemPropModel, UseGlobalBoxesAreOfferedOnlyWhereTheTreeHasAValue)
{
    struct Row {
        const char* Name;
        QString Kind;
        TreeSettings Settings;
        std::array<bool, 4> Visible;
    };
    const QString pic = QStringLiteral("a.gif");
    const Row rows[] = {
        {"nothing set", kBranch, {.TreeFontSize = QString()}, {false, false, false, false}},
        {"branch bullets",
         kBranch,
         {.TreeBNonExpanded = pic, .TreeBExpanded = pic, .TreeFontSize = QString()},
         {true, true, false, false}},
        {"leaf ignores branch bullets",
         kLeaf,
         {.TreeBNonExpanded = pic, .TreeBExpanded = pic, .TreeFontSize = {}},
         {false, false, false, false}},
        {"leaf bullet", kLeaf, {.TreeLeaf = pic, .TreeFontSize = QString()}, {true, false, false, false}},
        {"branch ignores leaf bullet",
         kBranch,
         {.TreeLeaf = pic, .TreeFontSize = QString()},
         {false, false, false, false}},
        {"target and font",
         kLeaf,
         {.TreeTarget = QStringLiteral("main"), .TreeFontSize = QStringLiteral("3")},
         {false, false, true, true}},
    };
    for (const Row& row : rows) {
        Dialog d(ItemRecord{.ItemType = row.Kind, .FriendlyName = QStringLiteral("x")}, row.Settings);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(d.Model.Check4(i).Visible, row.Visible[static_cast<std::size_t>(i)]) << row.Name << " " << i;
    }
}

TEST(ItemPropModel, AHiddenTickedTargetChoiceStillActsAndIsStored)
{
    ItemRecord record = Leaf(QStringLiteral("Page"));
    record.UseGlobalTarget = true;
    Dialog d(record, TreeSettings{.TreeTarget = QString()});
    EXPECT_FALSE(d.Model.Check4(3).Visible);
    EXPECT_TRUE(d.Model.Check4(3).Value);
    EXPECT_FALSE(d.Model.Check1(5).Value);
    EXPECT_FALSE(d.Model.Check1(5).Enabled);
    EXPECT_TRUE(d.Model.Text2(5).Locked);
    d.Model.Command1_Click(1);
    EXPECT_EQ(d.Model.Tag(), kTagOk);
    EXPECT_TRUE(d.Stored().UseGlobalTarget);
}

TEST(ItemPropModel, OtherUseGlobalBoxesActOnlyWhileVisibleButAreStoredFromTheirValue)
{
    ItemRecord record{.ItemType = kBranch, .FriendlyName = QStringLiteral("Menu"), .UseGlobalBNonExpanded = true};
    Dialog hidden(record, TreeSettings{.TreeBNonExpanded = QString()});
    EXPECT_FALSE(hidden.Model.Check4(0).Visible);
    EXPECT_TRUE(hidden.Model.Check1(0).Enabled);
    EXPECT_TRUE(hidden.Stored().UseGlobalBNonExpanded);

    Dialog leaf(Leaf(QStringLiteral("Page")), TreeSettings{.TreeLeaf = QStringLiteral("leaf.gif")});
    leaf.Model.SetCheck1(0, true);
    leaf.Model.SetText2(0, QStringLiteral("own.gif"));
    leaf.Model.SetCheck4(0, true);
    EXPECT_FALSE(leaf.Model.Check1(0).Value);
    EXPECT_FALSE(leaf.Model.Check1(0).Enabled);
    EXPECT_TRUE(leaf.Model.Text2(0).Locked);
    const ItemRecord stored = leaf.Stored();
    EXPECT_TRUE(stored.UseGlobalBNonExpanded);
    EXPECT_TRUE(stored.BNonExpanded.isEmpty());
}

TEST(ItemPropModel, TickingOwnFontStartsFromTheTreeFontOrTheListDefaults)
{
    Dialog withTreeFont(Leaf(QStringLiteral("x")),
                        TreeSettings{.TreeFontSize = QStringLiteral("4"), .TreeFontColor = QStringLiteral("navy")});
    withTreeFont.Model.SetCheck3(true);
    EXPECT_TRUE(withTreeFont.Model.Combo1(0).Enabled);
    EXPECT_EQ(withTreeFont.Model.Combo1(0).Text(), QStringLiteral("4"));
    EXPECT_EQ(withTreeFont.Model.Combo1(1).Text(), QStringLiteral("Navy"));

    Dialog plain(Leaf(QStringLiteral("x")), TreeSettings{.TreeFontSize = QString(), .TreeFontColor = QString()});
    EXPECT_FALSE(plain.Model.Combo1(0).Enabled);
    EXPECT_EQ(plain.Model.Combo1(0).BackColor, BackColour::ButtonFace);
    plain.Model.SetCheck3(true);
    const ItemRecord stored = plain.Stored();
    EXPECT_EQ(stored.FontSize, QStringLiteral("2"));
    EXPECT_EQ(stored.FontColor, QStringLiteral("Gray"));
    EXPECT_FALSE(stored.UseGlobalFont);

    // A ticked and offered "Use Global" font clears the own font.
    withTreeFont.Model.SetCheck4(2, true);
    EXPECT_FALSE(withTreeFont.Model.Check3().Value);
    EXPECT_FALSE(withTreeFont.Model.Check3().Enabled);
    EXPECT_FALSE(withTreeFont.Model.Combo1(0).Enabled);
    const ItemRecord global = withTreeFont.Stored();
    EXPECT_TRUE(global.UseGlobalFont);
    EXPECT_TRUE(global.FontSize.isEmpty() && global.FontColor.isEmpty());
}

TEST(ItemPropModel, TheItemTextBecomesTheFriendlyLabel)
{
    ItemRecord record = Leaf(QStringLiteral("Label"));
    Dialog empty(record);
    EXPECT_EQ(empty.Model.Text3().Text, QStringLiteral("Label")); // an empty item text changes nothing

    record.ItemText = QStringLiteral("<b>Start</b>");
    Dialog loaded(record);
    EXPECT_EQ(loaded.Model.Text3().Text, QStringLiteral("<b>Start</b>"));

    Dialog typed(Leaf(QStringLiteral("Label")));
    EXPECT_TRUE(typed.Model.Text1().Locked);
    typed.Model.SetCheck2(true);
    EXPECT_FALSE(typed.Model.Text1().Locked);
    typed.Model.SetText1(QStringLiteral("Home"));
    EXPECT_EQ(typed.Model.Text3().Text, QStringLiteral("Home"));
    typed.Model.SetText3(QString());
    typed.Model.Command1_Click(1);
    EXPECT_TRUE(typed.Model.Visible());
    EXPECT_EQ(typed.Ui.MessageTexts(),
              QStringList{QStringLiteral("You need to specify a Friendly Name.  This name is only for display in the "
                                         "Vuvov-Ivoza program and is not used in the actual tree.")});
}

TEST(ItemPropModel, OkShowsOnlyTheFirstFailingCheck)
{
    const auto tick = [](ItemPropModel& m, int i, const char* text) {
        m.SetCheck1(i, true);
        m.SetText2(i, QString::fromLatin1(text));
    };
    struct Row {
        const char* Name;
        std::function<void(ItemPropModel&)> Setup;
        const char* Start; // the message's first words, empty when OK passes
    };
    const Row rows[] = {
        {"blank regular bullet",
         [&](ItemPropModel& m) {
             tick(m, 0, "  ");
             tick(m, 2, "");
         },
         "You must specify the SRC for the 'Non-Expanded Bullet'.  Click"},
        {"mouse out",
         [&](ItemPropModel& m) {
             tick(m, 2, "");
             tick(m, 3, "");
         },
         "You must specify the SRC for the 'Mouse Out Menu Item'."},
        {"mouse over", [&](ItemPropModel& m) { tick(m, 3, " "); },
         "You must specify the SRC for the 'Mouse Over Menu Item'."},
        {"href before target and description",
         [&](ItemPropModel& m) {
             tick(m, 4, "");
             tick(m, 5, "main");
             tick(m, 6, "About");
         },
         "You must specify the HREF for the 'Link'.  Or you can unclick the check box next to it."},
        {"target",
         [&](ItemPropModel& m) {
             tick(m, 4, "a.html");
             tick(m, 5, "");
             tick(m, 6, "");
         },
         "You must specify the TARGET for the 'Link'."},
        {"description",
         [&](ItemPropModel& m) {
             tick(m, 4, "a.html");
             tick(m, 5, "main");
             tick(m, 6, " ");
         },
         "You must specify the Description for the 'Link'."},
        {"target without link passes",
         [&](ItemPropModel& m) {
             tick(m, 5, "");
             tick(m, 6, "");
         },
         ""},
        {"blank label", [](ItemPropModel& m) { m.SetText3(QStringLiteral("   ")); }, "You need to specify"},
        {"marker in label", [](ItemPropModel& m) { m.SetText3(QStringLiteral("a[+]b")); },
         "The Friendly Name can not contain \"[+]\" or a line break"},
        {"item text with a line break becomes the label",
         [](ItemPropModel& m) {
             m.SetCheck2(true);
             m.SetText1(QStringLiteral("one\r\ntwo"));
         },
         "The Friendly Name can not contain"},
    };
    for (const Row& row : rows) {
        Dialog d(Leaf(QStringLiteral("Page")));
        row.Setup(d.Model);
        d.Model.Command1_Click(1);
        const QString start = QString::fromLatin1(row.Start);
        if (start.isEmpty()) {
            EXPECT_EQ(d.Model.Tag(), kTagOk) << row.Name;
            EXPECT_TRUE(d.Ui.Messages.empty()) << row.Name;
            continue;
        }
        EXPECT_TRUE(d.Model.Visible()) << row.Name;
        EXPECT_TRUE(d.Model.Tag().isEmpty()) << row.Name;
        ASSERT_EQ(d.Ui.Messages.size(), 1u) << row.Name;
        EXPECT_TRUE(d.Ui.Messages[0].Text.startsWith(start)) << row.Name << ": " << d.Ui.Messages[0].Text.toStdString();
        EXPECT_EQ(d.Ui.Messages[0].Kind, UserInterface::Icon::Information);
    }
}

TEST(ItemPropModel, TargetWithoutLinkIsStoredEmptyAndValuesKeepTheirSpaces)
{
    Dialog d(Leaf(QStringLiteral(" Page ")));
    d.Model.SetCheck1(5, true);
    d.Model.SetCheck1(2, true);
    d.Model.SetText2(2, QStringLiteral(" out.gif "));
    const ItemRecord stored = d.Stored();
    EXPECT_TRUE(stored.LinkTarget.isEmpty());
    EXPECT_FALSE(stored.UseGlobalTarget);
    EXPECT_EQ(stored.MouseOutPic, QStringLiteral(" out.gif "));
    EXPECT_EQ(stored.FriendlyName, QStringLiteral(" Page "));
}

TEST(ItemPropModel, ALoadedRecordIsStoredBackUnchanged)
{
    const ItemRecord leaf{.RootMark = 0,
                          .ScriptLine = QStringLiteral("kept"),
                          .ItemType = kLeaf,
                          .FriendlyName = QStringLiteral(" \"Q\" \\ "),
                          .BNonExpanded = QStringLiteral("b.gif"),
                          .MouseOutPic = QStringLiteral("out.gif "),
                          .MouseOverPic = QStringLiteral("over.gif"),
                          .ItemText = QStringLiteral(" \"Q\" \\ "),
                          .FontSize = QStringLiteral("+1"),
                          .FontColor = QStringLiteral("Teal"),
                          .LinkHref = QStringLiteral("a.html?x=\"1\""),
                          .LinkTarget = QStringLiteral("main"),
                          .LinkDescription = QStringLiteral("About")};
    const ItemRecord branch{.ItemType = kBranch,
                            .FriendlyName = QStringLiteral("Menu"),
                            .UseGlobalBNonExpanded = true,
                            .BExpanded = QStringLiteral("open.gif"),
                            .UseGlobalFont = true};
    const TreeSettings settings{.TreeBNonExpanded = QStringLiteral("c.gif"), .TreeFontSize = QStringLiteral("3")};
    for (const ItemRecord& record : {leaf, branch}) {
        Dialog d(record, settings);
        d.Model.Command1_Click(1);
        EXPECT_EQ(d.Model.Tag(), kTagOk) << record.FriendlyName.toStdString();
        ItemRecord stored = record;
        d.Model.ExchangeItemRecord(stored, false);
        EXPECT_EQ(stored, record) << record.FriendlyName.toStdString();
    }
}

TEST(ItemPropModel, FolderPicturesChooseOnlyForTickedBoxesAndCancelKeepsTheText)
{
    Dialog d(Leaf(QStringLiteral("x")));
    std::deque<std::optional<QString>> answers{QStringLiteral("/pics/a.gif"), std::nullopt};
    int calls = 0;
    d.Model.SetPictureChooser([&]() {
        ++calls;
        auto a = answers.front();
        answers.pop_front();
        return a;
    });
    d.Model.Image1_Click(3);
    EXPECT_EQ(calls, 0);
    d.Model.SetCheck1(3, true);
    d.Model.Image1_Click(3);
    EXPECT_EQ(d.Model.Text2(3).Text, QStringLiteral("/pics/a.gif"));
    d.Model.Image1_Click(3);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(d.Model.Text2(3).Text, QStringLiteral("/pics/a.gif"));
}

TEST(ItemPropModel, CancelAndTheCloseBoxHideWithCancel)
{
    Dialog cancel(Leaf(QStringLiteral("x")));
    EXPECT_TRUE(cancel.Model.Tag().isEmpty());
    cancel.Model.SetText3(QString()); // no checks on Cancel
    cancel.Model.Command1_Click(0);
    EXPECT_EQ(cancel.Model.Tag(), kTagCancel);
    EXPECT_FALSE(cancel.Model.Visible());

    Dialog close(Leaf(QStringLiteral("x")));
    EXPECT_FALSE(close.Model.Form_QueryUnload(false));
    EXPECT_TRUE(close.Model.Form_QueryUnload(true));
    EXPECT_EQ(close.Model.Tag(), kTagCancel);
    EXPECT_FALSE(close.Model.Visible());
}

} // namespace
} // namespace vi
