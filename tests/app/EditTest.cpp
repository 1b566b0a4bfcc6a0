// The Edit menu, drag and drop in the tree view and the clipboard, driven as
// a user would on the offscreen platform.
#include "app/MainWindow.h"
#include "app/QtUserInterface.h"
#include "app/TreeModel.h"
#include "commands/ClipboardCommands.h"
#include "commands/EditHistory.h"
#include "document/TreeDocument.h"
#include "tests/support/FakeUserInterface.h"
#include "tests/support/ModelOutline.h"
#include "tests/support/TestTree.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

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
    test::FakeUserInterface fake;
    ClipboardUserInterface withClipboard;
    MainWindow window;

    explicit Editor(bool realClipboard)
        : window(document, realClipboard ? static_cast<UserInterface&>(withClipboard) : fake)
    {
        window.SetQuitOnUnload(false);
        window.show();
    }
    ~Editor() { window.close(); }

    QTreeView* View() const { return window.TreeView(); }
    QModelIndex Index(const char* label) const
    {
        return View()
            ->model()
            ->match(View()->model()->index(0, 0), Qt::DisplayRole, QString::fromUtf8(label), 1,
                    Qt::MatchRecursive | Qt::MatchExactly)
            .value(0);
    }
    void Select(const char* label) { View()->setCurrentIndex(Index(label)); }
    QString Shown() const { return Outline(*View()->model()); }
    void Trigger(const char* action)
    {
        auto* a = window.findChild<QAction*>(QString::fromLatin1(action));
        ASSERT_NE(a, nullptr) << action;
        a->trigger();
    }
    QString MenuText(const char* action)
    {
        auto* edit = window.findChild<QMenu*>(QStringLiteral("mnuEdit"));
        emit edit->aboutToShow();
        return window.findChild<QAction*>(QString::fromLatin1(action))->text();
    }

    // Your Tree > A (a1, a2), B, L (a leaf); every item expanded.
    void BuildTree()
    {
        TreeNode* a = test::AddItem(document, document.Root(), QStringLiteral("A"));
        test::AddItem(document, a, QStringLiteral("a1"));
        test::AddItem(document, a, QStringLiteral("a2"));
        test::AddItem(document, document.Root(), QStringLiteral("B"));
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
        const QPoint at(rect.center().x(), where == 0   ? rect.top() + 1
                                           : where == 1 ? rect.center().y()
                                                        : rect.bottom() - 1);
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

TEST(EditMenu, UndoAndRedoNameTheStepAndTheViewFollows)
{
    Editor e(false);
    e.BuildTree();
    const QString before = e.Shown();
    EXPECT_EQ(e.MenuText("mnuUndo"), QStringLiteral("&Undo"));
    e.Select("a1");
    e.window.findChild<QPushButton*>(QStringLiteral("Command2_1"))->click();
    EXPECT_EQ(e.MenuText("mnuUndo"), QStringLiteral("&Undo Delete Item"));
    EXPECT_TRUE(e.document.TreeChanged());
    e.Trigger("mnuUndo");
    EXPECT_EQ(e.Shown(), before);
    EXPECT_FALSE(e.document.TreeChanged());
    EXPECT_EQ(e.View()->currentIndex().data().toString(), QStringLiteral("a1"));
    EXPECT_EQ(e.MenuText("mnuRedo"), QStringLiteral("&Redo Delete Item"));
    e.Trigger("mnuRedo");
    EXPECT_EQ(e.Shown().toStdString(), "Your Tree\n A\n  a2\n B\n L\n");
    e.Trigger("mnuRedo"); // nothing left to redo: nothing happens, nothing is said
    EXPECT_TRUE(e.fake.Messages.empty());
}

TEST(DragAndDrop, MovesAnItemWithItsSubItemsAsOneStep)
{
    Editor e(false);
    e.BuildTree();
    const QString before = e.Shown();
    const struct {
        const char* name;
        const char* dragged;
        const char* target;
        int where;
        const char* shown; // nullptr: refused, nothing changes
    } rows[] = {
        {"into a branch", "A", "B", 1, "Your Tree\n B\n  A\n   a1\n   a2\n L\n"},
        {"before an item", "L", "A", 0, "Your Tree\n L\n A\n  a1\n  a2\n B\n"},
        {"after an item under another parent", "a1", "B", 2, "Your Tree\n A\n  a2\n B\n a1\n L\n"},
        {"into a leaf", "B", "L", 1, nullptr},
        {"into its own sub-item", "A", "a2", 1, nullptr},
        {"above the root", "B", "Your Tree", 0, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const bool dropped = e.Drag(row.dragged, row.target, row.where);
        EXPECT_EQ(dropped, row.shown != nullptr);
        EXPECT_EQ(e.Shown().toStdString(), row.shown ? row.shown : before.toStdString());
        if (!row.shown)
            continue;
        EXPECT_EQ(e.View()->currentIndex().data().toString(), QString::fromUtf8(row.dragged));
        EXPECT_EQ(e.MenuText("mnuUndo"), QStringLiteral("&Undo Move Item"));
        EXPECT_EQ(e.document.CheckInvariants(), QString());
        e.Trigger("mnuUndo");
        EXPECT_EQ(e.Shown(), before);
        EXPECT_FALSE(e.document.TreeChanged());
    }
}

TEST(Clipboard, CopyPastesIntoASecondEditorAndCutUndoes)
{
    Editor first(true);
    first.BuildTree();
    first.Select("A");
    first.Trigger("mnuCopy");
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(kItemsMimeType));
    EXPECT_EQ(data->text(), QStringLiteral("A\n\ta1\n\ta2\n"));

    Editor second(true);
    second.Select("Your Tree");
    second.Trigger("mnuPaste");
    EXPECT_EQ(second.Shown().toStdString(), "Your Tree\n A\n  a1\n  a2\n");
    EXPECT_EQ(second.View()->currentIndex().data().toString(), QStringLiteral("A"));
    EXPECT_EQ(second.MenuText("mnuUndo"), QStringLiteral("&Undo Paste"));

    // Cut takes the branch away in one step; paste puts it as the last child.
    const QString before = first.Shown();
    first.Select("A");
    first.Trigger("mnuCut");
    EXPECT_EQ(first.Shown().toStdString(), "Your Tree\n B\n L\n");
    first.Select("B");
    first.Trigger("mnuPaste");
    EXPECT_EQ(first.Shown().toStdString(), "Your Tree\n B\n  A\n   a1\n   a2\n L\n");
    first.Trigger("mnuUndo");
    first.Trigger("mnuUndo");
    EXPECT_EQ(first.Shown(), before);
    EXPECT_EQ(first.document.CheckInvariants(), QString());
}

} // namespace
