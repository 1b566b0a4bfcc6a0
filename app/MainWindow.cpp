#include "app/MainWindow.h"

#include "app/TreeModel.h"
#include "app/frmAbout.h"
#include "commands/ClipboardCommands.h"
#include "commands/EditHistory.h"
#include "commands/ItemCommands.h"
#include "commands/TreeCommands.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "preview/Preview.h"
#include "preview/PreviewFolder.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QTreeView>
#include <functional>
#include <string_view>
#include <vector>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vi {

namespace {
#ifdef Q_OS_WIN
constexpr int kAboutCommand = 10; // the system menu entry's command number
#endif

// The tree view keeps one item selected, as the platform's tree control does:
// a click on empty space or a control-click on the selected item leaves the
// selection where it is, so the commands always act on the item shown selected.
class ItemTreeView final : public QTreeView {
public:
    using QTreeView::QTreeView;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index, const QEvent* event) const override
    {
        if (!index.isValid())
            return QItemSelectionModel::NoUpdate;
        const QItemSelectionModel::SelectionFlags command = QTreeView::selectionCommand(index, event);
        if (command & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle))
            return QItemSelectionModel::ClearAndSelect;
        return command;
    }
};

// Qt lays out an expanded branch recursively, one stack frame of a few hundred
// bytes per level: a chain of expanded items tens of thousands deep, which a
// hand-made file can hold, would overflow the stack and end the program with
// the user's work. Items nested deeper than this stay collapsed in the view.
constexpr int kMaxExpandedDepth = 2000;

bool TooDeepToExpand(const TreeNode* node)
{
    int depth = 0;
    for (; node && !node->IsRoot(); node = node->Parent()) {
        if (++depth > kMaxExpandedDepth)
            return true;
    }
    return false;
}

// A button's mnemonic that a menu title of the menu bar also uses is left to
// the menu bar, as on the platform the window was designed for.
void YieldMnemonicsToMenus(const QList<QPushButton*>& buttons, const QMenuBar* menuBar)
{
    QList<QKeySequence> menuKeys;
    for (const QAction* menu : menuBar->actions())
        menuKeys << QKeySequence::mnemonic(menu->text());
    for (QPushButton* button : buttons) {
        if (menuKeys.contains(button->shortcut()))
            button->setShortcut(QKeySequence());
    }
}
} // namespace

