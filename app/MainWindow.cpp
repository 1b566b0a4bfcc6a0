#include "app/MainWindow.h"

#include "app/RecentFolder.h"
#include "app/TreeModel.h"
#include "app/frmAbout.h"
#include "commands/ClipboardCommands.h"
#include "commands/DocumentPlace.h"
#include "commands/EditHistory.h"
#include "commands/ItemCommands.h"
#include "commands/TreeCommands.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "forms/FindBarModel.h"
#include "preview/Preview.h"
#include "preview/PreviewFolder.h"
#include "script/UserInterface.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
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
    std::function<void()> EnterPressed; // Enter on an item, outside a label edit

protected:
    // The rows span the view at least, so a selected row is marked across it,
    // and grow past it for items deeper than the view is wide.
    int sizeHintForColumn(int column) const override
    {
        return std::max(QTreeView::sizeHintForColumn(column), viewport()->width());
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QTreeView::resizeEvent(event);
        header()->resizeSections(QHeaderView::ResizeToContents);
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && state() != EditingState
            && EnterPressed) {
            EnterPressed();
            return;
        }
        QTreeView::keyPressEvent(event);
    }

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

// A label that shows the end of a text too long for it, so that a long text
// never widens the window.
class ElidedLabel final : public QLabel {
public:
    using QLabel::QLabel;
    void SetFullText(const QString& text)
    {
        full_ = text;
        setToolTip(text);
        update();
    }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
    QSize sizeHint() const override { return {0, QLabel::sizeHint().height()}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(full_, Qt::ElideLeft, contentsRect().width()));
    }

private:
    QString full_;
};

// The client area tells its size to the window's arrangement.
class ClientArea final : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void()> Resized;
    QSize sizeHint() const override { return minimumSize(); }

protected:
    void resizeEvent(QResizeEvent*) override
    {
        if (Resized)
            Resized();
    }
    void changeEvent(QEvent* event) override
    {
        QWidget::changeEvent(event);
        if (event->type() == QEvent::FontChange && Resized)
            Resized();
    }
};

// The selected item's labels from the top; a deep item's are cut in the middle.
QString PlaceOf(const TreeNode* node)
{
    constexpr int kShownLevels = 12;
    QStringList labels;
    int levels = 0;
    for (; node; node = node->Parent(), ++levels) {
        if (levels < kShownLevels || !node->Parent())
            labels.prepend(node->Text());
        else if (levels == kShownLevels)
            labels.prepend(QStringLiteral("\u2026"));
    }
    return labels.join(QStringLiteral(" > "));
}

