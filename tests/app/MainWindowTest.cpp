// The main window, its tree view, the Edit menu, drag and drop and the
// clipboard, driven as a user would on the offscreen platform.
#include "app/MainWindow.h"

#include "app/QtUserInterface.h"
#include "app/TreeModel.h"
#include "commands/ClipboardCommands.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "tests/support/FakeUserInterface.h"
#include "tests/support/ModelOutline.h"
#include "tests/support/TestTree.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <array>
#include <gtest/gtest.h>
#include <vector>

using namespace vi;
using vi::test::Outline;

namespace {

// Scripted dialogs and messages, the system's clipboard.
struct ClipboardUserInterface : test::FakeUserInterface {
    QtUserInterface qt;
    void PutItemsOnClipboard(const QByteArray& items, const QString& text) override
    {
        qt.PutItemsOnClipboard(items, text);
    }
    QByteArray ItemsOnClipboard() override { return qt.ItemsOnClipboard(); }
};

// An editor window over its own document, as a second running editor would be.
struct Editor {
    TreeDocument document;
    ClipboardUserInterface ui;
    MainWindow window{document, ui};

    Editor()
    {
        window.SetQuitOnUnload(false);
        window.show();
    }
    ~Editor() { window.close(); }

    TreeNode* AddItem(TreeNode* parent, const QString& name) { return test::AddItem(document, parent, name); }
    QPushButton* Button(const char* name) { return window.findChild<QPushButton*>(QString::fromLatin1(name)); }
    QTreeView* View() const { return window.TreeView(); }
    QModelIndex Index(const char* label) const
    {
        QAbstractItemModel* m = View()->model();
        return m->match(m->index(0, 0), Qt::DisplayRole, QString::fromUtf8(label), 1, Qt::MatchRecursive).value(0);
    }
    void Select(const char* label) { View()->setCurrentIndex(Index(label)); }
    QString Shown() const { return Outline(*View()->model()); }
    void Trigger(const char* action) { window.findChild<QAction*>(QString::fromLatin1(action))->trigger(); }
    QString MenuText(const char* action)
    {
        emit window.findChild<QMenu*>(QStringLiteral("mnuEdit"))->aboutToShow();
        return window.findChild<QAction*>(QString::fromLatin1(action))->text();
    }

    // Your Tree > A (a1, a2), B, L (a leaf); every item expanded.
    void BuildTree()
    {
        TreeNode* a = AddItem(document.Root(), QStringLiteral("A"));
        AddItem(a, QStringLiteral("a1"));
        AddItem(a, QStringLiteral("a2"));
        AddItem(document.Root(), QStringLiteral("B"));
        test::AddItem(document, document.Root(), QStringLiteral("L"), [](ItemRecord& r) { r.ItemType = kLeaf; });
        View()->expandAll();
        document.SetTreeChanged(false);
    }

