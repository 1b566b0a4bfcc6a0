#pragma once
#include "app/FormDialog.h"
#include "forms/ItemPropModel.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vi {

class FolderPicture;

// The item properties dialog: widgets bound to an ItemPropModel. Every user
// action goes to the model's handler, then every widget re-reads its state.
class ItemPropDialog final : public FormDialog {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 462;  // 6930 twips
    static constexpr int kClientHeight = 486; // 7290 twips

    explicit ItemPropDialog(const TreeSettings& settings, QWidget* parent = nullptr);

    ItemPropModel& Model() { return model_; }

    void Refresh() override;

private:
    ItemPropModel model_;
    QRadioButton* branch_ = nullptr;
    QRadioButton* leaf_ = nullptr;
    QLineEdit* friendlyName_ = nullptr;
    std::array<QCheckBox*, kItemValueCount> valueBoxes_{};
    std::array<QLineEdit*, kItemValueCount> values_{};
    std::array<QCheckBox*, kGlobalChoiceCount> useGlobal_{};
    std::array<FolderPicture*, 4> pictureChoosers_{}; // beside the bullets and the mouse-out and -over pictures
    QCheckBox* hasText_ = nullptr;
    QLineEdit* itemText_ = nullptr;
    QCheckBox* ownFont_ = nullptr;
    QComboBox* fontSize_ = nullptr;
    QComboBox* fontColour_ = nullptr;
};

} // namespace vi
