#pragma once
#include "app/FormDialog.h"
#include "forms/TreePropModel.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace vi {

class FolderPicture;

// The tree properties dialog: widgets bound to a TreePropModel. Every user
// action goes to the model's handler, then every widget re-reads its state.
class TreePropDialog final : public FormDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 445;  // 6675 twips
    static constexpr int kClientHeight = 416; // 6240 twips

    // The line colours come from the sub-folders of treeLinesFolder.
    explicit TreePropDialog(QWidget* parent = nullptr, const QString& treeLinesFolder = TreeLinesFolder());

    TreePropModel& Model() { return model_; }

    void Refresh() override;

private:
    TreePropModel model_;
    std::array<QLineEdit*, 2> text1_{};
    QComboBox* combo2_ = nullptr;
    std::array<QRadioButton*, 3> option1_{};
    std::array<QComboBox*, 4> combo1_{};
    std::array<QCheckBox*, 5> check1_{};
    std::array<QLineEdit*, 5> text2_{};
    std::array<FolderPicture*, 3> image1_{};
    QCheckBox* check3_ = nullptr;
};

} // namespace vi
