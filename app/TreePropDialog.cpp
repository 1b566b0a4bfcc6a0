#include "app/TreePropDialog.h"

#include "app/PicturePicker.h"
#include "app/PropertyDialogControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

namespace vi {

TreePropDialog::TreePropDialog(QWidget* parent, const QString& treeLinesFolder)
    : FormDialog(parent, QStringLiteral("frmTreeProp"), kTreePropCaption, QSize(kClientWidth, kClientHeight)),
      model_(treeLinesFolder)
{
    BindForm(model_);

    using enum TreeValue;
    std::vector<QWidget*> tabOrder;
    const auto label = [](QWidget* parent, const QString& name, const QRect& place, const char* caption) {
        MakeControl<QLabel>(parent, name, place, tr(caption));
    };
    const auto add = [&](auto* widget) {
        tabOrder.push_back(widget);
        return widget;
    };
    const auto list = [&](QWidget* frame, int index, const QRect& place) {
        return add(MakeControl<QComboBox>(frame, Indexed("Combo1", index), place));
    };
    const auto lineStyle = [&](QWidget* frame, LineStyle style, const QRect& place, const char* caption) {
        lineStyles_[std::size_t(style)] =
            add(MakeControl<QRadioButton>(frame, Indexed("Option1", int(style)), place, tr(caption)));
    };
    const auto valueBox = [&](QWidget* frame, TreeValue value, const QRect& place, const char* caption) {
        valueBoxes_[std::size_t(value)] =
            add(MakeControl<QCheckBox>(frame, Indexed("Check1", int(value)), place, tr(caption)));
    };
    const auto value = [&](QWidget* frame, TreeValue value, const QRect& place) {
        values_[std::size_t(value)] = add(MakeControl<QLineEdit>(frame, Indexed("Text2", int(value)), place));
    };
    const auto pictureChooser = [&](QWidget* frame, TreeValue bullet, const QRect& place) {
        FolderPicture*& chooser = pictureChoosers_[std::size_t(bullet)];
        chooser = MakeControl<FolderPicture>(frame, Indexed("Image1", int(bullet)), place);
        tabOrder.push_back(chooser);
    };

    // The upper box stands beside the X label but edits TreeY, the lower one the other way round.
    auto* dimensions =
        MakeControl<QGroupBox>(this, QStringLiteral("Frame2"), Twips(90, 75, 3000, 2190), tr("Tree Dimensions"));
    label(dimensions, Indexed("Label1", 1), Twips(195, 405, 1770, 285), QT_TR_NOOP("Top Left X Pixel Position:"));
    positionY_ = add(MakeControl<QLineEdit>(dimensions, Indexed("Text1", 1), Twips(2100, 375, 600, 285)));
    label(dimensions, Indexed("Label1", 0), Twips(165, 810, 1800, 285), QT_TR_NOOP("Top Left Y Pixel Position:"));
    positionX_ = add(MakeControl<QLineEdit>(dimensions, Indexed("Text1", 0), Twips(2100, 780, 600, 285)));
    label(dimensions, QStringLiteral("Label3"), Twips(150, 1485, 1455, 270), QT_TR_NOOP("Height of each item:"));
    itemHeight_ = add(MakeControl<QComboBox>(dimensions, QStringLiteral("Combo2"), Twips(1650, 1440, 1170, 315)));

    auto* lines = MakeControl<QGroupBox>(this, QStringLiteral("Frame1"), Twips(105, 2415, 3000, 3150), tr("Treelines"));
    lineStyle(lines, LineStyle::NoTreelines, Twips(195, 480, 1650, 270), QT_TR_NOOP("No Treelines."));
    lineStyle(lines, LineStyle::LinesAndSigns, Twips(195, 810, 2430, 270), QT_TR_NOOP("Plus, Minus, and Treelines."));
    lineStyle(lines, LineStyle::SignsOnly, Twips(195, 1155, 2175, 270), QT_TR_NOOP("Only Plus and Minus."));
    label(lines, Indexed("Label2", 0), Twips(285, 1905, 1380, 270), QT_TR_NOOP("Treeline color:"));
    lineColour_ = list(lines, 0, Twips(1740, 1845, 1110, 315));
    label(lines, Indexed("Label2", 1), Twips(120, 2445, 1545, 270), QT_TR_NOOP("Plus and Minus color:"));
    signColour_ = list(lines, 1, Twips(1740, 2400, 1110, 315));

    auto* global = MakeControl<QGroupBox>(this, QStringLiteral("Frame3"), Twips(3300, 75, 3255, 5505), tr("Global"));
    valueBox(global, NonExpandedBullet, Twips(180, 270, 2925, 270), QT_TR_NOOP("Global Branch Non-Expanded Bullet"));
    value(global, NonExpandedBullet, Twips(165, 585, 2550, 285));
    pictureChooser(global, NonExpandedBullet, Twips(2760, 585, 300, 300));
    valueBox(global, ExpandedBullet, Twips(180, 1035, 2745, 270), QT_TR_NOOP("Global Branch Expanded Bullet"));
    value(global, ExpandedBullet, Twips(165, 1350, 2550, 285));
    pictureChooser(global, ExpandedBullet, Twips(2760, 1350, 300, 300));
    valueBox(global, LeafBullet, Twips(180, 1800, 2745, 270), QT_TR_NOOP("Global Leaf Bullet"));
    value(global, LeafBullet, Twips(165, 2115, 2550, 285));
    pictureChooser(global, LeafBullet, Twips(2760, 2115, 300, 300));
    valueBox(global, LinkTarget, Twips(180, 2595, 2745, 270), QT_TR_NOOP("Global Link Target"));
    label(global, Indexed("Label4", 3), Twips(180, 2925, 855, 225), QT_TR_NOOP("TARGET:"));
    value(global, LinkTarget, Twips(1080, 2880, 1950, 285));
    valueBox(global, Background, Twips(180, 3360, 2745, 270), QT_TR_NOOP("Global Background Color"));
    label(global, Indexed("Label4", 4), Twips(180, 3690, 855, 225), QT_TR_NOOP("BGCOLOR:"));
    value(global, Background, Twips(1080, 3645, 1950, 285));
    globalFont_ = add(MakeControl<QCheckBox>(global, QStringLiteral("Check3"), Twips(180, 4200, 2445, 285),
                                             tr("Global Font Size and Color")));
    label(global, Indexed("Label7", 0), Twips(885, 4605, 765, 270), QT_TR_NOOP("Font Size:"));
    fontSize_ = list(global, 3, Twips(1635, 4560, 705, 315));
    label(global, Indexed("Label7", 1), Twips(585, 5070, 765, 270), QT_TR_NOOP("Font Color:"));
    fontColour_ = list(global, 2, Twips(1395, 5025, 1170, 315));

    auto* ok = add(MakeControl<QPushButton>(this, Indexed("Command1", 1), Twips(3645, 5715, 1380, 375), tr("&OK")));
    auto* cancel =
        add(MakeControl<QPushButton>(this, Indexed("Command1", 0), Twips(5175, 5715, 1380, 375), tr("&Cancel")));
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    On(positionX_, &QLineEdit::textEdited, [this](const QString& text) { model_.SetPositionX(text); });
    On(positionY_, &QLineEdit::textEdited, [this](const QString& text) { model_.SetPositionY(text); });
    On(itemHeight_, &QComboBox::activated, [this](int index) { model_.SetItemHeight(index); });
    for (std::size_t i = 0; i < lineStyles_.size(); ++i) {
        const auto style = LineStyle(i);
        On(lineStyles_[i], &QRadioButton::clicked, [this, style]() { model_.SetLines(style); });
    }
    On(lineColour_, &QComboBox::activated, [this](int index) { model_.SetLineColour(index); });
    On(signColour_, &QComboBox::activated, [this](int index) { model_.SetSignColour(index); });
    for (int i = 0; i < kTreeValueCount; ++i) {
        const auto v = TreeValue(i);
        On(valueBoxes_[std::size_t(i)], &QCheckBox::clicked, [this, v](bool ticked) { model_.TickValue(v, ticked); });
        On(values_[std::size_t(i)], &QLineEdit::textEdited,
           [this, v](const QString& text) { model_.SetValue(v, text); });
    }
    for (std::size_t i = 0; i < pictureChoosers_.size(); ++i) {
        const auto v = TreeValue(i);
        On(pictureChoosers_[i], &FolderPicture::clicked, [this, v]() { model_.ChoosePicture(v); });
    }
    On(globalFont_, &QCheckBox::clicked, [this](bool ticked) { model_.TickGlobalFont(ticked); });
    On(fontSize_, &QComboBox::activated, [this](int index) { model_.SetFontSize(index); });
    On(fontColour_, &QComboBox::activated, [this](int index) { model_.SetFontColour(index); });
    On(ok, &QPushButton::clicked, [this]() { model_.OkClicked(); });
    On(cancel, &QPushButton::clicked, [this]() { model_.CancelClicked(); });

    Refresh();
}

void TreePropDialog::Refresh()
{
    ShowTextBox(positionX_, model_.PositionX());
    ShowTextBox(positionY_, model_.PositionY());
    ShowComboBox(itemHeight_, model_.ItemHeight());
    lineStyles_[std::size_t(model_.Lines())]->setChecked(true);
    ShowComboBox(lineColour_, model_.LineColour());
    ShowComboBox(signColour_, model_.SignColour());
    for (int i = 0; i < kTreeValueCount; ++i) {
        ShowCheckBox(valueBoxes_[std::size_t(i)], model_.ValueBox(TreeValue(i)));
        ShowTextBox(values_[std::size_t(i)], model_.Value(TreeValue(i)));
    }
    ShowCheckBox(globalFont_, model_.GlobalFont());
    ShowComboBox(fontSize_, model_.FontSize());
    ShowComboBox(fontColour_, model_.FontColour());
}

} // namespace vi