MainWindow::MainWindow(TreeDocument& document, UserInterface& ui, QWidget* parent)
    : QMainWindow(parent), document_(document), ui_(ui), history_(std::make_unique<EditHistory>(document))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(ProductName());
    setWindowFlags((windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                    | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
                   & ~Qt::WindowMaximizeButtonHint);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client->setFixedSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    treeView_ = new ItemTreeView(client);
    treeView_->setObjectName(QStringLiteral("TreeView1"));
    treeView_->setGeometry(11, 45, 510, 325);
    treeView_->setHeaderHidden(true);
    treeView_->setUniformRowHeights(true);
    // A double-click opens or closes a branch; F2 or a slow second click renames.
    treeView_->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
    model_ = new TreeModel(document_, ui_, this);
    model_->SetHistory(history_.get());
    treeView_->setModel(model_);
    // Items are dragged before, after or into other items; the model moves them.
    treeView_->setDragDropMode(QAbstractItemView::DragDrop);
    treeView_->setDefaultDropAction(Qt::MoveAction);
    treeView_->setDropIndicatorShown(true);

    BuildMenus();
    BuildButtons(client);
    YieldMnemonicsToMenus(client->findChildren<QPushButton*>(), menuBar());
    ConnectView();
    AddSystemMenuAbout();

    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenus()
{
    // Each command is one action, run by its menu entry and by its button alike.
    TreeDocument& d = document_;
    UserInterface& u = ui_;
    EditHistory* h = history_.get();
    DocumentFile* f = &file_;
    auto add = [this](QMenu* menu, const char* name, const char* caption, std::function<void()> action) {
        QAction* a = menu->addAction(tr(caption));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, std::move(action));
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    add(file, "mnuNewTree", QT_TR_NOOP("&New Tree"), [&d, &u, h, f] { NewTreeCommand(d, u, h, f); });
    add(file, "mnuLoadTree", QT_TR_NOOP("&Load Tree"), [&d, &u, f] { LoadTreeCommand(d, u, f); });
    add(file, "mnuExportTree", QT_TR_NOOP("&Export Tree"), [&d, &u, f] { ExportTreeCommand(d, u, f); });
    separator(file, "mnuDash1");
    add(file, "mnuClose", QT_TR_NOOP("&Close"), [this] { close(); });

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    undo_ = add(edit, "mnuUndo", QT_TR_NOOP("&Undo"), [h] { h->Undo(); });
    undo_->setShortcut(QKeySequence::Undo);
    redo_ = add(edit, "mnuRedo", QT_TR_NOOP("&Redo"), [h] { h->Redo(); });
    redo_->setShortcut(QKeySequence::Redo);
    separator(edit, "mnuDash3");
    add(edit, "mnuCut", QT_TR_NOOP("Cu&t"), [&d, &u, h] { CutItem(d, u, h); })->setShortcut(QKeySequence::Cut);
    add(edit, "mnuCopy", QT_TR_NOOP("&Copy"), [&d, &u] { CopyItem(d, u); })->setShortcut(QKeySequence::Copy);
    add(edit, "mnuPaste", QT_TR_NOOP("&Paste"), [&d, &u, h] { PasteItem(d, u, h); })->setShortcut(QKeySequence::Paste);
    // The menu names the steps it would take back or make again.
    connect(edit, &QMenu::aboutToShow, this, &MainWindow::UpdateEditMenu);
    UpdateEditMenu();

    QMenu* tree = menuBar()->addMenu(tr("&Tree"));
    tree->setObjectName(QStringLiteral("mnuTree"));
    add(tree, "mnuViewTree", QT_TR_NOOP("&View"), [&d, &u] { ViewTreeCommand(d, u); });
    add(tree, "mnuPropTree", QT_TR_NOOP("&Properties"), [&d, &u, h] { EditTreeProperties(d, u, h); });

    QMenu* item = menuBar()->addMenu(tr("&Item"));
    item->setObjectName(QStringLiteral("mnuItem"));
    add(item, "mnuNewItem", QT_TR_NOOP("&New"), [&d, &u, h] { NewItem(d, u, h); });
    add(item, "mnuPropItem", QT_TR_NOOP("&Properties"), [&d, &u, h] { EditItemProperties(d, u, h); });
    add(item, "mnuDeleteItem", QT_TR_NOOP("&Delete"), [&d, &u, h] {
        DeleteItem(d, u, h);
    })->setShortcut(QKeySequence::Delete);
    separator(item, "mnuDash2");
    add(item, "mnuMoveUp", QT_TR_NOOP("Move &Up"), [&d, h] { MoveItem(d, true, h); });
    add(item, "mnuMoveDown", QT_TR_NOOP("Move Do&wn"), [&d, h] { MoveItem(d, false, h); });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    add(help, "mnuAbout", QT_TR_NOOP("&About"), [this] { ShowAbout(); });

    // F2 renames the selected item wherever the focus is.
    auto* rename = new QAction(this);
    rename->setObjectName(QStringLiteral("RenameItem"));
    rename->setShortcut(Qt::Key_F2);
    addAction(rename);
    connect(rename, &QAction::triggered, this, [this] {
        const QModelIndex index = model_->IndexOf(document_.SelectedNode());
        if (index.isValid() && (model_->flags(index) & Qt::ItemIsEditable)) {
            treeView_->setFocus();
            treeView_->edit(index);
        }
    });
}

void MainWindow::UpdateEditMenu()
{
    const QString undoName = history_->UndoName();
    const QString redoName = history_->RedoName();
    undo_->setText(undoName.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(undoName));
    redo_->setText(redoName.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(redoName));
}

void MainWindow::BuildButtons(QWidget* client)
{
    struct Spec {
        const char* name;
        const char* caption;
        QRect place;
        const char* action; // the menu entry that runs the same command
    };
    // In tab order; "&View Tree" (element 4) stands left of "Tree P&roperties" (element 3).
    static constexpr Spec specs[] = {
        {"Command1_0", QT_TR_NOOP("New &Tree"), {9, 11, 99, 26}, "mnuNewTree"},
        {"Command1_1", QT_TR_NOOP("&Load Custom File"), {112, 11, 99, 26}, "mnuLoadTree"},
        {"Command1_2", QT_TR_NOOP("&Export Tree"), {215, 11, 99, 26}, "mnuExportTree"},
        {"Command1_4", QT_TR_NOOP("&View Tree"), {318, 11, 99, 26}, "mnuViewTree"},
        {"Command1_3", QT_TR_NOOP("Tree P&roperties"), {421, 11, 99, 26}, "mnuPropTree"},
        {"Command2_0", QT_TR_NOOP("&New Item"), {532, 45, 94, 26}, "mnuNewItem"},
        {"Command2_2", QT_TR_NOOP("Item &Properties"), {532, 75, 94, 26}, "mnuPropItem"},
        {"Command2_1", QT_TR_NOOP("&Delete Item"), {532, 105, 94, 26}, "mnuDeleteItem"},
        {"Command3_0", QT_TR_NOOP("&Up"), {560, 178, 43, 34}, "mnuMoveUp"},
        {"Command3_1", QT_TR_NOOP("Do&wn"), {560, 216, 43, 34}, "mnuMoveDown"},
        {"Command2_3", QT_TR_NOOP("&Close"), {534, 344, 94, 26}, "mnuClose"},
    };
    QWidget* previous = nullptr;
    for (const Spec& spec : specs) {
        auto* button = new QPushButton(tr(spec.caption), client);
        button->setObjectName(QString::fromLatin1(spec.name));
        button->setGeometry(spec.place);
        button->setAutoDefault(false);
        QAction* action = menuBar()->findChild<QAction*>(QString::fromLatin1(spec.action));
        Q_ASSERT(action);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        if (previous)
            setTabOrder(previous, button);
        previous = button;
        if (spec.name == std::string_view("Command1_3")) {
            setTabOrder(button, treeView_);
            previous = treeView_;
        }
    }
}

void MainWindow::ConnectView()
{
    // The document holds selection and expansion; the view reports the user's
    // changes to it and follows the commands' changes. The document follows the
    // item the view shows selected, not the keyboard's current item.
    connect(treeView_->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        const QModelIndexList selected = treeView_->selectionModel()->selectedIndexes();
        document_.Select(selected.isEmpty() ? nullptr : model_->NodeOf(selected.constFirst()));
    });
    connect(treeView_, &QTreeView::expanded, this, [this](const QModelIndex& index) {
        TreeNode* node = model_->NodeOf(index);
        if (TooDeepToExpand(node))
            treeView_->collapse(index); // reported back as collapsed
        else
            document_.SetExpanded(node, true);
    });
    connect(treeView_, &QTreeView::collapsed, this,
            [this](const QModelIndex& index) { document_.SetExpanded(model_->NodeOf(index), false); });
    connect(model_, &TreeModel::SelectionRequested, this, [this](const QModelIndex& index) {
        if (!index.isValid()) {
            treeView_->selectionModel()->clearCurrentIndex();
            treeView_->selectionModel()->clearSelection();
            return;
        }
        treeView_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
        treeView_->scrollTo(index);
    });
    connect(model_, &TreeModel::ExpansionRequested, this, [this](const QModelIndex& index, bool expanded) {
        treeView_->setExpanded(index, expanded);
        if (expanded)
            treeView_->scrollTo(index);
    });
    connect(model_, &QAbstractItemModel::modelReset, this, &MainWindow::ShowDocumentSelection);
    ShowDocumentSelection();
}

