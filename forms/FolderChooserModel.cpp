#include "forms/FolderChooserModel.h"

#include "document/AppInfo.h"
#include "script/FileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace vi {

namespace {

// Whether path is the folder root or lies below it (compared by whole names).
bool LiesOn(const QString& path, const QString& root)
{
    if (root.isEmpty() || !path.startsWith(root))
        return false;
    return path.size() == root.size() || root.endsWith(NativeSeparator()) || root.endsWith(QLatin1Char('/'))
           || path.at(root.size()) == NativeSeparator() || path.at(root.size()) == QLatin1Char('/');
}

// A folder whose names can be read, so that the list shows what it holds.
bool CanList(const QString& folder) { return FolderExists(folder) && QFileInfo(folder).isReadable(); }

} // namespace

std::vector<Volume> MountedVolumes()
{
    std::vector<Volume> volumes;
    for (const QStorageInfo& storage : QStorageInfo::mountedVolumes()) {
        if (storage.isValid() && storage.isReady())
            volumes.push_back({QDir::toNativeSeparators(storage.rootPath()), storage.name()});
    }
    return volumes;
}

FolderChooserModel::FolderChooserModel(VolumeSource volumes) : volumes_(std::move(volumes)) {}

QString FolderChooserModel::DriveText(const Volume& volume)
{
    if (volume.Name.isEmpty())
        return volume.RootPath;
    return QStringLiteral("%1 [%2]").arg(volume.RootPath, volume.Name);
}

QString FolderChooserModel::FolderNamedBy(const QString& text)
{
    QString path = text;
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/"))
        || path.startsWith(QLatin1Char('~') + NativeSeparator()))
        path = QDir::homePath() + path.mid(1);
    // A relative path would name a folder below whatever the current folder happens to be.
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        return {};
    path = QDir::cleanPath(QDir::fromNativeSeparators(path));
    return FolderExists(path) ? QDir::toNativeSeparators(path) : QString();
}

int FolderChooserModel::DriveOf(const QString& path) const
{
    int best = -1;
    for (int i = 0; i < static_cast<int>(drives_.size()); ++i) {
        const QString& root = drives_[static_cast<std::size_t>(i)].RootPath;
        if (LiesOn(path, root) && (best < 0 || root.size() > drives_[static_cast<std::size_t>(best)].RootPath.size()))
            best = i;
    }
    return best;
}

QString FolderChooserModel::ListRoot() const
{
    return driveIndex_ >= 0 ? drives_[static_cast<std::size_t>(driveIndex_)].RootPath : QString();
}

void FolderChooserModel::Show(const QString& initialFolder)
{
    // A tree with no folder always starts with none chosen: a choice left
    // from another tree must not take its export.
    if (!loaded_ || initialFolder.isEmpty() || initialFolder != initialAtShow_) {
        initialAtShow_ = initialFolder;
        Load(initialFolder);
        return;
    }
    // Volumes come and go between shows; the drive list shows those mounted now.
    const QString root = ListRoot();
    drives_ = volumes_();
    driveIndex_ = DriveOf(dirPath_.isEmpty() ? root : dirPath_);
    if (driveIndex_ < 0 && !drives_.empty())
        driveIndex_ = 0;
    tag_ = DialogTag::None;
    Text1Changed(text1_);
}

void FolderChooserModel::Load(const QString& initialFolder)
{
    drives_ = volumes_();
    dirPath_.clear();
    tag_ = DialogTag::None;
    loaded_ = true;
    const QString folder = FolderNamedBy(initialFolder);
    driveIndex_ = DriveOf(folder.isEmpty() ? QDir::toNativeSeparators(QDir::homePath()) : folder);
    if (driveIndex_ < 0 && !drives_.empty())
        driveIndex_ = 0;
    Text1Changed(folder);
}

void FolderChooserModel::DriveChanged(int index)
{
    if (index < 0 || index >= static_cast<int>(drives_.size()))
        return;
    // The list may be stale: a volume unmounted since leaves an empty mount
    // point behind, which must not stand in for the drive.
    const QString root = drives_[static_cast<std::size_t>(index)].RootPath;
    const int before = driveIndex_;
    const QString listedBefore = ListRoot();
    drives_ = volumes_();
    int chosen = -1;
    for (int i = 0; i < static_cast<int>(drives_.size()); ++i) {
        if (drives_[static_cast<std::size_t>(i)].RootPath == root)
            chosen = i;
    }
    if (chosen >= 0 && CanList(root)) {
        driveIndex_ = chosen;
        DirChanged(root);
        return;
    }
    driveIndex_ = DriveOf(dirPath_.isEmpty() ? listedBefore : dirPath_);
    if (driveIndex_ < 0)
        driveIndex_ = before < static_cast<int>(drives_.size()) ? before : static_cast<int>(drives_.size()) - 1;
}

void FolderChooserModel::DirChanged(const QString& path) { Text1Changed(path); }

void FolderChooserModel::Text1Changed(const QString& text)
{
    text1_ = text;
    const QString folder = FolderNamedBy(text);
    okEnabled_ = !folder.isEmpty();
    if (!okEnabled_)
        return;
    dirPath_ = folder;
    const int drive = DriveOf(folder);
    if (drive >= 0)
        driveIndex_ = drive;
}

QString FolderChooserModel::ChosenFolder() const { return okEnabled_ ? FolderNamedBy(text1_) : QString(); }

QString FolderChooserModel::NewFolder(const QString& name)
{
    const QString parent = ChosenFolder();
    const QString plain = name.trimmed();
    if (parent.isEmpty() || plain.isEmpty() || plain == QLatin1String(".") || plain == QLatin1String("..")
        || plain.contains(QLatin1Char('/')) || plain.contains(QLatin1Char('\\')))
        return kNewFolderNameMessage;
    const QString path = QDir(parent).filePath(plain);
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return kNewFolderExistsMessage;
    if (!QDir(parent).mkdir(plain))
        return kNewFolderFailedMessage;
    DirChanged(QDir::toNativeSeparators(path));
    return {};
}

void FolderChooserModel::OkClicked()
{
    if (okEnabled_)
        tag_ = DialogTag::Ok;
}

void FolderChooserModel::CancelClicked() { tag_ = DialogTag::Cancel; }

void FolderChooserModel::CloseBoxClicked()
{
    tag_ = DialogTag::Cancel;
    loaded_ = false;
}

} // namespace vi
