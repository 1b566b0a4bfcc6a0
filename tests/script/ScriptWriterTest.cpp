#include "script/ScriptWriter.h"

#include "document/TreeSettings.h"
#include "tests/script/ExportTestSupport.h"

#include <gtest/gtest.h>

using namespace vi;
using namespace vi::test;

TEST(ScriptWriter, HeaderValuesAreTrimmedFileNamesAndEmptyOnesEndInABlank)
{
    TreeSettings s;
    s.TreeX = -10;
    s.TreeLineColor = S(" Navy ");
    s.TreeBNonExpanded = S("C:\\web\\img/a\\closed.gif");
    s.TreeBExpanded = S("/home/me/pics/open.gif");
    s.TreeLeaf = S(" leaf.gif ");
    s.TreeBackground = S(" #FFFFFF ");
    s.TreeFontSize.clear();
    const QStringList lines = ScriptHeaderLines(s, true);
    ASSERT_EQ(lines.size(), kHeaderLineCount + kPreambleLineCount);
    EXPECT_EQ(lines.mid(14, 15).join(QLatin1Char('|')),
              S("//# TreeX = -10|//# TreeY = 5|//# TreeSize = 1|//# TreeLines = 1|//# TreeLineColor = Navy|"
                "//# TreePMColor = Black|//# TreeBNonExpanded = closed.gif|//# TreeBExpanded = open.gif|"
                "//# TreeLeaf = leaf.gif|//# TreeTarget = |//# TreeBackground = #FFFFFF|//# TreeFontSize = |"
                "//# TreeFontColor = Black|//\\\\|var BrowserSwitch = true;"));
    EXPECT_EQ(lines[29], S("var BackGroundColor = \" #FFFFFF \";"));
}
