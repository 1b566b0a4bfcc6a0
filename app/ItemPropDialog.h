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
    std::array<QRadioButton*, 2> option1_{};
    QLineEdit* text3_ = nullptr;
    std::array<QCheckBox*, 7> check1_{};
    std::array<QCheckBox*, 4> check4_{};
    std::array<QLineEdit*, 7> text2_{};
    std::array<FolderPicture*, 4> image1_{};
    QCheckBox* check2_ = nullptr;
    QLineEdit* text1_ = nullptr;
    QCheckBox* check3_ = nullptr;
    std::array<QComboBox*, 2> combo1_{};
};

} // namespace vi