const QString kPlacementKey = QStringLiteral("Window/Placement");

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
    : QMainWindow(parent), document_(document), ui_(ui), history_(std::make_unique<EditHistory>(document)),
      place_(std::make_unique<DocumentPlace>(document)), find_(std::make_unique<FindBarModel>(document))
{
    setObjectName(QStringLiteral("frmMain"));

    auto* client = new ClientArea(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    client_ = client;
    setCentralWidget(client);

    auto* treeView = new ItemTreeView(client);
    treeView_ = treeView;
    treeView_->setObjectName(QStringLiteral("TreeView1"));
    treeView_->setHeaderHidden(true);
    treeView_->setUniformRowHeights(true);
    // Items deeper than the view is wide scroll into sight sideways.
    treeView_->header()->setStretchLastSection(false);
    treeView_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    treeView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
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
    BuildFindBar(client);
    BuildStatusBar();
    ConnectView();
    AddSystemMenuAbout();
    treeView->EnterPressed = [this] { findChild<QAction*>(QStringLiteral("mnuPropItem"))->trigger(); };

    client->Resized = [this] { Arrange(); };
    Arrange();
    client->resize(client->minimumSize());
    place_->Changed = [this](const QString& file) {
        AddRecentFile(file);
        ShowExport();
        Refresh();
    };
    Refresh();
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenus()
{
    // Each command is one action, run by its menu entry, its button and its keys alike.
    TreeDocument& d = document_;
    UserInterface& u = ui_;
    EditHistory* h = history_.get();
    DocumentPlace* p = place_.get();
    auto add = [this](QMenu* menu, const char* name, const char* caption, std::function<void()> action) {
        QAction* a = menu->addAction(tr(caption));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, [this, action = std::move(action)] {
            action();
            Refresh();
        });
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    add(file, "mnuNewTree", QT_TR_NOOP("&New Tree"), [&d, &u, h, p] {
        NewTreeCommand(d, u, h, p);
    })->setShortcut(QKeySequence::New);
    add(file, "mnuLoadTree", QT_TR_NOOP("&Load Tree"), [&d, &u, p] {
        LoadTreeCommand(d, u, p);
    })->setShortcut(QKeySequence::Open);
    recentMenu_ = file->addMenu(tr("Recent &Files"));
    recentMenu_->setObjectName(QStringLiteral("mnuRecent"));
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::UpdateRecentMenu);
    add(file, "mnuExportTree", QT_TR_NOOP("&Export Tree"), [&d, &u, p] {
        SaveTreeCommand(d, u, *p);
    })->setShortcut(QKeySequence::Save);
    add(file, "mnuExportTo", QT_TR_NOOP("Export &To..."), [&d, &u, p] {
        ExportTreeCommand(d, u, p);
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    separator(file, "mnuDash1");
    add(file, "mnuClose", QT_TR_NOOP("&Close"), [this] { close(); })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    undo_ = add(edit, "mnuUndo", QT_TR_NOOP("&Undo"), [h] { h->Undo(); });
    undo_->setShortcut(QKeySequence::Undo);
    redo_ = add(edit, "mnuRedo", QT_TR_NOOP("&Redo"), [h] { h->Redo(); });
    redo_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    separator(edit, "mnuDash3");
    add(edit, "mnuCut", QT_TR_NOOP("Cu&t"), [&d, &u, h] { CutItem(d, u, h); })->setShortcut(QKeySequence::Cut);
    add(edit, "mnuCopy", QT_TR_NOOP("&Copy"), [&d, &u] { CopyItem(d, u); })->setShortcut(QKeySequence::Copy);
    add(edit, "mnuPaste", QT_TR_NOOP("&Paste"), [&d, &u, h] { PasteItem(d, u, h); })->setShortcut(QKeySequence::Paste);
    separator(edit, "mnuDash4");
    add(edit, "mnuFind", QT_TR_NOOP("&Find..."), [this] { ShowFindBar(); })->setShortcut(QKeySequence::Find);
    add(edit, "mnuFindNext", QT_TR_NOOP("Find &Next"), [this] { Find(true); })->setShortcut(Qt::Key_F3);
    add(edit, "mnuFindPrevious", QT_TR_NOOP("Find Pre&vious"), [this] {
        Find(false);
    })->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    // The menu names the steps it would take back or make again.
    connect(edit, &QMenu::aboutToShow, this, &MainWindow::UpdateEditMenu);
    UpdateEditMenu();

    QMenu* tree = menuBar()->addMenu(tr("&Tree"));
    tree->setObjectName(QStringLiteral("mnuTree"));
    add(tree, "mnuViewTree", QT_TR_NOOP("&View"), [&d, &u] { ViewTreeCommand(d, u); });
    add(tree, "mnuPropTree", QT_TR_NOOP("&Properties"), [&d, &u, h] { EditTreeProperties(d, u, h); });
    separator(tree, "mnuDash5");
    add(tree, "mnuExpandAll", QT_TR_NOOP("E&xpand All"), [this] {
        ExpandAll();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    add(tree, "mnuCollapseAll", QT_TR_NOOP("C&ollapse All"), [this] {
        CollapseAll();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));

    QMenu* item = menuBar()->addMenu(tr("&Item"));
    item->setObjectName(QStringLiteral("mnuItem"));
    add(item, "mnuNewItem", QT_TR_NOOP("&New"), [&d, &u, h] { NewItem(d, u, h); })->setShortcut(Qt::Key_Insert);
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

    // The item commands again, on the item under the mouse.
    itemMenu_ = new QMenu(this);
    itemMenu_->setObjectName(QStringLiteral("mnuItemPopup"));
    for (const char* name : {"mnuNewItem", "mnuPropItem", "mnuDeleteItem", "", "mnuCut", "mnuCopy", "mnuPaste", "",
                             "mnuMoveUp", "mnuMoveDown"}) {
        if (*name)
            itemMenu_->addAction(findChild<QAction*>(QString::fromLatin1(name)));
        else
            itemMenu_->addSeparator();
    }

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

void MainWindow::UpdateRecentMenu()
{
    recentMenu_->clear();
    const QStringList files = RecentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString file = files[i];
        QAction* a = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(file));
        connect(a, &QAction::triggered, this, [this, file] { OpenRecentFile(file); });
    }
    if (files.isEmpty())
        recentMenu_->addAction(tr("No recent files"))->setEnabled(false);
}

void MainWindow::OpenRecentFile(const QString& file)
{
    if (!QFileInfo(file).isFile()) {
        ui_.ShowMessage(tr("The file %1 could not be found.\rIt has been removed from Recent Files.").arg(file));
        RemoveRecentFile(file);
        return;
    }
    LoadTreeFileCommand(document_, file, ui_, place_.get());
    Refresh();
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
        button->resize(spec.place.size());
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

    // The title and the status bar follow the document.
    connect(model_, &QAbstractItemModel::modelReset, this, &MainWindow::RefreshSoon);
    connect(model_, &QAbstractItemModel::layoutChanged, this, &MainWindow::RefreshSoon);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &MainWindow::RefreshSoon);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &MainWindow::RefreshSoon);
    connect(model_, &QAbstractItemModel::rowsMoved, this, &MainWindow::RefreshSoon);
    connect(model_, &QAbstractItemModel::dataChanged, this, &MainWindow::RefreshSoon);
    connect(treeView_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        statusBar()->clearMessage();
        RefreshSoon();
    });

    treeView_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(treeView_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        const QModelIndex index = treeView_->indexAt(at);
        if (!index.isValid())
            return;
        document_.Select(model_->NodeOf(index));
        itemMenu_->popup(treeView_->viewport()->mapToGlobal(at));
    });
}

