#include "forms/ChoiceLists.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vi {
namespace {

TEST(ChoiceLists, FillersListTheirEntriesAndSelectTheirDefaults)
{
    struct Row {
        void (*Fill)(ComboBox&);
        qsizetype Count;
        QString First, Last, Selected;
    };
    const Row rows[] = {
        {FillColourList, 16, QStringLiteral("Black"), QStringLiteral("Fuchsia"), QStringLiteral("Gray")},
        {FillFontSizeList, 7, QStringLiteral("1"), QStringLiteral("-1"), QStringLiteral("2")},
        {FillItemHeightList, 5, QStringLiteral("16 Pixels"), QStringLiteral("32 Pixels"), QStringLiteral("20 Pixels")},
    };
    for (const Row& row : rows) {
        ComboBox list{{QStringLiteral("stale")}, 0};
        row.Fill(list);
        ASSERT_EQ(list.Entries.size(), row.Count);
        EXPECT_EQ(list.Entries.front(), row.First);
        EXPECT_EQ(list.Entries.back(), row.Last);
        EXPECT_EQ(list.Text(), row.Selected);
    }
}

TEST(ChoiceLists, LookupIgnoresCaseAndSurroundingSpacesAndTakesTheFirstMatch)
{
    const ComboBox list{{QStringLiteral("Red"), QStringLiteral(" navy "), QStringLiteral("NAVY")}};
    EXPECT_EQ(ListLookup(list, QStringLiteral("  NaVy")), 1);
    EXPECT_EQ(ListLookup(list, QStringLiteral("red")), 0);
    EXPECT_EQ(ListLookup(list, QStringLiteral("Blue")), -1);
    EXPECT_EQ(ListLookup(list, QString()), -1);
    EXPECT_EQ(ListLookup(ComboBox{}, QStringLiteral("Red")), -1);
}

TEST(ChoiceLists, LineColoursAreTheSubFoldersInNameOrderWithACapitalFirstLetter)
{
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    const QDir root(data.path());
    for (const char* name : {"red", "Aqua", "blacK", "mIxed"})
        ASSERT_TRUE(root.mkdir(QString::fromLatin1(name)));
    QFile file(root.filePath(QStringLiteral("2x2.gif"))); // files are no colours
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));

    ComboBox list;
    FillLineColourList(list, data.path());
    EXPECT_EQ(list.Entries, (QStringList{QStringLiteral("Aqua"), QStringLiteral("BlacK"), QStringLiteral("MIxed"),
                                         QStringLiteral("Red")}));
    EXPECT_EQ(list.ListIndex, 1);

    ASSERT_TRUE(root.rmdir(QStringLiteral("blacK")));
    FillLineColourList(list, data.path());
    EXPECT_EQ(list.Entries.size(), 3);
    EXPECT_EQ(list.ListIndex, -1);

    FillLineColourList(list, root.filePath(QStringLiteral("missing")));
    EXPECT_TRUE(list.Entries.isEmpty());
    EXPECT_EQ(list.Text(), QString());
}

} // namespace
} // namespace vi
