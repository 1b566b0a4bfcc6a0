#include "app/MainWindow.h"

#include "app/QtUserInterface.h"
#include "app/TreeModel.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "tests/support/FakeUserInterface.h"
#include "tests/support/ModelOutline.h"
#include "tests/support/TestTree.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>
#include <map>

using namespace vi;
using vi::test::Outline;

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

    TreeNode* AddItem(TreeNode* parent, const QString& name) { return test::AddItem(document, parent, name); }

    QPushButton* Button(const char* name) { return window->findChild<QPushButton*>(QString::fromLatin1(name)); }
};

} // namespace

TEST_F(MainWindowFixture, CaptionsTabOrderMenusAndTheirStandardShortcuts)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Vuvov-Ivoza"));
    EXPECT_EQ(window->centralWidget()->size(), QSize(638, 382));
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_LT(Button("Command1_4")->x(), Button("Command1_3")->x());

    // Every tab stop in order, buttons by caption; none is ever disabled.
    QStringList stops;
    QWidget* w = Button("Command1_0");
    for (int i = 0; i < 12; ++i, w = w->nextInFocusChain()) {
        while (!(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
        auto* button = qobject_cast<QPushButton*>(w);
        stops << (button ? button->text() : w->objectName()) + (w->isEnabled() ? QString() : QStringLiteral("(off)"));
    }
    EXPECT_EQ(stops.join(QLatin1Char('|')).toStdString(),
              "New &Tree|&Load Custom File|&Export Tree|&View Tree|Tree P&roperties|TreeView1|&New Item|"
              "Item &Properties|&Delete Item|&Up|Do&wn|&Close");

    QStringList captions;
    std::map<QString, QKeySequence> shortcuts;
    for (QAction* menuAction : window->menuBar()->actions()) {
        captions << menuAction->text();
        for (QAction* a : menuAction->menu()->actions()) {
            captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
            if (!a->shortcut().isEmpty())
                shortcuts[a->objectName()] = a->shortcut();
            EXPECT_TRUE(a->isEnabled());
        }
    }
    EXPECT_EQ(captions.join(QLatin1Char('|')).toStdString(),
              "&File|&New Tree|&Load Tree|&Export Tree|-|&Close|&Edit|&Undo|&Redo|-|Cu&t|&Copy|&Paste|&Tree|&View|"
              "&Properties|&Item|&New|&Properties|&Delete|-|Move &Up|Move Do&wn|&Help|&About");
    const std::map<QString, QKeySequence> standard = {
        {QStringLiteral("mnuUndo"), QKeySequence::Undo},   {QStringLiteral("mnuRedo"), QKeySequence::Redo},
        {QStringLiteral("mnuCut"), QKeySequence::Cut},     {QStringLiteral("mnuCopy"), QKeySequence::Copy},
        {QStringLiteral("mnuPaste"), QKeySequence::Paste}, {QStringLiteral("mnuDeleteItem"), QKeySequence::Delete},
    };
    EXPECT_EQ(shortcuts, standard);
}

// Collects what QAbstractItemModelTester reports, so that a broken model fails the test.
class ModelTesterWarnings {
public:
    ModelTesterWarnings() { previous_ = qInstallMessageHandler(&Collect); }
    ~ModelTesterWarnings() { qInstallMessageHandler(previous_); }
    static QStringList& Texts()
    {
        static QStringList texts;
        return texts;
    }

private:
    static void Collect(QtMsgType, const QMessageLogContext& context, const QString& text)
    {
        if (context.category && QLatin1String(context.category) == QLatin1String("qt.modeltest"))
            Texts() << text;
    }
    QtMessageHandler previous_ = nullptr;
};

TEST_F(MainWindowFixture, EachButtonRunsTheActionOfItsMenuEntry)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"Command1_0", "mnuNewTree"},  {"Command1_1", "mnuLoadTree"},   {"Command1_2", "mnuExportTree"},
        {"Command1_4", "mnuViewTree"}, {"Command1_3", "mnuPropTree"},   {"Command2_0", "mnuNewItem"},
        {"Command2_2", "mnuPropItem"}, {"Command2_1", "mnuDeleteItem"}, {"Command3_0", "mnuMoveUp"},
        {"Command3_1", "mnuMoveDown"}, {"Command2_3", "mnuClose"}};
    for (const auto& [button, entry] : pairs) {
        SCOPED_TRACE(button);
        auto* action = window->findChild<QAction*>(QString::fromLatin1(entry));
        ASSERT_NE(action, nullptr);
        // The commands themselves are left out: only the routing is under test.
        QObject::disconnect(action, &QAction::triggered, window.get(), nullptr);
        QSignalSpy triggered(action, &QAction::triggered);
        Button(button)->click();
        EXPECT_EQ(triggered.count(), 1);
    }
}

