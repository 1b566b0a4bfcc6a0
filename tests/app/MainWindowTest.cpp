#include "app/MainWindow.h"
#include "app/QtUserInterface.h"
#include "app/TreeModel.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "tests/support/FakeUserInterface.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace vi;

namespace {

struct MainWindowFixture : ::testing::Test {
    TreeDocument document;
    test::FakeUserInterface ui;
    std::unique_ptr<MainWindow> window;

    void SetUp() override
    {
        window = std::make_unique<MainWindow>(document, ui);
        window->SetQuitOnUnload(false);
        window->show();
    }

    TreeNode* AddItem(TreeNode* parent, const QString& name)
    {
        const int k = *document.AddItemRecord();
        TreeNode* n = document.AddNode(parent, name, k);
        document.InitItemRecord(k);
        document.Record(k).FriendlyName = name;
        return n;
    }

    QPushButton* Button(const char* name) { return window->findChild<QPushButton*>(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(MainWindowFixture, CaptionsPlacesAndFixedSize)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Vuvov-Ivoza"));
    EXPECT_EQ(window->centralWidget()->size(), QSize(638, 382));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);

    const struct {
        const char* name;
        const char* caption;
        QRect place;
    } buttons[] = {
        {"Command1_0", "New &Tree", {9, 11, 99, 26}},          {"Command1_1", "&Load Custom File", {112, 11, 99, 26}},
        {"Command1_2", "&Export Tree", {215, 11, 99, 26}},     {"Command1_4", "&View Tree", {318, 11, 99, 26}},
        {"Command1_3", "Tree P&roperties", {421, 11, 99, 26}}, {"Command2_0", "&New Item", {532, 45, 94, 26}},
        {"Command2_2", "Item &Properties", {532, 75, 94, 26}}, {"Command2_1", "&Delete Item", {532, 105, 94, 26}},
        {"Command3_0", "&Up", {560, 178, 43, 34}},             {"Command3_1", "Do&wn", {560, 216, 43, 34}},
        {"Command2_3", "&Close", {534, 344, 94, 26}},
    };
    for (const auto& b : buttons) {
        QPushButton* button = Button(b.name);
        ASSERT_NE(button, nullptr) << b.name;
        EXPECT_EQ(button->text(), QString::fromLatin1(b.caption)) << b.name;
        EXPECT_EQ(button->geometry(), b.place) << b.name;
        EXPECT_TRUE(button->isEnabled());
    }
    EXPECT_EQ(window->TreeView()->geometry(), QRect(11, 45, 510, 325));
}

TEST_F(MainWindowFixture, MenusHaveTheirCaptionsAndNoShortcuts)
{
    QStringList captions;
    for (QAction* menuAction : window->menuBar()->actions()) {
        captions << menuAction->text();
        for (QAction* a : menuAction->menu()->actions()) {
            captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
            EXPECT_TRUE(a->shortcut().isEmpty());
            EXPECT_TRUE(a->isEnabled());
        }
    }
    EXPECT_EQ(captions, (QStringList{
                            QStringLiteral("&File"), QStringLiteral("&New Tree"), QStringLiteral("&Load Tree"),
                            QStringLiteral("&Export Tree"), QStringLiteral("-"), QStringLiteral("&Close"),
                            QStringLiteral("&Tree"), QStringLiteral("&View"), QStringLiteral("&Properties"),
                            QStringLiteral("&Item"), QStringLiteral("&New"), QStringLiteral("&Properties"),
                            QStringLiteral("&Delete"), QStringLiteral("-"), QStringLiteral("Move &Up"),
                            QStringLiteral("Move Do&wn"), QStringLiteral("&Help"), QStringLiteral("&About"),
                        }));
}

TEST_F(MainWindowFixture, TabOrderPutsViewBeforeProperties)
{
    const QStringList expected = {QStringLiteral("Command1_0"), QStringLiteral("Command1_1"),
                                  QStringLiteral("Command1_2"), QStringLiteral("Command1_4"),
                                  QStringLiteral("Command1_3"), QStringLiteral("TreeView1"),
                                  QStringLiteral("Command2_0"), QStringLiteral("Command2_2"),
                                  QStringLiteral("Command2_1"), QStringLiteral("Command3_0"),
                                  QStringLiteral("Command3_1"), QStringLiteral("Command2_3")};
    QWidget* w = Button("Command1_0");
    QStringList seen;
    for (int i = 0; i < expected.size(); ++i) {
        seen << w->objectName();
        w = w->nextInFocusChain();
        while (w && !(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
    }
    EXPECT_EQ(seen, expected);
}

TEST_F(MainWindowFixture, TreeViewPresentsTheDocument)
{
    QAbstractItemModelTester tester(window->Model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    TreeNode* a = AddItem(document.Root(), QStringLiteral("A"));
    TreeNode* b = AddItem(a, QStringLiteral("B"));
    AddItem(document.Root(), QStringLiteral("C"));
    document.MoveNode(a, 1);
    document.SetText(b, QStringLiteral("B2"));

    TreeModel* model = window->Model();
    const QModelIndex root = model->index(0, 0);
    EXPECT_EQ(root.data().toString(), QStringLiteral("Your Tree"));
    ASSERT_EQ(model->rowCount(root), 2);
    EXPECT_EQ(model->index(0, 0, root).data().toString(), QStringLiteral("C"));
    const QModelIndex aIndex = model->index(1, 0, root);
    EXPECT_EQ(model->index(0, 0, aIndex).data().toString(), QStringLiteral("B2"));

    // Selection and expansion follow the document, and the view reports back.
    document.SetExpanded(a, true);
    EXPECT_TRUE(window->TreeView()->isExpanded(aIndex));
    document.Select(b);
    EXPECT_EQ(model->NodeOf(window->TreeView()->currentIndex()), b);
    window->TreeView()->setCurrentIndex(root);
    EXPECT_EQ(document.SelectedNodeIndex(), 1);

    document.RemoveNode(a->Position());
    EXPECT_EQ(model->rowCount(root), 1);
    document.NewTree();
    EXPECT_EQ(model->rowCount(model->index(0, 0)), 0);
}

TEST_F(MainWindowFixture, LabelEditRules)
{
    TreeNode* a = AddItem(document.Root(), QStringLiteral("A"));
    TreeModel* model = window->Model();
    const QModelIndex root = model->index(0, 0);
    const QModelIndex item = model->index(0, 0, root);

    EXPECT_FALSE(model->flags(root) & Qt::ItemIsEditable) << "the root's label never starts editing";
    EXPECT_TRUE(model->flags(item) & Qt::ItemIsEditable);

    // Through the real editor: type into the line edit and commit.
    window->TreeView()->setCurrentIndex(item);
    window->TreeView()->edit(item);
    auto* editor = qobject_cast<QLineEdit*>(window->TreeView()->indexWidget(item));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("A"));
    editor->setText(QStringLiteral("   "));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits on a queued call
    EXPECT_EQ(a->Text(), QStringLiteral("A"));
    ASSERT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("You have to specify a friendly name.")});
    EXPECT_FALSE(document.TreeChanged());

    EXPECT_FALSE(model->setData(item, QStringLiteral("a[+]b")));
    EXPECT_EQ(a->Text(), QStringLiteral("A"));
    EXPECT_EQ(ui.Messages.size(), 2u);

    EXPECT_TRUE(model->setData(item, QStringLiteral("A")));
    EXPECT_FALSE(document.TreeChanged()) << "an edit that keeps the text is no change";

    EXPECT_TRUE(model->setData(item, QStringLiteral(" Home ")));
    EXPECT_EQ(a->Text(), QStringLiteral(" Home "));
    EXPECT_EQ(document.RecordOf(a).FriendlyName, QStringLiteral(" Home "));
    EXPECT_TRUE(document.TreeChanged());
}

TEST_F(MainWindowFixture, ClosingWithoutChangesAsksNothingAndRemovesThePreviewFolder)
{
    QTemporaryDir program;
    SetProgramFolder(program.path());
    ASSERT_TRUE(QDir().mkpath(TmpTreePath() + QStringLiteral("/treePics")));

    EXPECT_TRUE(window->close());
    EXPECT_TRUE(ui.Questions.isEmpty());
    EXPECT_FALSE(QDir(TmpTreePath()).exists());
    SetProgramFolder({});
}

TEST(QtUserInterface, TurnsCoreTextsIntoQtOnes)
{
    EXPECT_EQ(QtUserInterface::ToDisplayText(QStringLiteral("a\rb\r\rc")), QStringLiteral("a\nb\n\nc"));
    EXPECT_EQ(QtUserInterface::ToQtFilter(QStringLiteral("Custom Tree File (*.js)|*.js")),
              QStringLiteral("Custom Tree File (*.js)"));
    EXPECT_EQ(QtUserInterface::ToQtFilter(QStringLiteral("All Files|*.*|GIF Format|*.GIF")),
              QStringLiteral("All Files (*.*);;GIF Format (*.GIF)"));
}
