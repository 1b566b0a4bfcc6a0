#pragma once
#include "document/TranslatableText.h"
#include "forms/Controls.h"

#include <QString>
#include <vector>

namespace vi {

// One mounted volume as the drive list shows it.
struct Volume {
    QString RootPath;
    QString Name;
};

// The behaviour of the export folder chooser (frmFolder): the drive list, the
// folder of the chosen drive, the path box Text1 and its rule for "&OK", and
// the Tag protocol. The view mirrors it and forwards the user's actions.
//
// The chooser is one program-wide instance: "&OK" and "&Cancel" only hide it,
// so the next show keeps its drive and folder; the close box unloads it, so
// the next show starts afresh.
class FolderChooserModel {
public:
    static inline constexpr TranslatableText kCaption{"FolderChooserModel",
                                                      QT_TRANSLATE_NOOP("FolderChooserModel", "Export to Folder")};

    // True before the first show and after the close box: the view must Load.
    bool NeedsLoad() const { return !loaded_; }
    // The Load event: the drives are the mounted volumes; Drive1 shows the one
    // holding currentFolder, and Dir1 opens currentFolder when it lies on that
    // drive, else the drive's root.
    void Load(std::vector<Volume> volumes, const QString& currentFolder);
    // Called at every show, before the modal loop: no outcome yet, and "&OK"
    // follows the folder as it is now.
    void BeginShow();

    const std::vector<Volume>& Drives() const { return drives_; }
    static QString DriveText(const Volume& volume);
    int DriveIndex() const { return driveIndex_; }      // -1 when there is no drive
    const QString& DirPath() const { return dirPath_; } // the folder Dir1 shows
    const QString& Text1() const { return text1_; }
    bool OkEnabled() const { return okEnabled_; }
    DialogTag Tag() const { return tag_; }

    // Drive1 changed: Dir1 moves to the drive's root; an unreadable drive
    // leaves Dir1 where it was.
    void DriveChanged(int index);
    // Dir1 changed: the user opened a folder.
    void DirChanged(const QString& path);
    // Text1 changed: "&OK" only for an existing folder.
    void Text1Changed(const QString& text);
    void OkClicked();
    void CancelClicked();
    void CloseBoxClicked();

private:
    std::vector<Volume> drives_;
    int driveIndex_ = -1;
    QString dirPath_;
    QString text1_;
    bool okEnabled_ = false;
    DialogTag tag_ = DialogTag::None;
    bool loaded_ = false;
};

} // namespace vi
