#include "commands/ItemCommands.h"
#include "commands/TreeCommands.h"
#include "document/AppInfo.h"
#include "document/RootStatement.h"
#include "document/TreeDocument.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vi {
namespace {

using Answer = UserInterface::Answer;

// Also notes how the file dialog was prepared.
class RecordingUserInterface : public test::FakeUserInterface {
public:
    QString Filter;
    QString InitialFolder;
    std::optional<QString> ChooseFileToLoad(const QString& title, const QString& filter,
                                            const QString& initialFolder) override
    {
        Filter = filter;
        InitialFolder = initialFolder;
        return FakeUserInterface::ChooseFileToLoad(title, filter, initialFolder);
    }
};

class TreeCommandsTest : public ::testing::Test {
protected:
    TreeDocument doc;
    RecordingUserInterface ui;

    // An item under the root, and unexported changes.
    void MakeChangedTree()
    {
        const int k = *doc.AddItemRecord();
        doc.InitItemRecord(k);
        doc.Record(k).FriendlyName = QStringLiteral("Item");
        doc.AddNode(doc.Root(), QStringLiteral("Item"), k);
        doc.SetTreeChanged(true);
    }
};

TEST_F(TreeCommandsTest, NothingIsAskedWithoutChanges)
{
    MakeChangedTree();
    doc.SetTreeChanged(false);
    EXPECT_FALSE(AskToExportChanges(doc, ui));
    NewTreeCommand(doc, ui);
    EXPECT_EQ(doc.NodeCount(), 1);
    LoadTreeCommand(doc, ui);
    EXPECT_TRUE(ui.Questions.isEmpty());
    EXPECT_EQ(ui.FileDialogTitles, QStringList{kLoadDialogTitle});
}

TEST_F(TreeCommandsTest, AnswersToTheExportQuestion)
{
    struct Case {
        const char* name;
        Answer answer;
        std::optional<QString> folder; // the folder chooser's outcome after Yes
        bool stop;
    };
    const Case cases[] = {
        {"cancel keeps the document", Answer::Cancel, std::nullopt, true},
        {"no goes on", Answer::No, std::nullopt, false},
        {"yes with a cancelled chooser keeps the document", Answer::Yes, std::nullopt, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc.NewTree();
        MakeChangedTree();
        ui.Questions.clear();
        ui.Answers = {c.answer};
        ui.Folders = {c.folder};
        NewTreeCommand(doc, ui);
        EXPECT_EQ(ui.Questions, QStringList{kExportChangesQuestion});
        EXPECT_EQ(doc.NodeCount(), c.stop ? 2 : 1);
        EXPECT_EQ(doc.TreeChanged(), c.stop);
    }
}

TEST_F(TreeCommandsTest, YesOnATreeWithoutItemsShowsTheNoTreeMessageAndKeepsTheChanges)
{
    doc.SetTreeChanged(true);
    ui.Answers = {Answer::Yes};
    ui.Folders = {QStringLiteral("/tmp")};
    EXPECT_TRUE(AskToExportChanges(doc, ui));
    EXPECT_EQ(ui.MessageTexts(), QStringList{kNoTreeToExportMessage});
    EXPECT_EQ(ui.Folders.size(), 1u); // the chooser never opened
}

TEST_F(TreeCommandsTest, LoadAsksForACustomFileInTheProgramFolderAndACancelChangesNothing)
{
    MakeChangedTree();
    ui.Answers = {Answer::No};
    LoadTreeCommand(doc, ui);
    EXPECT_EQ(ui.FileDialogTitles, QStringList{QStringLiteral("Load Custom JavaScript Tree..")});
    EXPECT_EQ(ui.Filter, QStringLiteral("Custom Tree File (*.js)|*.js"));
    EXPECT_EQ(ui.InitialFolder, ProgramFolder());
    EXPECT_EQ(doc.NodeCount(), 2);
    EXPECT_TRUE(doc.TreeChanged());

    ui.FileDialogTitles.clear();
    ui.Answers = {Answer::Cancel};
    LoadTreeCommand(doc, ui);
    EXPECT_TRUE(ui.FileDialogTitles.isEmpty());
}

TEST_F(TreeCommandsTest, TreePropertiesRebuildTheRootStatementOnlyOnOk)
{
    const QString before = doc.RootStatement();
    ui.OnEditSettings = [](TreeSettings& s) {
        s.TreeX = 123;
        return false;
    };
    EditTreeProperties(doc, ui);
    EXPECT_EQ(doc.Settings().TreeX, 5);
    EXPECT_EQ(doc.RootStatement(), before);
    EXPECT_FALSE(doc.TreeChanged());
    EXPECT_EQ(ui.PendingEventRuns, 1);

    ui.OnEditSettings = [](TreeSettings& s) {
        s.TreeX = 123;
        return true;
    };
    EditTreeProperties(doc, ui);
    EXPECT_EQ(doc.Settings().TreeX, 123);
    EXPECT_TRUE(doc.RootStatement().startsWith(QStringLiteral("var menuBase = new menuObject(123,5,")));
    EXPECT_TRUE(doc.TreeChanged());

    // Confirming without a change still marks the document changed.
    doc.SetTreeChanged(false);
    ui.OnEditSettings = [](TreeSettings&) { return true; };
    EditTreeProperties(doc, ui);
    EXPECT_TRUE(doc.TreeChanged());
}

// The labels of the tree, one line per item, indented by depth.
QStringList Outline(const TreeNode* node, int depth = 0)
{
    QStringList lines;
    for (const TreeNode* child : node->Children()) {
        lines << QString(depth, QLatin1Char(' ')) + child->Text();
        lines << Outline(child, depth + 1);
    }
    return lines;
}

TEST_F(TreeCommandsTest, YesWithASuccessfulExportGoesOn)
{
    test::FakeProgramFolder program;
    QTemporaryDir out;
    MakeChangedTree();
    ui.Answers = {Answer::Yes};
    ui.Folders = {out.path()};
    NewTreeCommand(doc, ui);
    EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(QFile::exists(out.filePath(QStringLiteral("custom.js"))));
    EXPECT_EQ(doc.NodeCount(), 1);
}

TEST_F(TreeCommandsTest, AnExportedTreeLoadsBackInTheSameShapeAfterAMove)
{
    test::FakeProgramFolder program;
    QTemporaryDir out;
    auto add = [&](TreeNode* parent, const char* name, const QString& type) {
        doc.Select(parent);
        ui.OnEditItem = [&](ItemRecord& r, const TreeSettings&) {
            r.FriendlyName = QString::fromUtf8(name);
            r.ItemText = r.FriendlyName;
            r.ItemType = type;
            return true;
        };
        NewItem(doc, ui);
        return parent->LastChild();
    };
    TreeNode* branch = add(doc.Root(), "Branch", kBranch);
    add(branch, "A", kLeaf);
    add(branch, "B", kLeaf);
    TreeNode* leaf = add(doc.Root(), "Leaf", kLeaf);
    doc.Select(leaf);
    MoveItem(doc, true);
    const QStringList shape = Outline(doc.Root());

    ui.Folders = {out.path()};
    ExportTreeCommand(doc, ui);
    EXPECT_FALSE(doc.TreeChanged());
    NewTreeCommand(doc, ui);
    ui.Files = {out.filePath(QStringLiteral("custom.js"))};
    LoadTreeCommand(doc, ui);
    EXPECT_TRUE(ui.Questions.isEmpty());
    EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Outline(doc.Root()), shape);
    EXPECT_EQ(doc.CheckInvariants(), QString());
    EXPECT_FALSE(doc.TreeChanged());
}

} // namespace
} // namespace vi