void MainWindow::BuildFindBar(QWidget* client)
{
    findBar_ = new QWidget(client);
    findBar_->setObjectName(QStringLiteral("FindBar"));
    auto* row = new QHBoxLayout(findBar_);
    row->setContentsMargins(0, 0, 0, 0);
    findText_ = new QLineEdit(findBar_);
    findText_->setObjectName(QStringLiteral("FindText"));
    findText_->setPlaceholderText(tr("Find items"));
    findText_->setClearButtonEnabled(true);
    findText_->installEventFilter(this);
    findCounter_ = new QLabel(findBar_);
    findCounter_->setObjectName(QStringLiteral("FindCounter"));
    auto* close = new QToolButton(findBar_);
    close->setObjectName(QStringLiteral("FindClose"));
    close->setText(QStringLiteral("\u00d7"));
    close->setToolTip(tr("Close"));
    close->setAutoRaise(true);
    row->addWidget(findText_, 1);
    row->addWidget(findCounter_);
    row->addWidget(close);
    findBar_->hide();
    connect(findText_, &QLineEdit::textChanged, this, [this](const QString& text) {
        find_->SetText(text);
        findCounter_->setText(find_->Counter());
    });
    connect(findText_, &QLineEdit::returnPressed, this, [this] { Find(true); });
    connect(close, &QToolButton::clicked, this, &MainWindow::CloseFindBar);
    // Between the top row and the tree, as the bar stands.
    setTabOrder(client->findChild<QPushButton*>(QStringLiteral("Command1_3")), findText_);
    setTabOrder(findText_, close);
    setTabOrder(close, treeView_);
}

