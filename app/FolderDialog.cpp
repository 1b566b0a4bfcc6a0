#include "app/FolderDialog.h"

#include "app/DesignLayout.h"
#include "app/RecentFolder.h"
#include "preview/Twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>

namespace vi {

namespace {

QString Native(const QString& path) { return QDir::toNativeSeparators(path); }

} // namespace

FolderDialog::FolderDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFolder"));
    setWindowTitle(FolderChooserModel::kCaption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    new DesignLayout(this, QSize(kClientWidth, kClientHeight));

    auto* driveLabel = new QLabel(tr("Select a Drive:"), this);
    driveLabel->setObjectName(QStringLiteral("Label1_0"));
    SetDesignPlace(driveLabel, Twips(255, 90, 2505, 285));

    drive1_ = new QComboBox(this);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    SetDesignPlace(drive1_, Twips(180, 360, 3450, 315));

    auto* folderLabel = new QLabel(tr("Select a Folder:"), this);
    folderLabel->setObjectName(QStringLiteral("Label1_1"));
    SetDesignPlace(folderLabel, Twips(255, 810, 2505, 285));

    folders_ = new QFileSystemModel(this);
    folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    dir1_ = new QTreeView(this);
    dir1_->setObjectName(QStringLiteral("Dir1"));
    SetDesignPlace(dir1_, Twips(180, 1080, 3450, 2115));
    dir1_->setModel(folders_);
    dir1_->setHeaderHidden(true);
    for (int column = 1; column < folders_->columnCount(); ++column)
        dir1_->hideColumn(column);
    dir1_->setEditTriggers(QAbstractItemView::NoEditTriggers);

    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    SetDesignPlace(text1_, Twips(180, 3435, 3450, 285));
    text1_->setReadOnly(true);
    QPalette locked = text1_->palette();
    locked.setColor(QPalette::Base, locked.color(QPalette::Button));
    text1_->setPalette(locked);

    ok_ = new QPushButton(tr("&OK"), this);
    ok_->setObjectName(QStringLiteral("Command1_1"));
    SetDesignPlace(ok_, Twips(1470, 3870, 1020, 360));
    cancel_ = new QPushButton(tr("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("Command1_0"));
    SetDesignPlace(cancel_, Twips(2610, 3870, 1020, 360));

    setTabOrder(drive1_, dir1_);
    setTabOrder(dir1_, text1_);
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
        if (scrollPending_)
            dir1_->scrollTo(dir1_->currentIndex());
    };
    connect(folders_, &QFileSystemModel::directoryLoaded, this, keepChosenInView);
    connect(folders_, &QAbstractItemModel::rowsInserted, this, keepChosenInView);
    connect(folders_, &QAbstractItemModel::layoutChanged, this, keepChosenInView);
    dir1_->installEventFilter(this);
    dir1_->viewport()->installEventFilter(this);
    connect(dir1_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnDirChosen(current); });
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

std::optional<QString> FolderDialog::Run()
{
    // Afresh after the close box, and on the folder of a load or export made
    // since the last show; otherwise where the user left it.
    const QString lastUsed = FolderUsedThisRun();
    if (model_.NeedsLoad() || lastUsed != lastUsedAtShow_)
        LoadDrives(lastUsed);
    lastUsedAtShow_ = lastUsed;
    model_.BeginShow();
    Refresh();
    exec();
    if (model_.Tag() != DialogTag::Ok)
        return std::nullopt;
    return model_.Text1();
}

void FolderDialog::LoadDrives(const QString& folder)
{
    std::vector<Volume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        if (storage.isValid() && storage.isReady())
            volumes.push_back({Native(storage.rootPath()), storage.name()});
    }
    model_.Load(std::move(volumes), folder);
    refreshing_ = true;
    drive1_->clear();
    for (const Volume& volume : model_.Drives())
        drive1_->addItem(FolderChooserModel::DriveText(volume));
    refreshing_ = false;
    shownRoot_.clear();
}

void FolderDialog::Refresh()
{
    refreshing_ = true;
    drive1_->setCurrentIndex(model_.DriveIndex());
    const QString dir = QDir::fromNativeSeparators(model_.DirPath());
    if (!dir.isEmpty()) {
        // Dir1 lists the drive that holds its folder.
        const QString root = QStorageInfo(dir).rootPath();
        if (root != shownRoot_) {
            shownRoot_ = root;
            folders_->setRootPath(root);
            dir1_->setRootIndex(folders_->index(root));
        }
        const QModelIndex current = folders_->index(dir);
        if (current.isValid() && current != dir1_->currentIndex()) {
            dir1_->setCurrentIndex(current);
            dir1_->scrollTo(current);
            scrollPending_ = true;
        }
        dir1_->expand(current);
    }
    text1_->setText(model_.Text1());
    ok_->setEnabled(model_.OkEnabled());
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

std::optional<QString> RunFolderChooser(QWidget* parent) { return FolderDialog::Instance(parent).Run(); }

} // namespace vi