    // Drags the item with the given label and drops it on the viewport at the
    // point where (0 top edge, 1 middle, 2 bottom edge of the target's row).
    bool Drag(const char* dragged, const char* target, int where)
    {
        std::unique_ptr<QMimeData> data(View()->model()->mimeData({Index(dragged)}));
        const QRect rect = View()->visualRect(Index(target));
        const QPoint at(rect.center().x(), std::array{rect.top() + 1, rect.center().y(), rect.bottom() - 1}[where]);
        QWidget* viewport = View()->viewport();
        QDragEnterEvent enter(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
        if (!move.isAccepted())
            return false;
        QDropEvent drop(at, Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &drop);
        return drop.isAccepted();
    }
};

struct MainWindowFixture : ::testing::Test, Editor {};

} // namespace

TEST_F(MainWindowFixture, CaptionsMenusTabOrderAndTheEntryEachButtonRuns)
{
    QStringList captions;
    QString ran;
    for (QAction* menuAction : window.menuBar()->actions()) {
        captions << menuAction->text();
        for (QAction* a : menuAction->menu()->actions()) {
            captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
            EXPECT_TRUE(a->isEnabled());
            // The commands themselves are left out: only the routing from the buttons is under test.
            QObject::disconnect(a, &QAction::triggered, &window, nullptr);
            QObject::connect(a, &QAction::triggered, &window, [&ran, a] { ran = a->objectName(); });
        }
    }
    EXPECT_EQ(captions.join(QLatin1Char('|')).toStdString(),
              "&File|&New Tree|&Load Tree|&Export Tree|-|&Close|&Edit|&Undo|&Redo|-|Cu&t|&Copy|&Paste|&Tree|&View|"
              "&Properties|&Item|&New|&Properties|&Delete|-|Move &Up|Move Do&wn|&Help|&About");

    // Every tab stop in order, buttons by caption and the entry they run; none is ever disabled.
    QStringList stops;
    QWidget* w = Button("Command1_0");
    for (int i = 0; i < 12; ++i, w = w->nextInFocusChain()) {
        while (!(w->focusPolicy() & Qt::TabFocus))
            w = w->nextInFocusChain();
        ran.clear();
        if (auto* button = qobject_cast<QPushButton*>(w))
            button->click();
        stops << (ran.isEmpty() ? w->objectName() : qobject_cast<QPushButton*>(w)->text() + QLatin1Char('=') + ran)
                     + (w->isEnabled() ? QString() : QStringLiteral("(off)"));
    }
    EXPECT_EQ(stops.join(QLatin1Char('|')).toStdString(),
              "New &Tree=mnuNewTree|&Load Custom File=mnuLoadTree|&Export Tree=mnuExportTree|&View Tree=mnuViewTree|"
              "Tree P&roperties=mnuPropTree|TreeView1|&New Item=mnuNewItem|Item &Properties=mnuPropItem|"
              "&Delete Item=mnuDeleteItem|&Up=mnuMoveUp|Do&wn=mnuMoveDown|&Close=mnuClose");
}

TEST_F(MainWindowFixture, TreeViewPresentsTheDocument)
{
    // A model that breaks Qt's rules on any change stops the test.
    QAbstractItemModelTester tester(window.Model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    TreeNode* a = AddItem(document.Root(), QStringLiteral("A"));
    TreeNode* b = AddItem(a, QStringLiteral("B"));
    AddItem(b, QStringLiteral("B1"));
    AddItem(document.Root(), QStringLiteral("C"));
    document.MoveNode(a, 1);
    document.MoveNode(b, document.Root(), 0); // to another parent and back
    document.MoveNode(b, a, 0);
    document.SetText(b, QStringLiteral("B2"));

    TreeModel* model = window.Model();
    EXPECT_EQ(Outline(*model).toStdString(), "Your Tree\n C\n A\n  B2\n   B1\n");

    // Selection and expansion follow the document, and the view reports back.
    document.SetExpanded(a, true);
    EXPECT_TRUE(View()->isExpanded(model->index(1, 0, model->index(0, 0))));
    document.Select(b);
    EXPECT_EQ(model->NodeOf(View()->currentIndex()), b);
    View()->setCurrentIndex(model->index(0, 0));
    EXPECT_EQ(document.SelectedNodeIndex(), 1);

    document.RemoveNode(a->Position());
    EXPECT_EQ(Outline(*model).toStdString(), "Your Tree\n C\n");
    document.NewTree();
    EXPECT_EQ(Outline(*model).toStdString(), "Your Tree\n");
}

TEST_F(MainWindowFixture, ClicksKeepTheSelectionDoubleClickOpensABranchAndF2RenamesByTheLabelRules)
{
    TreeNode* a = AddItem(document.Root(), QStringLiteral("A"));
    AddItem(a, QStringLiteral("B"));
    document.SetExpanded(document.Root(), true);
    TreeModel* model = window.Model();
    const QModelIndex aIndex = model->IndexOf(a);
    QWidget* viewport = View()->viewport();
    for (const auto& [name, place, modifiers] :
         {std::tuple{"empty space", QPoint(viewport->width() / 2, viewport->height() - 4), Qt::NoModifier},
          std::tuple{"control-click on the selected item", View()->visualRect(aIndex).center(), Qt::ControlModifier}}) {
        SCOPED_TRACE(name);
        document.Select(a);
        QTest::mouseClick(viewport, Qt::LeftButton, modifiers, place);
        EXPECT_EQ(View()->selectionModel()->selectedIndexes(), QModelIndexList{aIndex});
        EXPECT_EQ(document.SelectedNode(), a);
    }

    // A real double-click: press, release, then the second press as a double-click.
    ASSERT_FALSE(View()->isExpanded(aIndex));
    const QPoint place = View()->visualRect(aIndex).center();
    QTest::mousePress(viewport, Qt::LeftButton, {}, place);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, place);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, place);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, place);
    EXPECT_TRUE(View()->isExpanded(aIndex));
    EXPECT_EQ(View()->indexWidget(aIndex), nullptr) << "a double-click starts no rename";

    EXPECT_FALSE(model->flags(model->index(0, 0)) & Qt::ItemIsEditable) << "the root's label never starts editing";
    QTest::keyClick(View(), Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(View()->indexWidget(aIndex));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("A"));
    editor->setText(QStringLiteral("   "));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the delegate commits on a queued call
    EXPECT_EQ(a->Text(), QStringLiteral("A"));
    ASSERT_EQ(ui.MessageTexts(), QStringList{QStringLiteral("You have to specify a friendly name.")});
    EXPECT_FALSE(document.TreeChanged());
    EXPECT_TRUE(model->setData(aIndex, QStringLiteral("A")));
    EXPECT_FALSE(document.TreeChanged()) << "an edit that keeps the text is no change";
    EXPECT_TRUE(model->setData(aIndex, QStringLiteral(" Home ")));
    EXPECT_EQ(document.RecordOf(a).FriendlyName, QStringLiteral(" Home "));
    EXPECT_TRUE(document.TreeChanged());
}