void MainWindow::BuildStatusBar()
{
    placeLabel_ = new ElidedLabel(this);
    placeLabel_->setObjectName(QStringLiteral("StatusPlace"));
    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("StatusCount"));
    statusBar()->addWidget(placeLabel_, 1);
    statusBar()->addPermanentWidget(countLabel_);
    statusBar()->setSizeGripEnabled(true);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Insert, the New Item key, belongs to the find text while it has the focus.
    if (watched == findText_ && event->type() == QEvent::ShortcutOverride
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Insert) {
        event->accept();
        return true;
    }
    if (watched == findText_ && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        CloseFindBar();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::Arrange()
{
    // The described places at the default font: the top row and the tree's
    // left and top edges stay; the item buttons keep to the right edge and
    // "&Close" to the bottom right corner; the tree takes what is left. A
    // larger font widens the buttons to their captions.
    auto button = [this](const char* name) { return client_->findChild<QPushButton*>(QString::fromLatin1(name)); };
    // A caption needs its text and a pixel or two either side; the style's
    // own button sizes would widen the buttons even at the default font.
    auto fit = [](QPushButton* b, int width, int height) {
        const QFontMetrics metrics = b->fontMetrics();
        const int text = metrics.horizontalAdvance(QString(b->text()).remove(QLatin1Char('&')));
        return QSize(std::max(width, text + 4), std::max(height, metrics.height() + 8));
    };
    int x = 9;
    int rowHeight = 26;
    for (const char* name : {"Command1_0", "Command1_1", "Command1_2", "Command1_4", "Command1_3"})
        rowHeight = std::max(rowHeight, fit(button(name), 99, 26).height());
    for (const char* name : {"Command1_0", "Command1_1", "Command1_2", "Command1_4", "Command1_3"}) {
        const int width = fit(button(name), 99, 26).width();
        button(name)->setGeometry(x, 11, width, rowHeight);
        x += width + 4;
    }
    const int top = 11 + rowHeight + 8;
    int columnWidth = 94;
    int itemHeight = 26;
    for (const char* name : {"Command2_0", "Command2_2", "Command2_1", "Command2_3"}) {
        columnWidth = std::max(columnWidth, fit(button(name), 94, 26).width());
        itemHeight = std::max(itemHeight, fit(button(name), 94, 26).height());
    }
    QSize arrow(43, 34);
    for (const char* name : {"Command3_0", "Command3_1"})
        arrow = arrow.expandedTo(fit(button(name), 43, 34));

    const int minWidth = std::max(kClientWidth, x - 4 + 11 + columnWidth + 12);
    const int arrowsTop = top + 3 * itemHeight + 2 * 4 + 47;
    const int minHeight = std::max(kClientHeight, arrowsTop + 2 * arrow.height() + 4 + 20 + itemHeight + 12);
    client_->setMinimumSize(minWidth, minHeight);
    const int width = std::max(client_->width(), minWidth);
    const int height = std::max(client_->height(), minHeight);

    const int column = width - 12 - columnWidth;
    int y = top;
    for (const char* name : {"Command2_0", "Command2_2", "Command2_1"}) {
        button(name)->setGeometry(column, y, columnWidth, itemHeight);
        y += itemHeight + 4;
    }
    const int arrowLeft = column + std::max(0, std::min(28, columnWidth - arrow.width()));
    button("Command3_0")->setGeometry(arrowLeft, arrowsTop, arrow.width(), arrow.height());
    button("Command3_1")->setGeometry(arrowLeft, arrowsTop + arrow.height() + 4, arrow.width(), arrow.height());
    button("Command2_3")->setGeometry(width - 10 - columnWidth, height - 12 - itemHeight, columnWidth, itemHeight);

    const int treeWidth = column - 11 - 11;
    int treeTop = top;
    if (findBar_ && !findBar_->isHidden()) {
        const int barHeight = findBar_->sizeHint().height();
        findBar_->setGeometry(11, top, treeWidth, barHeight);
        treeTop += barHeight + 4;
    }
    treeView_->setGeometry(11, treeTop, treeWidth, height - 12 - treeTop);
}

void MainWindow::ShowFindBar()
{
    findBar_->show();
    Arrange();
    findText_->setFocus();
    findText_->selectAll();
}

void MainWindow::CloseFindBar()
{
    if (findBar_->isHidden())
        return;
    find_->Close();
    const QSignalBlocker quiet(findText_);
    findText_->clear();
    findCounter_->clear();
    findBar_->hide();
    Arrange();
    treeView_->setFocus();
}

void MainWindow::Find(bool forward)
{
    if (findBar_->isHidden() || findText_->text().trimmed().isEmpty()) {
        ShowFindBar();
        return;
    }
    if (forward)
        find_->Next();
    else
        find_->Previous();
    findCounter_->setText(find_->Counter());
}

void MainWindow::ExpandAll()
{
    // Through the view, which keeps chains too deep to lay out collapsed and
    // tells the document what it opened.
    const QModelIndex root = model_->index(0, 0);
    treeView_->expandRecursively(root);
    if (TreeNode* selected = document_.SelectedNode())
        treeView_->scrollTo(model_->IndexOf(selected));
}

void MainWindow::CollapseAll()
{
    // Every branch but the root, so the top items stay in sight, and so does
    // the selection: it goes first to its top item, as the view would
    // otherwise open the branches again to show it.
    TreeNode* top = document_.SelectedNode();
    while (top && top->Parent() && !top->Parent()->IsRoot())
        top = top->Parent();
    if (top)
        document_.Select(top);
    // The view closes everything in one layout, then the document follows,
    // which costs the view nothing more: no closed branch is in sight.
    treeView_->collapseAll();
    std::vector<TreeNode*> pending{document_.Root()};
    while (!pending.empty()) {
        TreeNode* node = pending.back();
        pending.pop_back();
        if (node->Expanded() && !node->IsRoot())
            document_.SetExpanded(node, false);
        pending.insert(pending.end(), node->Children().begin(), node->Children().end());
    }
    treeView_->expand(model_->index(0, 0));
    if (TreeNode* selected = document_.SelectedNode())
        treeView_->scrollTo(model_->IndexOf(selected));
}

void MainWindow::RefreshSoon()
{
    if (refreshPending_)
        return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshPending_ = false;
        Refresh();
    });
}

