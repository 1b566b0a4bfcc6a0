// The main window, its tree view, the Edit menu, drag and drop and the
// clipboard, driven as a user would on the offscreen platform.
#include "app/MainWindow.h"

#include "app/QtUserInterface.h"
#include "app/RecentFolder.h"
#include "app/TreeModel.h"
#include "commands/ClipboardCommands.h"
#include "commands/DocumentPlace.h"
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
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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
    template <class W> W* Child(const char* name) { return window.findChild<W*>(QString::fromLatin1(name)); }
    QString Selected() const { return View()->currentIndex().data().toString(); }
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

TEST_F(MainWindowFixture, CaptionsKeysMenusTabOrderAndTheEntryEachButtonRuns)
{
    QStringList captions;
    QString ran;
    for (QAction* menuAction : window.menuBar()->actions()) {
        captions << menuAction->text();
        for (QAction* a : menuAction->menu()->actions()) {
            captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
            for (const QKeySequence& key : a->shortcuts())
                captions.last() += QLatin1Char(' ') + key.toString();
            EXPECT_TRUE(a->isEnabled());
            // The commands themselves are left out: only the routing from the buttons is under test.
            QObject::disconnect(a, &QAction::triggered, &window, nullptr);
            QObject::connect(a, &QAction::triggered, &window, [&ran, a] { ran = a->objectName(); });
        }
    }
    EXPECT_EQ(captions.join(QLatin1Char('|')).toStdString(),
              "&File|&New Tree Ctrl+N|&Load Tree Ctrl+O|Recent &Files|&Export Tree Ctrl+S|Export &To... Ctrl+Shift+S|-|"
              "&Close Ctrl+Q|&Edit|&Undo Ctrl+Z|&Redo Ctrl+Y Ctrl+Shift+Z|-|Cu&t Ctrl+X|&Copy Ctrl+C|&Paste Ctrl+V|-|"
              "&Find... Ctrl+F|Find &Next F3|Find Pre&vious Shift+F3|&Tree|&View|&Properties|-|E&xpand All Ctrl+E|"
              "C&ollapse All Ctrl+Shift+E|&Item|&New Ins|&Properties|&Delete Del|-|Move &Up|Move Do&wn|&Help|&About");

    // Every tab stop in order, buttons by caption and the entry they run; none is ever disabled.
    QStringList stops;
    QWidget* w = Button("Command1_0");
    for (int i = 0; i < 12; ++i, w = w->nextInFocusChain()) {
        while (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible())
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

    EXPECT_EQ(Shown().toStdString(), "Your Tree\n C\n A\n  B2\n   B1\n");
    document.RemoveNode(a->Position());
    EXPECT_EQ(Shown().toStdString(), "Your Tree\n C\n");
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
    EXPECT_EQ(Selected(), QStringLiteral("About"));
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
    EXPECT_EQ(View()->currentIndex(), View()->model()->index(0, 0)) << "after a load";
}

// Enter answers with the default button: Yes, but No where Yes replaces somebody's work.
TEST(QtUserInterface, EnterAnswersWithTheDefaultButton)
{
    QtUserInterface qt;
    for (const auto& [buttons, enter] : {std::pair{UserInterface::Buttons::YesNo, UserInterface::Answer::Yes},
                                         {UserInterface::Buttons::YesNoDefaultNo, UserInterface::Answer::No},
                                         {UserInterface::Buttons::YesNoCancel, UserInterface::Answer::Yes}}) {
        QTimer::singleShot(0, qApp, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->defaultButton()->click();
        });
        EXPECT_EQ(qt.Ask(QStringLiteral("Replace?"), buttons), enter);
    }
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
        EXPECT_EQ(e.Selected(), QString::fromUtf8(dragged));
        EXPECT_EQ(e.MenuText("mnuUndo"), QStringLiteral("&Undo Move Item"));
        e.Trigger("mnuUndo");
        EXPECT_EQ(e.Shown(), before);
        EXPECT_FALSE(e.document.TreeChanged());
        EXPECT_EQ(e.Selected(), QString::fromUtf8(dragged)) << "after undo";
        EXPECT_EQ(e.MenuText("mnuRedo"), QStringLiteral("&Redo Move Item"));
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
    EXPECT_EQ(second.Selected(), QStringLiteral("A"));

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

namespace {

// Left, top, width and height of the tree and of the buttons by the edge they keep to.
QString Places(Editor& e)
{
    QStringList places;
    for (const char* name :
         {"TreeView1", "Command1_0", "Command1_3", "Command2_0", "Command2_1", "Command3_1", "Command2_3"}) {
        const QRect r = e.window.findChild<QWidget*>(QString::fromLatin1(name))->geometry();
        places << QStringLiteral("%1 %2,%3 %4x%5")
                      .arg(QString::fromLatin1(name))
                      .arg(r.x())
                      .arg(r.y())
                      .arg(r.width())
                      .arg(r.height());
    }
    return places.join(QLatin1Char('|'));
}

} // namespace

TEST_F(MainWindowFixture, OpensAtTheDescribedSizeAndGrowingGivesTheTreeTheSpace)
{
    QFont design = window.font();
    design.setPointSizeF(8.25);
    window.setFont(design);
    QWidget* client = window.centralWidget();
    client->resize(client->minimumSize());
    EXPECT_EQ(client->size(), QSize(638, 382));
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_NE(window.minimumSize(), window.maximumSize()) << "resizable";
    EXPECT_EQ(Places(*this).toStdString(), "TreeView1 11,45 510x325|Command1_0 9,11 99x26|Command1_3 421,11 99x26|"
                                           "Command2_0 532,45 94x26|Command2_1 532,105 94x26|Command3_1 560,216 43x34|"
                                           "Command2_3 534,344 94x26");
    window.layout()->activate();
    window.resize(window.size() - client->size() + QSize(938, 582));
    EXPECT_EQ(client->size(), QSize(938, 582));
    EXPECT_EQ(Places(*this).toStdString(), "TreeView1 11,45 810x525|Command1_0 9,11 99x26|Command1_3 421,11 99x26|"
                                           "Command2_0 832,45 94x26|Command2_1 832,105 94x26|Command3_1 860,216 43x34|"
                                           "Command2_3 834,544 94x26");
    window.resize(100, 100);
    EXPECT_EQ(client->size(), QSize(638, 382)) << "never smaller than described";

    // A larger font widens the buttons to their captions, and the window with them.
    design.setPointSizeF(14);
    window.setFont(design);
    for (QPushButton* button : client->findChildren<QPushButton*>()) {
        const QString caption = button->text().remove(QLatin1Char('&'));
        EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(caption)) << caption.toStdString();
        for (QWidget* other : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(other == button || other->isHidden() || !other->geometry().intersects(button->geometry()))
                << caption.toStdString() << " meets " << other->objectName().toStdString();
    }
    EXPECT_GT(client->minimumWidth(), 638);

    // Items deeper than the view is wide scroll into sight sideways.
    TreeNode* node = document.Root();
    for (int i = 0; i < 60; ++i) {
        node = AddItem(node, QStringLiteral("Level %1").arg(i));
        document.SetExpanded(node->Parent(), true);
    }
    document.Select(node);
    View()->visualRect(window.Model()->IndexOf(node)); // lays the view out now
    EXPECT_GT(View()->horizontalScrollBar()->maximum(), 0);
    document.NewTree();
    View()->visualRect(window.Model()->index(0, 0));
    EXPECT_GE(View()->header()->sectionSize(0), View()->viewport()->width()) << "a selected row is marked across";
}

TEST_F(MainWindowFixture, SizePlaceAndMaximisedStateAreKeptBetweenRuns)
{
    EditorSettings().remove(QStringLiteral("Window"));
    QSize size;
    {
        Editor first;
        EXPECT_FALSE(first.window.RestoreWindowPlacement()) << "nothing kept yet";
        first.window.setGeometry(QRect(QPoint(40, 50), first.window.size() + QSize(222, 111)));
        size = first.window.centralWidget()->size();
        first.window.close(); // keeps it
    }
    {
        Editor second;
        ASSERT_TRUE(second.window.RestoreWindowPlacement());
        EXPECT_EQ(second.window.centralWidget()->size(), size);
        second.window.showMaximized();
        EXPECT_TRUE(QTest::qWaitFor([&] { return second.window.isMaximized(); }));
        second.window.SaveWindowPlacement();
    }
    Editor third;
    third.window.hide();
    ASSERT_TRUE(third.window.RestoreWindowPlacement());
    EXPECT_TRUE(third.window.windowState() & Qt::WindowMaximized);
}

TEST_F(MainWindowFixture, TheTitleNamesTheDocumentAndShowsUnsavedChanges)
{
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vuvov-Ivoza[*]"));
    EXPECT_FALSE(window.isWindowModified());
    ui.OnEditItem = [](ItemRecord& r, const TreeSettings&) {
        return !(r.FriendlyName = QStringLiteral("A")).isEmpty();
    };
    Button("Command2_0")->click();
    EXPECT_TRUE(window.isWindowModified());

    QTemporaryDir out;
    const QString file = QDir::toNativeSeparators(out.filePath(QStringLiteral("custom.js")));
    ui.Folders = {out.path()};
    Button("Command1_2")->click();
    EXPECT_EQ(window.windowFilePath(), file);
    EXPECT_EQ(window.windowTitle(),
              QStringLiteral("custom.js[*] (%1) - Vuvov-Ivoza").arg(QDir::toNativeSeparators(out.path())));
    EXPECT_FALSE(window.isWindowModified());
    // A label edit reaches the title through the view, after the edit.
    window.Model()->setData(Index("A"), QStringLiteral("B"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isWindowModified());
    Trigger("mnuUndo");
    EXPECT_FALSE(window.isWindowModified());
    Trigger("mnuNewTree");
    EXPECT_EQ(window.windowFilePath(), QString());
}

TEST_F(MainWindowFixture, ExportTreeWritesAgainToTheDocumentsFolderAndExportToAlwaysAsks)
{
    BuildTree();
    QTemporaryDir first, second;
    // [entry, chooser's answer (none: it must not open, or nothing is written), folder written to]
    for (const auto& [entry, chosen, written] : {std::tuple{"mnuExportTree", std::optional(first.path()), first.path()},
                                                 {"mnuExportTree", std::optional<QString>(), first.path()},
                                                 {"mnuExportTo", std::optional(second.path()), second.path()},
                                                 {"mnuExportTree", std::optional<QString>(), second.path()}}) {
        SCOPED_TRACE(entry);
        document.SetTreeChanged(true);
        QFile::remove(JoinPath(written, QStringLiteral("custom.js")));
        ui.Folders.clear();
        if (chosen)
            ui.Folders = {chosen};
        Trigger(entry);
        EXPECT_TRUE(ui.Folders.empty());
        EXPECT_TRUE(QFileInfo::exists(JoinPath(written, QStringLiteral("custom.js"))));
        EXPECT_FALSE(document.TreeChanged());
        EXPECT_TRUE(window.statusBar()->currentMessage().startsWith(
            QStringLiteral("Exported 5 items to %1 at ").arg(QDir::toNativeSeparators(written))))
            << window.statusBar()->currentMessage().toStdString();
    }
    EXPECT_TRUE(ui.MessageTexts().isEmpty());
}

TEST_F(MainWindowFixture, RecentFilesListTheLastEightDocumentsAndDropOneThatIsGone)
{
    QStringList files;
    for (int i = 1; i <= 10; ++i)
        files = WithRecentFile(files, QString::number(i));
    EXPECT_EQ(files.join(QLatin1Char(',')).toStdString(), "10,9,8,7,6,5,4,3");
    EXPECT_EQ(WithRecentFile(files, QStringLiteral("5")).join(QLatin1Char(',')).toStdString(), "5,10,9,8,7,6,4,3");

    EditorSettings().remove(QStringLiteral("Places/RecentFiles"));
    BuildTree();
    QTemporaryDir out;
    const QString file = QDir::toNativeSeparators(out.filePath(QStringLiteral("custom.js")));
    ui.Folders = {out.path()};
    Trigger("mnuExportTree");
    ASSERT_EQ(RecentFiles(), QStringList{file});
    auto* recent = Child<QMenu>("mnuRecent");
    emit recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 1);
    EXPECT_EQ(recent->actions()[0]->text(), QStringLiteral("&1 ") + file);
    Trigger("mnuNewTree");
    recent->actions()[0]->trigger();
    EXPECT_EQ(Shown().toStdString(), "Your Tree\n A\n  a1\n  a2\n B\n L\n");

    QFile::remove(file);
    ui.Messages.clear();
    window.OpenRecentFile(file);
    EXPECT_EQ(ui.MessageTexts(),
              QStringList{
                  QStringLiteral("The file %1 could not be found.\rIt has been removed from Recent Files.").arg(file)});
    EXPECT_TRUE(RecentFiles().isEmpty());
}

TEST_F(MainWindowFixture, TheStatusBarCountsTheItemsAndShowsTheSelectedOnesPlace)
{
    BuildTree();
    Select("a2");
    QCoreApplication::processEvents();
    EXPECT_EQ(Child<QLabel>("StatusCount")->text(), QStringLiteral("5 items"));
    EXPECT_EQ(Child<QLabel>("StatusPlace")->toolTip(), QStringLiteral("Your Tree > A > a2"));
    const int width = window.centralWidget()->width();
    TreeNode* node = document.Root();
    for (int i = 0; i < 20; ++i)
        node = AddItem(node, QString::number(i));
    document.Select(node);
    QCoreApplication::processEvents();
    EXPECT_EQ(Child<QLabel>("StatusPlace")->toolTip().toStdString(),
              "Your Tree > \u2026 > 8 > 9 > 10 > 11 > 12 > 13 > 14 > 15 > 16 > 17 > 18 > 19");
    EXPECT_EQ(window.centralWidget()->width(), width) << "a long place never widens the window";
}

TEST_F(MainWindowFixture, TheFindBarFindsStepsRoundAndGivesBackTheBranchesItOpened)
{
    BuildTree();
    TreeModel* m = window.Model();
    View()->collapseAll();
    View()->expand(m->index(0, 0));
    Select("B");
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* bar = Child<QWidget>("FindBar");
    auto* text = Child<QLineEdit>("FindText");
    auto* counter = Child<QLabel>("FindCounter");
    EXPECT_FALSE(bar->isVisible());
    const int treeTop = View()->y();

    QTest::keyClick(View(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(text->hasFocus());
    EXPECT_LT(bar->geometry().bottom(), View()->y()) << "above the tree, not over it";
    EXPECT_GT(View()->y(), treeTop);
    QTest::keyClicks(text, QStringLiteral("A"));
    EXPECT_EQ(counter->text(), QStringLiteral("1 of 3"));
    EXPECT_EQ(Selected(), QStringLiteral("A"));
    // [key, modifiers, selected after it, counter]
    for (const auto& [key, modifiers, selected, shown] : {std::tuple{Qt::Key_Return, Qt::NoModifier, "a1", "2 of 3"},
                                                          {Qt::Key_F3, Qt::NoModifier, "a2", "3 of 3"},
                                                          {Qt::Key_F3, Qt::NoModifier, "A", "1 of 3"},
                                                          {Qt::Key_F3, Qt::ShiftModifier, "a2", "3 of 3"}}) {
        QTest::keyClick(text, key, modifiers);
        EXPECT_EQ(Selected(), QString::fromUtf8(selected));
        EXPECT_EQ(counter->text(), QString::fromUtf8(shown));
    }
    EXPECT_TRUE(View()->isExpanded(Index("A")));
    Select("B");
    QTest::keyClick(text, Qt::Key_Escape);
    EXPECT_FALSE(bar->isVisible());
    EXPECT_FALSE(View()->isExpanded(Index("A"))) << "given back";
    EXPECT_EQ(View()->y(), treeTop);
    EXPECT_TRUE(View()->hasFocus());
}

TEST_F(MainWindowFixture, ExpandAllCollapseAllTheItemMenuEnterAndInsert)
{
    BuildTree();
    View()->collapseAll();
    Trigger("mnuExpandAll");
    EXPECT_TRUE(View()->isExpanded(Index("A")) && View()->isExpanded(Index("B")));
    Select("a1");
    Trigger("mnuCollapseAll");
    EXPECT_FALSE(View()->isExpanded(Index("A")));
    EXPECT_TRUE(View()->isExpanded(View()->model()->index(0, 0))) << "the top items stay in sight";
    EXPECT_EQ(Selected(), QStringLiteral("A")) << "the selection stays in sight";

    QStringList entries;
    for (QAction* a : window.ItemMenu()->actions())
        entries << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(entries.join(QLatin1Char(' ')).toStdString(),
              "mnuNewItem mnuPropItem mnuDeleteItem - mnuCut mnuCopy mnuPaste - mnuMoveUp mnuMoveDown");

    QStringList edited;
    ui.OnEditItem = [&](ItemRecord& r, const TreeSettings&) {
        edited << r.FriendlyName;
        r.FriendlyName = QStringLiteral("New");
        return true;
    };
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    View()->setFocus();
    Select("B");
    QTest::keyClick(View(), Qt::Key_Return);
    EXPECT_EQ(edited, QStringList{QStringLiteral("B")}) << "Enter opens the selected item's properties";
    QTest::keyClick(View(), Qt::Key_Insert);
    EXPECT_EQ(edited.size(), 2);
    EXPECT_EQ(Selected(), QStringLiteral("New"));
    // In the find bar's text Insert is the text's key: it adds no item.
    const int nodes = document.NodeCount();
    Trigger("mnuFind");
    auto* findText = Child<QLineEdit>("FindText");
    ASSERT_TRUE(findText && findText->hasFocus());
    QTest::keyClick(findText, Qt::Key_Insert);
    EXPECT_EQ(document.NodeCount(), nodes);
    EXPECT_EQ(edited.size(), 2);
}
