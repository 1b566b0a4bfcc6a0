#include "preview/WebAddress.h"

#include "tests/support/FakeUserInterface.h"
#include "tests/support/ScriptedOpener.h"

#include <QUrl>
#include <gtest/gtest.h>

namespace vi {
namespace {

using test::ScriptedOpener;

TEST(OpenWebAddress, ReportsAMissingBrowserUnlessQuiet)
{
    for (const auto& [started, quiet] : {std::pair{true, false}, {true, true}, {false, false}, {false, true}}) {
        SCOPED_TRACE(std::string(started ? "browser starts" : "no browser") + (quiet ? ", quiet" : ""));
        test::FakeUserInterface ui;
        ScriptedOpener opener(started);
        const QString address = QStringLiteral("https://example.org/a?b=1");
        EXPECT_EQ(OpenWebAddress(nullptr, address, quiet, ui, opener), started);
        EXPECT_EQ(opener.Opened, QList<QUrl>{QUrl(address)});
        EXPECT_EQ(ui.MessageTexts(), started || quiet ? QStringList() : QStringList{kNoBrowserMessage});
    }
}

} // namespace
} // namespace vi