void MainWindow::Refresh()
{
    const QString file = place_->File();
    setWindowFilePath(file);
    setWindowTitle(file.isEmpty() ? QString(ProductName() + QStringLiteral("[*]"))
                                  : tr("%1[*] (%2) - %3")
                                        .arg(QFileInfo(file).fileName(),
                                             QDir::toNativeSeparators(QFileInfo(file).path()), ProductName()));
    setWindowModified(document_.TreeChanged());

    const int items = document_.NodeCount() - 1;
    countLabel_->setText(items == 1 ? tr("1 item") : tr("%1 items").arg(QLocale().toString(items)));
    static_cast<ElidedLabel*>(placeLabel_)->SetFullText(PlaceOf(document_.SelectedNode()));
}

void MainWindow::ShowExport()
{
    const auto& done = place_->LastExport();
    if (!done)
        return;
    const QString time = QLocale().toString(done->Time.time(), QLocale::ShortFormat);
    const QString folder = QDir::toNativeSeparators(done->Folder);
    statusBar()->showMessage(
        done->Items == 1 ? tr("Exported 1 item to %1 at %2").arg(folder, time)
                         : tr("Exported %1 items to %2 at %3").arg(QLocale().toString(done->Items), folder, time));
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
    if (AskToExportChanges(document_, ui_, place_.get())) {
        event->ignore();
        Refresh();
        return;
    }
    event->accept();
    SaveWindowPlacement();
    Unload();
}

void MainWindow::SaveWindowPlacement() const { EditorSettings().setValue(kPlacementKey, saveGeometry()); }

bool MainWindow::RestoreWindowPlacement()
{
    const QByteArray placement = EditorSettings().value(kPlacementKey).toByteArray();
    return !placement.isEmpty() && restoreGeometry(placement);
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
