#include "forms/FindBarModel.h"

#include "tests/support/TestTree.h"

#include <gtest/gtest.h>

namespace vi {
namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

TEST(FindBarModel, MatchesEveryWordInLabelTextOrLinkWhateverTheCaseAndAccents)
{
    TreeDocument d;
    TreeNode* item = test::AddItem(d, d.Root(), S("Café Menü"), [](ItemRecord& r) {
        r.ItemText = S("<b class=\"big\">Straße</b> &amp; more");
        r.LinkHref = S("https://example.com/Crème.html");
    });
    // [what is typed, whether the item is found]
    for (const auto& [typed, found] : {std::pair{"cafe", true},
                                       {"CAFÉ menu", true},
                                       {"  menu\tcafe ", true},
                                       {"strasse", true},
                                       {"STRAßE more", true},
                                       {"creme.html", true},
                                       {"example menu", true},
                                       {"class", false},
                                       {"big", false},
                                       {"cafe tea", false},
                                       {"Ü", true}}) {
        SCOPED_TRACE(typed);
        EXPECT_EQ(FindBarModel::Matches(FindBarModel::Words(S(typed)), d, item), found);
    }
    EXPECT_FALSE(FindBarModel::Matches(FindBarModel::Words(S("your")), d, d.Root())) << "the root is no item";
}

// Your Tree > A (a1 > x1, a2), B (x2), L: collapsed.
struct FindTest : ::testing::Test {
    TreeDocument d;
    FindBarModel find{d};
    TreeNode *a, *a1, *x1, *b, *x2;
    FindTest()
    {
        a = test::AddItem(d, d.Root(), S("A"));
        a1 = test::AddItem(d, a, S("a1"));
        x1 = test::AddItem(d, a1, S("x one"));
        test::AddItem(d, a, S("a2"));
        b = test::AddItem(d, d.Root(), S("B"));
        x2 = test::AddItem(d, b, S("x two"));
        test::AddItem(d, d.Root(), S("L"));
        d.SetExpanded(d.Root(), true);
        d.Select(d.Root());
    }
    std::vector<bool> Open() const { return {a->Expanded(), a1->Expanded(), b->Expanded()}; }
};

TEST_F(FindTest, TypingGoesToTheFirstItemInTheOrderShownAndStepsGoRound)
{
    find.SetText(S("x"));
    EXPECT_EQ(find.Counter(), S("1 of 2"));
    EXPECT_EQ(d.SelectedNode(), x1);
    EXPECT_EQ(Open(), (std::vector{true, true, false}));
    // [step, selected item, counter]
    const std::tuple<void (FindBarModel::*)(), TreeNode*, const char*> steps[] = {
        {&FindBarModel::Next, x2, "2 of 2"},
        {&FindBarModel::Next, x1, "1 of 2"},
        {&FindBarModel::Previous, x2, "2 of 2"},
        {&FindBarModel::Previous, x1, "1 of 2"},
    };
    for (const auto& [step, selected, counter] : steps) {
        (find.*step)();
        EXPECT_EQ(d.SelectedNode(), selected);
        EXPECT_EQ(find.Counter(), S(counter));
    }
    find.SetText(S("x two"));
    EXPECT_EQ(d.SelectedNode(), x2);
    find.SetText(S("nothing"));
    EXPECT_EQ(find.Counter(), S("0 of 0"));
    EXPECT_EQ(d.SelectedNode(), x2) << "the selection stays";
    find.Next();
    find.SetText(S(" "));
    EXPECT_EQ(find.Counter(), QString());
}

TEST_F(FindTest, ClosingGivesBackTheBranchesItOpenedButThoseShowingTheSelection)
{
    d.SetExpanded(a, true); // the user's own
    find.SetText(S("x"));
    find.Next();
    EXPECT_EQ(Open(), (std::vector{true, true, true}));
    find.Close();
    EXPECT_EQ(Open(), (std::vector{true, false, true})) << "x two stays in sight";
    EXPECT_EQ(d.SelectedNode(), x2);
    EXPECT_EQ(find.Counter(), QString());
}

TEST_F(FindTest, AfterTheTreeChangesStepsFindTheItemsThereNow)
{
    find.SetText(S("x"));
    find.Next();
    d.RemoveNode(a1->Position()); // x one goes with it
    EXPECT_EQ(find.Current(), nullptr);
    find.Next();
    EXPECT_EQ(d.SelectedNode(), x2);
    EXPECT_EQ(find.Counter(), S("1 of 1"));
    find.Close(); // no branch left open by the search is gone

    find.SetText(S("x"));
    d.NewTree();
    find.Previous();
    EXPECT_EQ(find.Count(), 0);
    find.Close();
}

TEST_F(FindTest, FindsInAChainTooDeepForRecursion)
{
    TreeNode* node = d.Root();
    for (int i = 0; i < 32000; ++i)
        node = test::AddItem(d, node, S("deep"));
    test::AddItem(d, node, S("bottom"));
    find.SetText(S("bottom"));
    EXPECT_EQ(find.Counter(), S("1 of 1"));
    EXPECT_EQ(d.SelectedNode()->Text(), S("bottom"));
}

} // namespace
} // namespace vi