TEST_F(MainWindowFixture, ClosingWithoutChangesAsksNothingAndRemovesThePreviewFolder)
{
    QTemporaryDir program;
    SetProgramFolder(program.path());
    ASSERT_TRUE(QDir().mkpath(TmpTreePath() + QStringLiteral("/treePics")));

    EXPECT_TRUE(window.close());
    EXPECT_TRUE(ui.Questions.isEmpty());
    EXPECT_FALSE(QDir(TmpTreePath()).exists());
    SetProgramFolder({});
}

TEST_F(MainWindowFixture, EndToEndAnEditedTreeExportsAndLoadsBackAsTheViewShowedItTheRootSelected)
{
    auto edit = [&](const char* button, const char* name, const QString& type) {
        ui.OnEditItem = [=](ItemRecord& r, const TreeSettings&) {
            r.FriendlyName = r.ItemText = QString::fromUtf8(name);
            r.ItemType = type;
            return true;
        };
        Button(button)->click();
    };
    auto newItem = [&](const char* name, const QString& type) { edit("Command2_0", name, type); };

    EXPECT_EQ(document.SelectedNodeIndex(), 1) << "at start";
    newItem("Products", kBranch);
    newItem("Gadgets", kLeaf); // under the new item, which is selected
    Select("Products");
    newItem("Widgets", kLeaf);
    Select("Your Tree");
    newItem("About", kLeaf);
    Select("Gadgets");
    edit("Command2_2", "Tools", kLeaf);
    Select("About");
    Button("Command3_0")->click();
    EXPECT_EQ(View()->currentIndex().data().toString(), QStringLiteral("About"));
    const QString shown = Shown();
    EXPECT_EQ(shown.toStdString(), "Your Tree\n About\n Products\n  Tools\n  Widgets\n");

    QTemporaryDir out;
    ui.Folders = {out.path()};
    Button("Command1_2")->click();
    Button("Command1_0")->click(); // exported: no question
    EXPECT_EQ(Shown().toStdString(), "Your Tree\n");
    EXPECT_EQ(document.SelectedNodeIndex(), 1) << "after New Tree";
    document.Select(nullptr);
    ui.Files = {JoinPath(out.path(), QStringLiteral("custom.js"))};
    Button("Command1_1")->click();
    EXPECT_TRUE(ui.Questions.isEmpty());
    EXPECT_TRUE(ui.MessageTexts().isEmpty()) << ui.MessageTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Shown(), shown);
    EXPECT_FALSE(document.TreeChanged());
    EXPECT_EQ(document.SelectedNodeIndex(), 1) << "after a load";
    EXPECT_EQ(View()->currentIndex(), View()->model()->index(0, 0));
}

TEST(QtUserInterface, TurnsCoreTextsIntoQtOnes)
{
    EXPECT_EQ(QtUserInterface::ToDisplayText(QStringLiteral("a\rb\r\rc")), QStringLiteral("a\nb\n\nc"));
    EXPECT_EQ(QtUserInterface::ToQtFilter(QStringLiteral("All Files|*.*|GIF Format|*.GIF")),
              QStringLiteral("All Files (*.*);;GIF Format (*.GIF)"));
}

