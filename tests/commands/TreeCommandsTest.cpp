#include "commands/TreeCommands.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <gtest/gtest.h>

namespace vi {
namespace {

using Answer = UserInterface::Answer;

struct TreeCommandsTest : ::testing::Test {
    TreeDocument doc;
    test::FakeUserInterface ui;
    test::FakeProgramFolder program;
    QTemporaryDir out;

    void MakeChangedTree()
    {
        doc.NewTree();
        test::AddItem(doc, doc.Root(), QStringLiteral("Item"));
        doc.SetTreeChanged(true);
    }
};

TEST_F(TreeCommandsTest, TheExportQuestionGuardsUnexportedChanges)
{
    const struct {
        const char* name;
        Answer answer;
        std::optional<QString> folder; // the chooser's outcome after Yes
        bool kept;
    } cases[] = {
        {"cancel", Answer::Cancel, std::nullopt, true},
        {"no", Answer::No, std::nullopt, false},
        {"yes, chooser cancelled", Answer::Yes, std::nullopt, true},
        {"yes, exported", Answer::Yes, out.path(), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MakeChangedTree();
        ui.Questions.clear();
        ui.Answers = {c.answer};
        ui.Folders = {c.folder};
        NewTreeCommand(doc, ui);
        EXPECT_EQ(ui.Questions, QStringList{kExportChangesQuestion});
        EXPECT_EQ(doc.NodeCount(), c.kept ? 2 : 1);
        EXPECT_EQ(doc.TreeChanged(), c.kept);
    }
    EXPECT_TRUE(ui.MessageTexts().isEmpty());

    // Yes on a tree without items: the no-tree message, and the changes stay.
    ui.Answers = {Answer::Yes};
    doc.SetTreeChanged(true);
    EXPECT_TRUE(AskToExportChanges(doc, ui));
    EXPECT_EQ(ui.MessageTexts(), QStringList{kNoTreeToExportMessage});
}

TEST_F(TreeCommandsTest, LoadAsksForACustomFileInTheProgramFolder)
{
    LoadTreeCommand(doc, ui); // no changes: no question
    EXPECT_TRUE(ui.Questions.isEmpty());
    EXPECT_EQ(ui.FileDialog, (QStringList{QStringLiteral("Load Custom JavaScript Tree.."),
                                          QStringLiteral("Custom Tree File (*.js)|*.js"), ProgramFolder()}));
}

TEST_F(TreeCommandsTest, TreePropertiesRebuildTheRootStatementOnlyOnOk)
{
    for (bool confirm : {false, true}) {
        ui.OnEditSettings = [confirm](TreeSettings& s) {
            s.TreeX = 123;
            return confirm;
        };
        EditTreeProperties(doc, ui);
        EXPECT_EQ(doc.Settings().TreeX, confirm ? 123 : 5);
        EXPECT_EQ(doc.RootStatement().startsWith(QStringLiteral("var menuBase = new menuObject(123,5,")), confirm);
        EXPECT_EQ(doc.TreeChanged(), confirm);
    }
}

} // namespace
} // namespace vi
