#include "preview/PreviewFolder.h"
#include "preview/QuickViewLayout.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vi {
namespace {

struct LayoutCase {
    int Width, Height;
    TwipsRect Browser;
    std::vector<int> Lefts; // Close, Refresh, Static, Default
    int RowTop;
    friend void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.Width << " x " << c.Height; }
};

class ResizeRule : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ResizeRule, PlacesBrowserAndBottomRow)
{
    const LayoutCase& c = GetParam();
    const QuickViewLayout l = ArrangeQuickView(QuickViewDesign(), c.Width, c.Height);
    EXPECT_EQ(l.WebBrowser1, c.Browser);
    EXPECT_EQ((std::vector<int>{l.Close.Left, l.Refresh.Left, l.Static.Left, l.Default.Left}), c.Lefts);
    EXPECT_EQ((std::vector<int>{l.Close.Top, l.Refresh.Top, l.Static.Top, l.Default.Top}), std::vector<int>(4, c.RowTop));
}

INSTANTIATE_TEST_SUITE_P(Figures, ResizeRule,
                         ::testing::Values(LayoutCase{5865, 5100, {75, 75, 5715, 4500}, {4530, 3195, 2115, 1035}, 4650},
                                           LayoutCase{9000, 6000, {75, 75, 8850, 5400}, {7665, 6330, 5250, 4170}, 5550},
                                           // Too small: the browser's size steps are skipped, the rest still run.
                                           LayoutCase{90, 300, {75, 75, 5730, 4410}, {-1245, -2580, -3660, -4740}, 4560}));

TEST(PreviewFolder, IsMadeAfreshOrFallsBackToARealUserFolder)
{
    QTemporaryDir root;
    const auto path = [&](const char* name) { return root.filePath(QString::fromLatin1(name)); };
    QDir().mkpath(path("TreeData/TmpTree/treePics"));
    QFile(path("TreeData/TmpTree/stale.js")).open(QIODevice::WriteOnly);
    EXPECT_EQ(PreparePreviewFolder(path("TreeData/TmpTree"), path("user/TmpTree")), path("TreeData/TmpTree"));
    EXPECT_TRUE(QDir(path("TreeData/TmpTree")).isEmpty());

    EXPECT_EQ(PreparePreviewFolder(path("NoTreeData/TmpTree"), path("user/TmpTree")), path("user/TmpTree"));
    // A user folder that is a link, maybe planted by someone else, is not used.
    QDir().mkpath(path("elsewhere"));
    QFile::link(path("elsewhere"), path("linked"));
    EXPECT_EQ(PreparePreviewFolder(path("NoTreeData/TmpTree"), path("linked/TmpTree")), path("NoTreeData/TmpTree"));
    EXPECT_TRUE(QDir(path("elsewhere")).isEmpty());
}

} // namespace
} // namespace vi
