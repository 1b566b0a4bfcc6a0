// Two editors, one folder: an export asks before it replaces a custom.js that
// changed on disk since this editor loaded or exported it.
#include "commands/DocumentPlace.h"
#include "commands/TreeCommands.h"
#include "script/ExportTree.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <functional>
#include <gtest/gtest.h>

namespace vi {
namespace {

using Answer = UserInterface::Answer;
using test::S;

struct ChangedOnDiskTest : ::testing::Test {
    test::FakeProgramFolder program;
    QTemporaryDir site, other;
    TreeDocument doc;
    test::FakeUserInterface ui;
    std::unique_ptr<DocumentPlace> place = std::make_unique<DocumentPlace>(doc);

    QString Script() const { return DocumentPlace::ScriptIn(site.path()); }
    // Another editor exports its own tree into the folder.
    void OtherEditorExports(const char* label)
    {
        TreeDocument theirs;
        test::FakeUserInterface theirUi;
        test::AddItem(theirs, theirs.Root(), S(label));
        ASSERT_TRUE(ExportTree(theirs, site.path(), false, theirUi).Complete());
    }
    void Change(const char* label)
    {
        test::AddItem(doc, doc.Root(), S(label));
        doc.SetTreeChanged(true);
    }
};

} // namespace

TEST_F(ChangedOnDiskTest, ExportAsksBeforeReplacingAFileChangedSinceLoadOrExport)
{
    const QString question = kScriptChangedQuestion.Text().arg(Script());
    const struct {
        const char* name;
        bool loaded; // else this editor exported there first
        std::function<void(ChangedOnDiskTest&)> meanwhile;
        bool asked;
    } cases[] = {
        {"unchanged since the load", true, [](ChangedOnDiskTest&) {}, false},
        {"unchanged since the export", false, [](ChangedOnDiskTest&) {}, false},
        {"another editor exported after the load", true, [](ChangedOnDiskTest& t) { t.OtherEditorExports("Theirs"); },
         true},
        {"hand edit after the export", false,
         [](ChangedOnDiskTest& t) { test::WriteFile(t.Script(), test::ReadFile(t.Script()) + "// mine\r\n"); }, true},
        {"the file was deleted", true, [](ChangedOnDiskTest& t) { QFile::remove(t.Script()); }, false},
        {"rewritten with the same bytes", false,
         [](ChangedOnDiskTest& t) { test::WriteFile(t.Script(), test::ReadFile(t.Script())); }, false},
    };
    for (const bool yes : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (yes ? ", Yes" : ", No"));
            place.reset();
            doc.NewTree();
            place = std::make_unique<DocumentPlace>(doc);
            ui.Questions.clear();
            if (c.loaded) {
                OtherEditorExports("Loaded");
                ui.Files = {Script()};
                LoadTreeCommand(doc, ui, place.get());
            } else {
                Change("Exported");
                ui.Folders = {site.path()};
                ExportTreeCommand(doc, ui, place.get());
            }
            ASSERT_EQ(place->Folder(), site.path());
            c.meanwhile(*this);
            const QByteArray before = test::ReadFile(Script());
            Change("Mine");
            ui.Answers = {yes ? Answer::Yes : Answer::No};
            SaveTreeCommand(doc, ui, *place); // exporting again where the document belongs

            EXPECT_EQ(ui.Questions, c.asked ? QStringList{question} : QStringList());
            const bool replaced = !c.asked || yes;
            EXPECT_EQ(doc.TreeChanged(), !replaced);
            EXPECT_EQ(test::ReadFile(Script()) == before, !replaced);
            // What was written now is what the next export compares with.
            ui.Questions.clear();
            ui.Folders = {site.path()};
            if (replaced) {
                ExportTreeCommand(doc, ui, place.get());
                EXPECT_TRUE(ui.Questions.isEmpty());
            }
        }
    }
}

TEST_F(ChangedOnDiskTest, AFolderNeverReadAsksNothingAndWhatIsKnownOutlivesANewTree)
{
    // A folder this editor never read or wrote: its custom.js is replaced without a question, as the CLI does.
    OtherEditorExports("Theirs");
    Change("Mine");
    ui.Folders = {site.path()};
    ExportTreeCommand(doc, ui, place.get());
    EXPECT_TRUE(ui.Questions.isEmpty());
    EXPECT_FALSE(doc.TreeChanged());

    NewTreeCommand(doc, ui, nullptr, place.get());
    // What is known of a file outlives the new tree: another editor's work is still noticed.
    OtherEditorExports("Theirs again");
    Change("Mine again");
    ui.Answers = {Answer::No};
    ui.Folders = {site.path()};
    ExportTreeCommand(doc, ui, place.get());
    EXPECT_EQ(ui.Questions.size(), 1);
    // Enter keeps the other editor's file.
    EXPECT_EQ(ui.QuestionButtons.back(), UserInterface::Buttons::YesNoDefaultNo);
    EXPECT_TRUE(doc.TreeChanged());
}

} // namespace vi
