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
    QLineEdit* positionX_ = nullptr;
    QLineEdit* positionY_ = nullptr;
    QComboBox* itemHeight_ = nullptr;
    std::array<QRadioButton*, 3> lineStyles_{}; // in the order of LineStyle
    QComboBox* lineColour_ = nullptr;
    QComboBox* signColour_ = nullptr;
    std::array<QCheckBox*, kTreeValueCount> valueBoxes_{};
    std::array<QLineEdit*, kTreeValueCount> values_{};
    std::array<FolderPicture*, 3> pictureChoosers_{}; // beside the three bullets
    QCheckBox* globalFont_ = nullptr;
    QComboBox* fontSize_ = nullptr;
    QComboBox* fontColour_ = nullptr;
};

} // namespace vi