TEST_F(MainWindowFixture, TreeViewPresentsTheDocument)
{
    ModelTesterWarnings::Texts().clear();
    ModelTesterWarnings warnings;
    QAbstractItemModelTester tester(window->Model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    TreeNode* a = AddItem(document.Root(), QStringLiteral("A"));
    TreeNode* b = AddItem(a, QStringLiteral("B"));
    AddItem(b, QStringLiteral("B1"));
    AddItem(document.Root(), QStringLiteral("C"));
    document.MoveNode(a, 1);
    document.MoveNode(a, 0);
    document.MoveNode(a, 1);
    document.MoveNode(b, document.Root(), 0); // to another parent and back
    document.MoveNode(b, a, 0);
    document.SetText(b, QStringLiteral("B2"));

    TreeModel* model = window->Model();
    const QModelIndex root = model->index(0, 0);
    const QModelIndex aIndex = model->index(1, 0, root);
    EXPECT_EQ(Outline(*model).toStdString(), "Your Tree\n C\n A\n  B2\n   B1\n");

    // Selection and expansion follow the document, and the view reports back.
    document.SetExpanded(a, true);
    EXPECT_TRUE(window->TreeView()->isExpanded(aIndex));
    document.Select(b);
    EXPECT_EQ(model->NodeOf(window->TreeView()->currentIndex()), b);
    window->TreeView()->setCurrentIndex(root);
    EXPECT_EQ(document.SelectedNodeIndex(), 1);

    // A label edit through the view's model.
    EXPECT_TRUE(model->setData(model->index(0, 0, aIndex), QStringLiteral("B3")));
    EXPECT_EQ(b->Text(), QStringLiteral("B3"));

    document.RemoveNode(a->Position());
    EXPECT_EQ(Outline(*model).toStdString(), "Your Tree\n C\n");
    document.NewTree();
    EXPECT_EQ(Outline(*model).toStdString(), "Your Tree\n");
    EXPECT_EQ(ModelTesterWarnings::Texts().join(QLatin1Char('\n')).toStdString(), "");
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

TEST_F(MainWindowFixture, EndToEndAnEditedTreeExportsAndLoadsBackAsTheViewShowedIt)
{
    QTreeView* view = window->TreeView();
    auto click = [&](const char* name) { Button(name)->click(); };
    auto select = [&](const char* label) {
        view->setCurrentIndex(
            view->model()
                ->match(view->model()->index(0, 0), Qt::DisplayRole, QString::fromUtf8(label), 1, Qt::MatchRecursive)
                .value(0));
    };
    auto newItem = [&](const char* name, const QString& type) {
        ui.OnEditItem = [=](ItemRecord& r, const TreeSettings&) {
            r.FriendlyName = r.ItemText = QString::fromUtf8(name);
            r.ItemType = type;
            return true;
        };
        click("Command2_0");
    };

    select("Your Tree");
    newItem("Products", kBranch);
    newItem("Gadgets", kLeaf); // under the new item, which is selected
    select("Products");
    newItem("Widgets", kLeaf);
    select("Your Tree");
    newItem("About", kLeaf);
    select("Gadgets");
    ui.OnEditItem = [](ItemRecord& r, const TreeSettings&) {
        r.FriendlyName = QStringLiteral("Tools");
        return true;
    };
    click("Command2_2");
    select("About");
    click("Command3_0");
    EXPECT_EQ(view->currentIndex().data().toString(), QStringLiteral("About"));
    const QString shown = Outline(*view->model());
    EXPECT_EQ(shown.toStdString(), "Your Tree\n About\n Products\n  Tools\n  Widgets\n");

    QTemporaryDir out;
    ui.Folders = {out.path()};
    click("Command1_2");
    click("Command1_0"); // exported: no question
    EXPECT_EQ(Outline(*view->model()).toStdString(), "Your Tree\n");
    ui.Files = {JoinPath(out.path(), QStringLiteral("custom.js"))};
    click("Command1_1");
    EXPECT_TRUE(ui.Questions.isEmpty());
    EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Outline(*view->model()), shown);
    EXPECT_FALSE(document.TreeChanged());
}

TEST_F(MainWindowFixture, AClickOnEmptySpaceKeepsTheSelectionTheCommandsActOn)
{
    TreeNode* a = AddItem(document.Root(), QStringLiteral("A"));
    QTreeView* view = window->TreeView();
    QWidget* viewport = view->viewport();
    const QModelIndex aIndex = window->Model()->IndexOf(a);
    auto shownSelected = [&]() -> TreeNode* {
        const QModelIndexList selected = view->selectionModel()->selectedIndexes();
        return selected.isEmpty() ? nullptr : window->Model()->NodeOf(selected.constFirst());
    };

    struct Click {
        const char* name;
        QPoint place;
        Qt::KeyboardModifiers modifiers;
    };
    for (const Click& click :
         {Click{"empty space", QPoint(viewport->width() / 2, viewport->height() - 4), {}},
          Click{"control-click on the selected item", view->visualRect(aIndex).center(), Qt::ControlModifier}}) {
        SCOPED_TRACE(click.name);
        document.Select(a);
        QTest::mouseClick(viewport, Qt::LeftButton, click.modifiers, click.place);
        EXPECT_EQ(shownSelected(), a);
        EXPECT_EQ(document.SelectedNode(), a);
    }
}

TEST_F(MainWindowFixture, DoubleClickOpensABranchAndF2Renames)
{
    TreeNode* a = AddItem(document.Root(), QStringLiteral("A"));
    AddItem(a, QStringLiteral("B"));
    QTreeView* view = window->TreeView();
    const QModelIndex aIndex = window->Model()->IndexOf(a);
    document.SetExpanded(document.Root(), true);
    document.Select(a);
    ASSERT_FALSE(view->isExpanded(aIndex));

    // A real double-click: press, release, then the second press as a double-click.
    const QPoint place = view->visualRect(aIndex).center();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, place);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, place);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, place);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, place);
    EXPECT_TRUE(view->isExpanded(aIndex));
    EXPECT_EQ(view->indexWidget(aIndex), nullptr) << "a double-click starts no rename";

    QTest::keyClick(view, Qt::Key_F2);
    EXPECT_NE(view->indexWidget(aIndex), nullptr);
}

