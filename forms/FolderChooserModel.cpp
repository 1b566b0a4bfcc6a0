#include "forms/FolderChooserModel.h"

#include "document/AppInfo.h"
#include "script/FileSystem.h"

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

} // namespace

QString FolderChooserModel::DriveText(const Volume& volume)
{
    if (volume.Name.isEmpty())
        return volume.RootPath;
    return QStringLiteral("%1 [%2]").arg(volume.RootPath, volume.Name);
}

void FolderChooserModel::Load(std::vector<Volume> volumes, const QString& currentFolder)
{
    drives_ = std::move(volumes);
    // The drive of the current folder is the one with the longest matching root.
    int best = -1;
    for (int i = 0; i < static_cast<int>(drives_.size()); ++i) {
        const QString& root = drives_[static_cast<std::size_t>(i)].RootPath;
        if (LiesOn(currentFolder, root)
            && (best < 0 || root.size() > drives_[static_cast<std::size_t>(best)].RootPath.size()))
            best = i;
    }
    driveIndex_ = best >= 0 ? best : (drives_.empty() ? -1 : 0);
    dirPath_.clear();
    if (driveIndex_ >= 0) {
        const QString& root = drives_[static_cast<std::size_t>(driveIndex_)].RootPath;
        dirPath_ = LiesOn(currentFolder, root) && FolderExists(currentFolder) ? currentFolder : root;
    }
    tag_ = DialogTag::None;
    loaded_ = true;
    Text1Changed(dirPath_);
}

void FolderChooserModel::BeginShow()
{
    tag_ = DialogTag::None;
    Text1Changed(text1_);
}

void FolderChooserModel::DriveChanged(int index)
{
    if (index < 0 || index >= static_cast<int>(drives_.size()))
        return;
    driveIndex_ = index;
    const QString& root = drives_[static_cast<std::size_t>(index)].RootPath;
    if (!FolderExists(root))
        return;
    DirChanged(root);
}

void FolderChooserModel::DirChanged(const QString& path)
{
    dirPath_ = path;
    Text1Changed(path);
}

void FolderChooserModel::Text1Changed(const QString& text)
{
    text1_ = text;
    okEnabled_ = !text.isEmpty() && FolderExists(text);
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
