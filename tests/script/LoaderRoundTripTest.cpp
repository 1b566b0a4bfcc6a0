// Export, load and export again: the two files are byte-identical and the two
// loaded documents equal, for random trees and values.
#include "document/ChoiceValues.h"
#include "script/ExportTree.h"
#include "script/ItemStatement.h"
#include "script/RootStatement.h"
#include "script/TreeLoader.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <gtest/gtest.h>
#include <random>

using namespace vi;
using namespace vi::test;

namespace {

// Values from every class the dialogs accept. Argument values may hold
// anything; names in the marker and header values are single lines without
// "[+]", since the marker and the header carry them unescaped. Labels may have
// blanks at their ends, as renaming stores them.
struct Random {
    std::mt19937 rng;

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    bool Flag() { return Int(0, 1) == 1; }
    QString Pick(const QStringList& list) { return list[Int(0, int(list.size()) - 1)]; }
    template <class List> QString Pick(const List& list) { return S(list[Int(0, int(std::size(list)) - 1)]); }
    QString Text(bool anyCharacter)
    {
        // Pieces separated by "|", which none holds.
        static const QStringList pieces =
            S("Home|a b|\"|<a href=\"x.html\">|é€|中文|😀|&amp;|'|/|//|\\|\\\\|\t|%20|=|(|)|,|;|\\t|\\x41|\\u00e9|"
              "\\'|\\0|\\\"|\u00a0")
                .split(QLatin1Char('|'));
        static const QStringList risky =
            S("//[+]|[+]|\r\n|\n|/\\/[+]|\\\"|\\r| |\u2028|\u2029|\"); /\\x2F[+]LEAF[+]x[+]0").split(QLatin1Char('|'));
        QString text;
        for (int n = Int(0, 6); n > 0; --n)
            text += anyCharacter && Int(0, 5) == 0 ? Pick(risky) : Pick(pieces);
        return text; // no piece but a risky one has a blank at either end
    }
    QString Picture()
    {
        static const char* const folders[] = {"C:\\web\\img\\", "/home/me/pics/", "", "D:/mixed\\"};
        // A file name: no separators, and no white space at its ends, which the header trims.
        const QString name = Text(false).remove(QLatin1Char('\\')).remove(QLatin1Char('/')).trimmed();
        return Flag() ? QString() : Pick(folders) + name + S(".gif");
    }
};

void RandomTree(TreeDocument& d, Random& v, int items)
{
    TreeSettings& s = d.Settings();
    s.TreeX = static_cast<std::int16_t>(v.Int(-32768, 32767));
    s.TreeY = static_cast<std::int16_t>(v.Int(-50, 500));
    s.TreeSize = static_cast<std::int16_t>(v.Int(0, 4));
    s.TreeLines = static_cast<std::int16_t>(v.Int(0, 2));
    for (QString* colour : {&s.TreeLineColor, &s.TreePMColor, &s.TreeFontColor})
        *colour = v.Pick(kColourNames);
    for (QString* picture : {&s.TreeBNonExpanded, &s.TreeBExpanded, &s.TreeLeaf})
        *picture = v.Picture();
    s.TreeTarget = v.Text(false); // tabs and no-break spaces at its ends stay
    s.TreeBackground = v.Flag() ? QString() : v.Pick(kColourNames);
    s.TreeFontSize = v.Flag() ? QString() : v.Pick(kFontSizes);
    d.SetRootStatement(BuildRootStatement(s));

    for (int i = 0; i < items; ++i) {
        // Mostly recent parents, so that trees get deep as well as wide.
        const int parent = v.Flag() ? std::max(1, d.NodeCount() - v.Int(0, 3)) : v.Int(1, d.NodeCount());
        const QString label = v.Text(false);
        AddItem(d, d.Node(parent), v.Flag() ? label : S(" ") + label + S("  "), [&](ItemRecord& r) {
            r.ItemType = v.Flag() ? kBranch : kLeaf;
            for (bool* flag : {&r.UseGlobalBNonExpanded, &r.UseGlobalBExpanded, &r.UseGlobalTarget, &r.UseGlobalFont})
                *flag = v.Flag();
            for (QString* picture : {&r.BNonExpanded, &r.BExpanded, &r.MouseOutPic, &r.MouseOverPic})
                *picture = v.Picture();
            for (QString* text : {&r.ItemText, &r.FontColor, &r.LinkHref, &r.LinkTarget, &r.LinkDescription})
                *text = v.Text(true);
            r.FontSize = v.Flag() ? QString() : v.Text(true);
        });
    }
}

// Each item in walk order with its path and record. Against the tree that was
// exported, only what the file carries unchanged is compared.
QStringList Snapshot(const TreeDocument& d, bool whole)
{
    QStringList out{whole ? d.RootStatement() : QString()};
    WalkItems(d, [&](TreeNode* n, const QString& path, int) {
        const ItemRecord& r = d.RecordOf(n);
        QStringList row{path, n->Text(), r.ItemType, r.FriendlyName, r.ItemText, r.LinkHref, r.LinkDescription};
        row << (r.UseGlobalTarget ? QString() : r.LinkTarget) << (r.UseGlobalFont ? QString() : r.FontSize)
            << QString::number(r.UseGlobalBNonExpanded + 2 * r.UseGlobalBExpanded + 4 * r.UseGlobalTarget
                               + 8 * r.UseGlobalFont);
        if (whole)
            row << QString::number(n->Position()) << QString::number(n->Tag()) << r.BNonExpanded << r.BExpanded
                << r.MouseOutPic << r.MouseOverPic << r.FontColor << r.LinkTarget << r.FontSize;
        out << row.join(QStringLiteral("|"));
        return true;
    });
    return out;
}

} // namespace

TEST(LoaderRoundTrip, RandomTreesComeBackUnchanged)
{
    FakeProgramFolder program;
    QTemporaryDir out;
    const QString file = out.filePath(S("custom.js"));
    for (unsigned seed = 1; seed <= 24; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        Random values{std::mt19937(seed)};
        TreeDocument original;
        RandomTree(original, values, seed == 24 ? 3000 : values.Int(0, 120));
        FakeUserInterface ui;

        ASSERT_TRUE(ExportTree(original, out.path(), false, ui).Written);
        const QByteArray first = ReadFile(file);
        TreeDocument loaded;
        ASSERT_TRUE(LoadTreeScript(loaded, file, ui).Replaced());
        EXPECT_EQ(loaded.CheckInvariants(), QString());
        EXPECT_EQ(Snapshot(loaded, false), Snapshot(original, false));
        EXPECT_EQ(loaded.Settings().TreeTarget, original.Settings().TreeTarget);

        ASSERT_TRUE(ExportTree(loaded, out.path(), false, ui).Written);
        ASSERT_TRUE(ReadFile(file) == first);
        TreeDocument again;
        LoadTreeScript(again, file, ui);
        EXPECT_EQ(again.Settings(), loaded.Settings());
        EXPECT_EQ(Snapshot(again, true), Snapshot(loaded, true));
        EXPECT_TRUE(ui.Questions.isEmpty());
    }
}