TEST_F(MainWindowFixture, MenuTitlesTakeTheirMnemonicsAndTheButtonsKeepTheOthers)
{
    QApplication::setActiveWindow(window.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    struct Row {
        const char* name;
        Qt::Key key;
        const char* menu; // the menu that opens, or nullptr
        bool loadDialog;  // whether "&Load Custom File" ran
    };
    for (const Row& row : {Row{"Alt+T opens the Tree menu at once", Qt::Key_T, "mnuTree", false},
                           Row{"Alt+F opens the File menu", Qt::Key_F, "mnuFile", false},
                           Row{"Alt+L presses the load button", Qt::Key_L, nullptr, true}}) {
        SCOPED_TRACE(row.name);
        ui.FileDialog.clear();
        QTest::keyClick(window.get(), row.key, Qt::AltModifier);
        if (row.loadDialog) { // a mnemonic presses its button with a short animation
            EXPECT_TRUE(QTest::qWaitFor([&] { return !ui.FileDialog.isEmpty(); }, 2000));
        }
        QWidget* popup = QApplication::activePopupWidget();
        EXPECT_EQ(popup ? popup->objectName().toStdString() : std::string(), row.menu ? row.menu : "");
        if (popup)
            popup->close();
        EXPECT_EQ(!ui.FileDialog.isEmpty(), row.loadDialog);
        EXPECT_FALSE(Button("Command1_0")->hasFocus());
    }
}

TEST_F(MainWindowFixture, TheRootIsSelectedAtStartAfterANewTreeAndAfterALoad)
{
    EXPECT_EQ(document.SelectedNodeIndex(), 1);
    ui.OnEditItem = [](ItemRecord& r, const TreeSettings&) {
        r.FriendlyName = QStringLiteral("Home");
        return true;
    };
    Button("Command2_0")->click();
    EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(document.NodeCount(), 2);

    QTemporaryDir out;
    ui.Folders = {out.path()};
    Button("Command1_2")->click();
    Button("Command1_0")->click();
    EXPECT_EQ(document.SelectedNodeIndex(), 1) << "after New Tree";

    document.Select(nullptr);
    ui.Files = {JoinPath(out.path(), QStringLiteral("custom.js"))};
    Button("Command1_1")->click();
    EXPECT_EQ(document.NodeCount(), 2);
    EXPECT_EQ(document.SelectedNodeIndex(), 1) << "after a load";
    EXPECT_EQ(window->Model()->NodeOf(window->TreeView()->currentIndex()), document.Root());
}

TEST(QtUserInterface, TurnsCoreTextsIntoQtOnes)
{
    EXPECT_EQ(QtUserInterface::ToDisplayText(QStringLiteral("a\rb\r\rc")), QStringLiteral("a\nb\n\nc"));
    EXPECT_EQ(QtUserInterface::ToQtFilter(QStringLiteral("Custom Tree File (*.js)|*.js")),
              QStringLiteral("Custom Tree File (*.js)"));
    EXPECT_EQ(QtUserInterface::ToQtFilter(QStringLiteral("All Files|*.*|GIF Format|*.GIF")),
              QStringLiteral("All Files (*.*);;GIF Format (*.GIF)"));
}
