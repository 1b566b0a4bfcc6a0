#include "app/FolderDialog.h"

#include "document/AppInfo.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <limits>

namespace vi {

namespace {

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

// Whether a folder lies strictly below root ('/' separated).
bool LiesUnder(const QString& folder, const QString& root)
{
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return folder.size() > prefix.size() && folder.startsWith(prefix);
}

} // namespace

FolderDialog::FolderDialog(QWidget* parent, VolumeSource volumes) : QDialog(parent), model_(std::move(volumes))
{
    setObjectName(QStringLiteral("frmFolder"));
    setWindowTitle(FolderChooserModel::kCaption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setSizeGripEnabled(true);

    auto* driveLabel = new QLabel(tr("Select a Drive:"), this);
    driveLabel->setObjectName(QStringLiteral("Label1_0"));
    drive1_ = new QComboBox(this);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    // A long volume name widens the list that drops down, not the dialog.
    drive1_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    drive1_->setMinimumContentsLength(12);

    auto* folderLabel = new QLabel(tr("Select a Folder:"), this);
    folderLabel->setObjectName(QStringLiteral("Label1_1"));
    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    dir1_ = new QTreeView(this);
    dir1_->setObjectName(QStringLiteral("Dir1"));
    dir1_->setModel(folders_);
    dir1_->setHeaderHidden(true);
    for (int column = 1; column < folders_->columnCount(); ++column)
        dir1_->hideColumn(column);
    // Names are shown whole; the list scrolls sideways instead of cutting them.
    dir1_->header()->setStretchLastSection(false);
    dir1_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    dir1_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setMaxLength(std::numeric_limits<int>::max());
    auto* completer = new QCompleter(text1_);
    auto* completions = new QFileSystemModel(completer);
    completions->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    completions->setRootPath(QString());
    completer->setModel(completions);
    text1_->setCompleter(completer);

    newFolder_ = new QPushButton(tr("&New Folder"), this);
    newFolder_->setObjectName(QStringLiteral("NewFolder"));
    newFolder_->setAutoDefault(false);
    ok_ = new QPushButton(tr("&OK"), this);
    ok_->setObjectName(QStringLiteral("Command1_1"));
    ok_->setDefault(true);
    cancel_ = new QPushButton(tr("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("Command1_0"));

    // The described places at the default font: labels a little in from the
    // lists, the buttons along the bottom right; the folder list takes the growth.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 6, 11, 10);
    layout->setSpacing(3);
    driveLabel->setContentsMargins(5, 0, 0, 0);
    folderLabel->setContentsMargins(5, 0, 0, 0);
    layout->addWidget(driveLabel);
    layout->addWidget(drive1_);
    layout->addSpacing(9);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderLabel, 1);
    folderRow->addWidget(newFolder_);
    layout->addLayout(folderRow);
    layout->addWidget(dir1_, 1);
    layout->addSpacing(13);
    layout->addWidget(text1_);
    layout->addSpacing(7);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    resize(kClientWidth, kClientHeight);

    setTabOrder(drive1_, dir1_);
    setTabOrder(dir1_, newFolder_);
    setTabOrder(newFolder_, text1_);
    setTabOrder(text1_, ok_);
    setTabOrder(ok_, cancel_);

    connect(drive1_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (refreshing_)
            return;
        model_.DriveChanged(index);
        Refresh();
    });
    // The folder list fills and sorts itself in the background; until the user
    // touches it, the chosen folder is scrolled into view again as rows come in.
    const auto keepChosenInView = [this] {
        if (scrollPending_ && inView_.isValid())
            dir1_->scrollTo(inView_);
    };
    connect(folders_, &QFileSystemModel::directoryLoaded, this, keepChosenInView);
    connect(folders_, &QAbstractItemModel::rowsInserted, this, keepChosenInView);
    connect(folders_, &QAbstractItemModel::layoutChanged, this, keepChosenInView);
    dir1_->installEventFilter(this);
    dir1_->viewport()->installEventFilter(this);
    connect(dir1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnDirChosen(current); });
    connect(text1_, &QLineEdit::textChanged, this, [this, completions](const QString& text) {
        // The completer offers only what its model has read: read the folder being typed in.
        const QString typedIn = QFileInfo(QDir::fromNativeSeparators(text)).path();
        if (QDir::isAbsolutePath(typedIn) && QFileInfo(typedIn).isDir())
            completions->setRootPath(typedIn);
        if (refreshing_)
            return;
        model_.Text1Changed(text);
        Refresh();
    });
    connect(newFolder_, &QPushButton::clicked, this, &FolderDialog::OnNewFolder);
    connect(ok_, &QPushButton::clicked, this, [this] {
        model_.OkClicked();
        if (model_.Tag() == DialogTag::Ok)
            accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &FolderDialog::reject);
}

FolderDialog& FolderDialog::Instance(QWidget* parent)
{
    static QPointer<FolderDialog> instance;
    if (!instance)
        instance = new FolderDialog(parent);
    return *instance;
}

std::optional<QString> FolderDialog::Run(const QString& initialFolder)
{
    model_.Show(initialFolder);
    Refresh();
    exec();
    if (model_.Tag() != DialogTag::Ok)
        return std::nullopt;
    return model_.ChosenFolder();
}

void FolderDialog::Refresh()
{
    refreshing_ = true;
    QStringList drives;
    for (const Volume& volume : model_.Drives())
        drives << FolderChooserModel::DriveText(volume);
    QStringList shownDrives;
    for (int i = 0; i < drive1_->count(); ++i)
        shownDrives << drive1_->itemText(i);
    if (drives != shownDrives) {
        drive1_->clear();
        for (const QString& drive : drives) {
            drive1_->addItem(drive);
            drive1_->setItemData(drive1_->count() - 1, drive, Qt::ToolTipRole);
        }
    }
    drive1_->setCurrentIndex(model_.DriveIndex());

    // Dir1 lists the chosen drive from its root.
    const QString root = QDir::fromNativeSeparators(model_.ListRoot());
    if (root != shownRoot_) {
        shownRoot_ = root;
        folders_->setRootPath(root);
        dir1_->setRootIndex(folders_->index(root));
    }
    const QString dir = QDir::fromNativeSeparators(model_.DirPath());
    const QModelIndex current = dir.isEmpty() || dir == root ? QModelIndex() : folders_->index(dir);
    if (!current.isValid() || !LiesUnder(dir, root)) {
        dir1_->selectionModel()->clear();
        // With no folder chosen, the list opens where the user's own folders are.
        const QString home = QDir::homePath();
        const QModelIndex homeIndex = dir.isEmpty() && LiesUnder(home, root) ? folders_->index(home) : QModelIndex();
        if (homeIndex.isValid() && homeIndex != inView_) {
            inView_ = homeIndex;
            dir1_->scrollTo(homeIndex);
            scrollPending_ = true;
        }
    } else if (current != dir1_->currentIndex()) {
        dir1_->setCurrentIndex(current);
        inView_ = current;
        dir1_->scrollTo(current);
        scrollPending_ = true;
        dir1_->expand(current);
    }
    if (text1_->text() != model_.Text1())
        text1_->setText(model_.Text1());
    text1_->setToolTip(model_.Text1());
    ok_->setEnabled(model_.OkEnabled());
    newFolder_->setEnabled(model_.OkEnabled());
    refreshing_ = false;
}

void FolderDialog::OnDirChosen(const QModelIndex& index)
{
    if (refreshing_ || !index.isValid())
        return;
    model_.DirChanged(Native(folders_->filePath(index)));
    Refresh();
}

bool FolderDialog::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::KeyPress:
        scrollPending_ = false; // the list stays where the user puts it
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void FolderDialog::OnNewFolder()
{
    bool accepted = false;
    const QString name = QInputDialog::getText(this, tr("New Folder"), tr("Folder name:"), QLineEdit::Normal,
                                               tr("New Folder"), &accepted);
    if (!accepted)
        return;
    const QString message = model_.NewFolder(name);
    if (!message.isEmpty())
        QMessageBox(QMessageBox::Information, ProductName(), message, QMessageBox::Ok, this).exec();
    Refresh();
}

void FolderDialog::reject()
{
    model_.CancelClicked();
    QDialog::reject();
}

void FolderDialog::closeEvent(QCloseEvent* event)
{
    // Only the close box of the shown dialog unloads it; any other close leaves it as it was.
    if (isVisible()) {
        model_.CloseBoxClicked();
        QDialog::reject();
    }
    event->accept();
}

std::optional<QString> RunFolderChooser(QWidget* parent, const QString& initialFolder)
{
    return FolderDialog::Instance(parent).Run(initialFolder);
}

} // namespace vi
