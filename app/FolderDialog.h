#pragma once
#include "forms/FolderChooserModel.h"

#include <QDialog>
#include <QString>
#include <optional>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace vi {

// Shows the program-wide export folder chooser modally; the chosen folder on OK.
std::optional<QString> RunFolderChooser(QWidget* parent);

// The export folder chooser (frmFolder): a thin view over FolderChooserModel.
class FolderDialog final : public QDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 253;  // 3795 twips
    static constexpr int kClientHeight = 292; // 4380 twips

    explicit FolderDialog(QWidget* parent = nullptr);

    // The one instance of the run, created on first use.
    static FolderDialog& Instance(QWidget* parent);

    // Shows the dialog modally, loading it first when it is not loaded.
    std::optional<QString> Run();

    FolderChooserModel& Model() { return model_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void reject() override; // Escape answers as "&Cancel" does

private:
    void LoadDrives(const QString& folder);
    void Refresh();
    void OnDirChosen(const QModelIndex& index);

    FolderChooserModel model_;
    QComboBox* drive1_ = nullptr;
    QTreeView* dir1_ = nullptr;
    QFileSystemModel* folders_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QString shownRoot_;
    QString lastUsedAtShow_;
    bool scrollPending_ = false; // the chosen folder is kept in view while the list fills
    bool refreshing_ = false;
};

} // namespace vi