TEST(DragAndDrop, MovesAnItemWithItsSubItemsAsOneStepThatTheEditMenuNames)
{
    Editor e;
    e.BuildTree();
    const QString before = e.Shown();
    EXPECT_EQ(e.MenuText("mnuUndo"), QStringLiteral("&Undo"));
    // [case, dragged, target, where, outline after the drop (nullptr: refused, nothing changes)]
    using Row = std::tuple<const char*, const char*, const char*, int, const char*>;
    for (const auto& [name, dragged, target, where, shown] :
         {Row{"into a branch", "A", "B", 1, "Your Tree\n B\n  A\n   a1\n   a2\n L\n"},
          Row{"before an item", "L", "A", 0, "Your Tree\n L\n A\n  a1\n  a2\n B\n"},
          Row{"after an item under another parent", "a1", "B", 2, "Your Tree\n A\n  a2\n B\n a1\n L\n"},
          Row{"above the root", "B", "Your Tree", 0, nullptr}}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(e.Drag(dragged, target, where), shown != nullptr);
        EXPECT_EQ(e.Shown().toStdString(), shown ? shown : before.toStdString());
        if (!shown)
            continue;
        EXPECT_EQ(e.View()->currentIndex().data().toString(), QString::fromUtf8(dragged));
        EXPECT_EQ(e.MenuText("mnuUndo"), QStringLiteral("&Undo Move Item"));
        EXPECT_EQ(e.document.CheckInvariants(), QString());
        e.Trigger("mnuUndo");
        EXPECT_EQ(e.Shown(), before);
        EXPECT_FALSE(e.document.TreeChanged());
        EXPECT_EQ(e.View()->currentIndex().data().toString(), QString::fromUtf8(dragged)) << "after undo";
        EXPECT_EQ(e.MenuText("mnuRedo"), QStringLiteral("&Redo Move Item"));
        e.Trigger("mnuRedo");
        EXPECT_EQ(e.Shown().toStdString(), shown);
        e.Trigger("mnuUndo");
    }
}

TEST(Clipboard, CopyPastesIntoASecondEditorAndCutUndoes)
{
    Editor first;
    first.BuildTree();
    first.Select("A");
    first.Trigger("mnuCopy");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(kItemsMimeType));
    EXPECT_EQ(data->text(), QStringLiteral("A\n\ta1\n\ta2\n"));

    Editor second;
    second.Select("Your Tree");
    second.Trigger("mnuPaste");
    EXPECT_EQ(second.Shown().toStdString(), "Your Tree\n A\n  a1\n  a2\n");
    EXPECT_EQ(second.View()->currentIndex().data().toString(), QStringLiteral("A"));

    const QString before = first.Shown();
    first.Trigger("mnuCut");
    EXPECT_EQ(first.Shown().toStdString(), "Your Tree\n B\n L\n");
    first.Trigger("mnuUndo");
    EXPECT_EQ(first.Shown(), before);
}

TEST_F(MainWindowFixture, MenuTitlesTakeTheirMnemonicsAndTheButtonsKeepTheOthers)
{
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // [key, the menu that opens ("": none)]; Alt+L presses "&Load Custom File" instead.
    for (const auto& [key, menu] : {std::pair{Qt::Key_T, "mnuTree"}, {Qt::Key_F, "mnuFile"}, {Qt::Key_L, ""}}) {
        SCOPED_TRACE(menu);
        ui.FileDialog.clear();
        QTest::keyClick(&window, key, Qt::AltModifier);
        const bool loads = key == Qt::Key_L; // a mnemonic presses its button with a short animation
        EXPECT_EQ(QTest::qWaitFor([&] { return !ui.FileDialog.isEmpty(); }, loads ? 2000 : 0), loads);
        QWidget* popup = QApplication::activePopupWidget();
        EXPECT_EQ(popup ? popup->objectName().toStdString() : std::string(), menu);
        if (popup)
            popup->close();
        EXPECT_FALSE(Button("Command1_0")->hasFocus());
    }
}

// A hand-made file can nest items far deeper than Qt's recursive layout of an
// expanded branch fits on the stack: '*' expands only what can be shown.
TEST_F(MainWindowFixture, ExpandingAChainTooDeepForTheStackKeepsTheEditorRunning)
{
    std::vector<TreeNode*> chain{document.Root()};
    document.BeginBulkChange();
    for (int i = 0; i < 30000; ++i)
        chain.push_back(AddItem(chain.back(), QString::number(i)));
    document.EndBulkChange();
    const auto index = [&](int depth) { return window.Model()->IndexOf(chain[std::size_t(depth)]); };
    View()->setCurrentIndex(index(1));
    QTest::keyClick(View(), Qt::Key_Asterisk);
    View()->visualRect(index(1)); // lays the view out now
    EXPECT_TRUE(View()->isExpanded(index(1999)));
    EXPECT_FALSE(View()->isExpanded(index(2001)) || View()->isExpanded(index(29999)));
    EXPECT_FALSE(chain[2001]->Expanded()); // the document follows the view
}
