#include "forms/ChoiceLists.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vi {
namespace {

TEST(ChoiceLists, LookupIgnoresCaseAndSurroundingSpacesAndTakesTheFirstMatch)
{
    const ComboBox list{{QStringLiteral("Red"), QStringLiteral(" navy "), QStringLiteral("NAVY")}};
    EXPECT_EQ(ListLookup(list, QStringLiteral("  NaVy")), 1);
    EXPECT_EQ(ListLookup(list, QStringLiteral("Blue")), -1);
    EXPECT_EQ(ListLookup(list, QString()), -1);
}

TEST(ChoiceLists, LineColoursAreTheSubFoldersInNameOrderWithACapitalFirstLetter)
{
    QTemporaryDir data;
    const QDir root(data.path());
    for (const char* name : {"red", "Aqua", "blacK", "mIxed"})
        ASSERT_TRUE(root.mkdir(QString::fromLatin1(name)));
    QFile file(root.filePath(QStringLiteral("2x2.gif"))); // files are no colours
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));

    ComboBox list;
    FillLineColourList(list, data.path());
    EXPECT_EQ(list.Entries, (QStringList{QStringLiteral("Aqua"), QStringLiteral("BlacK"), QStringLiteral("MIxed"),
                                         QStringLiteral("Red")}));
    EXPECT_EQ(list.ListIndex, 1); // "Black" is selected

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
