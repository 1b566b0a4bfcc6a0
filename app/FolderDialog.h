#pragma once
#include "forms/FolderChooserModel.h"

#include <QDialog>
#include <QPersistentModelIndex>
#include <QString>
#include <optional>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace vi {

// Shows the program-wide export folder chooser modally, opening on
// initialFolder (no folder chosen when it is empty); the chosen folder on OK.
std::optional<QString> RunFolderChooser(QWidget* parent, const QString& initialFolder);

// The export folder chooser (frmFolder): a thin view over FolderChooserModel.
class FolderDialog final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 253;  // 3795 twips
    static constexpr int kClientHeight = 292; // 4380 twips

    explicit FolderDialog(QWidget* parent = nullptr, VolumeSource volumes = MountedVolumes);

    // The one instance of the run, created on first use.
    static FolderDialog& Instance(QWidget* parent);

    // Shows the dialog modally on initialFolder, or where the user left it
    // when that is the folder of the last show.
    std::optional<QString> Run(const QString& initialFolder);

    FolderChooserModel& Model() { return model_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void reject() override; // Escape answers as "&Cancel" does

private:
    void Refresh();
    void OnDirChosen(const QModelIndex& index);
    void OnNewFolder();

    FolderChooserModel model_;
    QComboBox* drive1_ = nullptr;
    QTreeView* dir1_ = nullptr;
    QFileSystemModel* folders_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QPushButton* newFolder_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QString shownRoot_;
    QPersistentModelIndex inView_; // the folder kept in view while the list fills
    bool scrollPending_ = false;   // the chosen folder is kept in view while the list fills
    bool refreshing_ = false;
};

} // namespace vi