void MainWindow::ShowDocumentSelection()
{
    // After a new tree or a load the view shows what the document holds; a
    // tree without a selection starts on its root, so that the first
    // "&New Item" works at once.
    if (!document_.SelectedNode())
        document_.Select(document_.Root());
    if (TreeNode* selected = document_.SelectedNode())
        treeView_->selectionModel()->setCurrentIndex(model_->IndexOf(selected), QItemSelectionModel::ClearAndSelect);
}

void MainWindow::ShowAbout() { ShowAboutBox(this, ui_); }

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (AskToExportChanges(document_, ui_, &file_)) {
        event->ignore();
        return;
    }
    event->accept();
    Unload();
}

void MainWindow::Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    ClosePreviewWindow();
    RemovePreviewFolder();
    if (quitOnUnload_)
        QCoreApplication::quit();
}

void MainWindow::AddSystemMenuAbout()
{
#ifdef Q_OS_WIN
    HMENU menu = GetSystemMenu(reinterpret_cast<HWND>(winId()), FALSE);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kAboutCommand, L"&About...");
#endif
}

#ifdef Q_OS_WIN
bool MainWindow::nativeEvent(const QByteArray& eventType, void* message, qintptr* result)
{
    const MSG* msg = static_cast<const MSG*>(message);
    if (msg->message == WM_SYSCOMMAND && msg->wParam == kAboutCommand) {
        ShowAbout();
        *result = 0;
        return true;
    }
    return QMainWindow::nativeEvent(eventType, message, result);
}
#endif

} // namespace vi
