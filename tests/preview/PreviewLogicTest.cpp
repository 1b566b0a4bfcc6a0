#include "preview/PreviewFolder.h"
#include "preview/QuickViewLayout.h"
#include "preview/WebAddress.h"
#include "tests/support/FakeUserInterface.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

namespace vi {
namespace {

struct LayoutCase {
    const char* Name;
    int Width, Height;
    TwipsRect Browser;
    int CloseLeft, RefreshLeft, StaticLeft, DefaultLeft, RowTop;
    friend void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.Width << " x " << c.Height; }
};

class ResizeRule : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ResizeRule, PlacesBrowserAndBottomRow)
{
    const LayoutCase& c = GetParam();
    const QuickViewLayout l = ArrangeQuickView(QuickViewDesign(), c.Width, c.Height);
    EXPECT_EQ(l.WebBrowser1, c.Browser);
    EXPECT_EQ(l.Close.Left, c.CloseLeft);
    EXPECT_EQ(l.Refresh.Left, c.RefreshLeft);
    EXPECT_EQ(l.Static.Left, c.StaticLeft);
    EXPECT_EQ(l.Default.Left, c.DefaultLeft);
    for (const TwipsRect& r : {l.Close, l.Refresh, l.Static, l.Default})
        EXPECT_EQ(r.Top, c.RowTop);
    // Buttons and options keep their design sizes.
    EXPECT_EQ(l.Close.Width, 1260);
    EXPECT_EQ(l.Static.Height, 375);
}

INSTANTIATE_TEST_SUITE_P(
    Figures, ResizeRule,
    ::testing::Values(LayoutCase{"Initial", 5865, 5100, {75, 75, 5715, 4500}, 4530, 3195, 2115, 1035, 4650},
                      LayoutCase{"Larger", 9000, 6000, {75, 75, 8850, 5400}, 7665, 6330, 5250, 4170, 5550},
                      // Too small for the browser: its size steps are skipped, the rest still run.
                      LayoutCase{"Tiny", 90, 300, {75, 75, 5730, 4410}, -1245, -2580, -3660, -4740, 4560}),
    [](const auto& info) { return std::string(info.param.Name); });

class PreviewFolders : public ::testing::Test {
protected:
    QTemporaryDir root_;
    QString Path(const QString& name) const { return root_.filePath(name); }
    static void Touch(const QString& path)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
};

TEST_F(PreviewFolders, RemakesThePrimaryFolderEmpty)
{
    QDir().mkpath(Path(QStringLiteral("TreeData/TmpTree/treePics")));
    Touch(Path(QStringLiteral("TreeData/TmpTree/stale.js")));
    const QString primary = Path(QStringLiteral("TreeData/TmpTree"));
    EXPECT_EQ(PreparePreviewFolder(primary, Path(QStringLiteral("user/TmpTree"))), primary);
    EXPECT_TRUE(QDir(primary).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    EXPECT_FALSE(QDir(Path(QStringLiteral("user"))).exists());
}

TEST_F(PreviewFolders, FallsBackWhenThePrimaryCannotBeMade)
{
    const QString fallback = Path(QStringLiteral("user/TmpTree"));
    QDir().mkpath(fallback);
    Touch(fallback + QStringLiteral("/stale.js"));

    // No data folder at all.
    EXPECT_EQ(PreparePreviewFolder(Path(QStringLiteral("NoTreeData/TmpTree")), fallback), fallback);
    EXPECT_TRUE(QDir(fallback).isEmpty());

    // A file stands where the folder should be, as a preview folder left in place would.
    Touch(Path(QStringLiteral("Blocked")));
    EXPECT_EQ(PreparePreviewFolder(Path(QStringLiteral("Blocked")), fallback), fallback);
}

TEST_F(PreviewFolders, KeepsThePrimaryWhenNeitherCanBeMade)
{
    Touch(Path(QStringLiteral("user")));
    const QString primary = Path(QStringLiteral("NoTreeData/TmpTree"));
    EXPECT_EQ(PreparePreviewFolder(primary, Path(QStringLiteral("user/TmpTree"))), primary);
}

TEST_F(PreviewFolders, RefusesAFallbackThatIsALink)
{
    QDir().mkpath(Path(QStringLiteral("elsewhere")));
    QFile::link(Path(QStringLiteral("elsewhere")), Path(QStringLiteral("user")));
    const QString primary = Path(QStringLiteral("NoTreeData/TmpTree"));
    EXPECT_EQ(PreparePreviewFolder(primary, Path(QStringLiteral("user/TmpTree"))), primary);
    EXPECT_TRUE(QDir(Path(QStringLiteral("elsewhere"))).isEmpty());
}

TEST(PreviewFolder, FallbackLiesInAUserFolderOfTheTemporaryFolder)
{
    const QString temp = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    const QString fallback = QDir::fromNativeSeparators(FallbackPreviewPath());
    EXPECT_TRUE(fallback.startsWith(temp + QLatin1Char('/'))) << qPrintable(fallback);
    EXPECT_TRUE(fallback.endsWith(QStringLiteral("/TmpTree")));
    EXPECT_EQ(fallback.count(QLatin1Char('/')), temp.count(QLatin1Char('/')) + 2);
}

class ScriptedOpener final : public WebOpener {
public:
    explicit ScriptedOpener(bool succeed) : succeed_(succeed) {}
    bool Open(const QUrl& address) override
    {
        Opened << address;
        return succeed_;
    }
    QList<QUrl> Opened;

private:
    bool succeed_;
};

TEST(OpenWebAddress, ReportsAMissingBrowserUnlessQuiet)
{
    struct Case {
        bool Started, Quiet;
        int Messages;
    };
    for (const Case c : {Case{true, false, 0}, Case{true, true, 0}, Case{false, false, 1}, Case{false, true, 0}}) {
        SCOPED_TRACE(testing::Message() << "started " << c.Started << " quiet " << c.Quiet);
        test::FakeUserInterface ui;
        ScriptedOpener opener(c.Started);
        EXPECT_EQ(OpenWebAddress(nullptr, QStringLiteral("https://example.org/a b"), c.Quiet, ui, opener), c.Started);
        ASSERT_EQ(opener.Opened.size(), 1);
        EXPECT_EQ(opener.Opened[0].toString(), QStringLiteral("https://example.org/a b"));
        ASSERT_EQ(ui.Messages.size(), std::size_t(c.Messages));
        if (c.Messages) {
            EXPECT_EQ(ui.Messages[0].Text, QStringLiteral("Could not find your default internet browser!"));
            EXPECT_EQ(ui.Messages[0].Kind, UserInterface::Icon::Exclamation);
        }
    }
}

} // namespace
} // namespace vi
