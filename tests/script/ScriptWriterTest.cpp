#include "document/TreeSettings.h"
#include "script/ScriptWriter.h"
#include "tests/script/ExportTestSupport.h"

#include <QBuffer>
#include <gtest/gtest.h>

using namespace vi;
using namespace vi::test;

TEST(ScriptWriter, HeaderValuesAreTrimmedFileNamesAndEmptyOnesEndInABlank)
{
    TreeSettings s;
    s.TreeX = -10;
    s.TreeLines = 0;
    s.TreeLineColor = S(" Navy ");
    s.TreeBNonExpanded = S("C:\\web\\img/a\\closed.gif");
    s.TreeBExpanded = S("/home/me/pics/open.gif");
    s.TreeLeaf = S(" leaf.gif ");
    s.TreeBackground = S(" #FFFFFF ");
    s.TreeFontSize.clear();
    s.TreeFontColor.clear();

    const QStringList lines = ScriptHeaderLines(s, true);
    ASSERT_EQ(lines.size(), kHeaderLineCount + kPreambleLineCount);
    const QStringList expected{S("//# TreeX = -10"), S("//# TreeY = 5"), S("//# TreeSize = 1"), S("//# TreeLines = 0"),
                               S("//# TreeLineColor = Navy"), S("//# TreePMColor = Black"),
                               S("//# TreeBNonExpanded = closed.gif"), S("//# TreeBExpanded = open.gif"),
                               S("//# TreeLeaf = leaf.gif"), S("//# TreeTarget = "), S("//# TreeBackground = #FFFFFF"),
                               S("//# TreeFontSize = "), S("//# TreeFontColor = ")};
    EXPECT_EQ(lines.mid(14, 13), expected);
    EXPECT_EQ(lines[27], S("//\\\\"));
    EXPECT_EQ(lines[28], S("var BrowserSwitch = true;"));
    EXPECT_EQ(lines[29], S("var BackGroundColor = \" #FFFFFF \";"));
    EXPECT_EQ(ScriptHeaderLines(TreeSettings{}, false)[28], S("var BrowserSwitch = false;"));
}

TEST(ScriptWriter, WritesUtf8LinesEndedByCrLfAndStopsAfterAFailure)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ScriptLineWriter writer(buffer);
    writer.WriteLine(S("größe"));
    writer.WriteLine(QString());
    EXPECT_TRUE(writer.Finish());
    EXPECT_EQ(buffer.data(), QByteArray("gr\xc3\xb6\xc3\x9f" "e\r\n\r\n"));

    QBuffer closed; // not open: every write fails
    ScriptLineWriter failing(closed);
    failing.WriteLine(S("a"));
    EXPECT_FALSE(failing.Finish());
}
