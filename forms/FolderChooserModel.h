#pragma once
#include "document/TranslatableText.h"
#include "forms/Controls.h"

#include <QString>
#include <functional>
#include <vector>

namespace vi {

// One mounted volume as the drive list shows it.
struct Volume {
    QString RootPath;
    QString Name;
};

// The volumes the drive list offers, read afresh whenever the list is used.
using VolumeSource = std::function<std::vector<Volume>()>;
// The mounted volumes that are ready, by their native root paths.
std::vector<Volume> MountedVolumes();

inline constexpr TranslatableText kNewFolderNameMessage{
    "FolderChooserModel", QT_TRANSLATE_NOOP("FolderChooserModel", "You must type a folder name without \\ or /.")};
inline constexpr TranslatableText kNewFolderExistsMessage{
    "FolderChooserModel", QT_TRANSLATE_NOOP("FolderChooserModel", "There is already a folder of that name.")};
inline constexpr TranslatableText kNewFolderFailedMessage{
    "FolderChooserModel", QT_TRANSLATE_NOOP("FolderChooserModel", "Unable to create the folder.")};

// The behaviour of the export folder chooser (frmFolder): the drive list, the
// folder of the chosen drive, the path box Text1 and its rule for "&OK", New
// Folder, and the Tag protocol. The view mirrors it and forwards the user's actions.
//
// The chooser is one program-wide instance: "&OK" and "&Cancel" only hide it,
// so the next show for the same folder keeps its drive and folder; the close
// box unloads it, so the next show starts afresh.
class FolderChooserModel {
public:
    static inline constexpr TranslatableText kCaption{"FolderChooserModel",
                                                      QT_TRANSLATE_NOOP("FolderChooserModel", "Export to Folder")};

    explicit FolderChooserModel(VolumeSource volumes = MountedVolumes);

    // Called at every show, before the modal loop, with the folder the
    // document belongs to (empty when it has none). Loads afresh before the
    // first show, after the close box, for a document with no folder, and when
    // the folder changed since the last show; otherwise keeps the user's last choice. Either way the drive
    // list is read again, there is no outcome yet, and "&OK" follows the
    // folder as it is now.
    void Show(const QString& initialFolder);
    bool NeedsLoad() const { return !loaded_; }
    // The Load event: opens on initialFolder when it names an existing folder;
    // otherwise no folder is chosen, so that "&OK" waits for the user's choice,
    // and the list shows the drive of the home folder.
    void Load(const QString& initialFolder);

    const std::vector<Volume>& Drives() const { return drives_; }
    static QString DriveText(const Volume& volume);
    int DriveIndex() const { return driveIndex_; } // -1 when there is no drive
    // The root of the drive Dir1 lists; empty when there is no drive.
    QString ListRoot() const;
    const QString& DirPath() const { return dirPath_; } // the folder Dir1 shows chosen; empty for none
    const QString& Text1() const { return text1_; }
    bool OkEnabled() const { return okEnabled_; }
    // The folder Text1 names, in its plain native form; empty unless "&OK" is enabled.
    QString ChosenFolder() const;
    DialogTag Tag() const { return tag_; }

    // Drive1 changed: Dir1 moves to the drive's root. A drive that is no
    // longer mounted, or cannot be listed, leaves Dir1 where it was.
    void DriveChanged(int index);
    // Dir1 changed: the user opened a folder.
    void DirChanged(const QString& path);
    // Text1 changed (typed or shown): "&OK" only for an existing folder named
    // by an absolute path ("~" standing for the home folder); Dir1 follows such a folder.
    void Text1Changed(const QString& text);
    // New Folder: creates the named folder in the chosen one and chooses it.
    // The message for the user when that could not be done, else empty.
    QString NewFolder(const QString& name);
    void OkClicked();
    void CancelClicked();
    void CloseBoxClicked();

    // The existing folder a path box text names, in its plain native form; empty for none.
    static QString FolderNamedBy(const QString& text);

private:
    // The listed drive whose root holds path (the longest such root), else -1.
    int DriveOf(const QString& path) const;

    VolumeSource volumes_;
    std::vector<Volume> drives_;
    int driveIndex_ = -1;
    QString dirPath_;
    QString text1_;
    QString initialAtShow_;
    bool okEnabled_ = false;
    DialogTag tag_ = DialogTag::None;
    bool loaded_ = false;
};

} // namespace vi
