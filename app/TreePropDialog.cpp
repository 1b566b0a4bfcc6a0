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

    std::vector<QWidget*> tabOrder;
    const auto label = [](QWidget* parent, const QString& name, const QRect& place, const char* caption) {
        MakeControl<QLabel>(parent, name, place, tr(caption));
    };
    const auto add = [&](auto* widget) {
        tabOrder.push_back(widget);
        return widget;
    };
    const auto combo1 = [&](QWidget* frame, int i, const QRect& place) {
        combo1_[std::size_t(i)] = add(MakeControl<QComboBox>(frame, Indexed("Combo1", i), place));
    };
    const auto option1 = [&](QWidget* frame, int i, const QRect& place, const char* caption) {
        option1_[std::size_t(i)] = add(MakeControl<QRadioButton>(frame, Indexed("Option1", i), place, tr(caption)));
    };
    const auto check1 = [&](QWidget* frame, int i, const QRect& place, const char* caption) {
        check1_[std::size_t(i)] = add(MakeControl<QCheckBox>(frame, Indexed("Check1", i), place, tr(caption)));
    };
    const auto text2 = [&](QWidget* frame, int i, const QRect& place) {
        text2_[std::size_t(i)] = add(MakeControl<QLineEdit>(frame, Indexed("Text2", i), place));
    };
    const auto image1 = [&](QWidget* frame, int i, const QRect& place) {
        image1_[std::size_t(i)] = MakeControl<FolderPicture>(frame, Indexed("Image1", i), place);
        tabOrder.push_back(image1_[std::size_t(i)]);
    };

    // The upper box stands beside the X label but edits TreeY, the lower one the other way round.
    auto* frame2 =
        MakeControl<QGroupBox>(this, QStringLiteral("Frame2"), Twips(90, 75, 3000, 2190), tr("Tree Dimensions"));
    label(frame2, Indexed("Label1", 1), Twips(195, 405, 1770, 285), QT_TR_NOOP("Top Left X Pixel Position:"));
    text1_[1] = add(MakeControl<QLineEdit>(frame2, Indexed("Text1", 1), Twips(2100, 375, 600, 285)));
    label(frame2, Indexed("Label1", 0), Twips(165, 810, 1800, 285), QT_TR_NOOP("Top Left Y Pixel Position:"));
    text1_[0] = add(MakeControl<QLineEdit>(frame2, Indexed("Text1", 0), Twips(2100, 780, 600, 285)));
    label(frame2, QStringLiteral("Label3"), Twips(150, 1485, 1455, 270), QT_TR_NOOP("Height of each item:"));
    combo2_ = add(MakeControl<QComboBox>(frame2, QStringLiteral("Combo2"), Twips(1650, 1440, 1170, 315)));

    auto* frame1 =
        MakeControl<QGroupBox>(this, QStringLiteral("Frame1"), Twips(105, 2415, 3000, 3150), tr("Treelines"));
    option1(frame1, 0, Twips(195, 480, 1650, 270), QT_TR_NOOP("No Treelines."));
    option1(frame1, 1, Twips(195, 810, 2430, 270), QT_TR_NOOP("Plus, Minus, and Treelines."));
    option1(frame1, 2, Twips(195, 1155, 2175, 270), QT_TR_NOOP("Only Plus and Minus."));
    label(frame1, Indexed("Label2", 0), Twips(285, 1905, 1380, 270), QT_TR_NOOP("Treeline color:"));
    combo1(frame1, 0, Twips(1740, 1845, 1110, 315));
    label(frame1, Indexed("Label2", 1), Twips(120, 2445, 1545, 270), QT_TR_NOOP("Plus and Minus color:"));
    combo1(frame1, 1, Twips(1740, 2400, 1110, 315));

    auto* frame3 = MakeControl<QGroupBox>(this, QStringLiteral("Frame3"), Twips(3300, 75, 3255, 5505), tr("Global"));
    check1(frame3, 0, Twips(180, 270, 2925, 270), QT_TR_NOOP("Global Branch Non-Expanded Bullet"));
    text2(frame3, 0, Twips(165, 585, 2550, 285));
    image1(frame3, 0, Twips(2760, 585, 300, 300));
    check1(frame3, 1, Twips(180, 1035, 2745, 270), QT_TR_NOOP("Global Branch Expanded Bullet"));
    text2(frame3, 1, Twips(165, 1350, 2550, 285));
    image1(frame3, 1, Twips(2760, 1350, 300, 300));
    check1(frame3, 2, Twips(180, 1800, 2745, 270), QT_TR_NOOP("Global Leaf Bullet"));
    text2(frame3, 2, Twips(165, 2115, 2550, 285));
    image1(frame3, 2, Twips(2760, 2115, 300, 300));
    check1(frame3, 3, Twips(180, 2595, 2745, 270), QT_TR_NOOP("Global Link Target"));
    label(frame3, Indexed("Label4", 3), Twips(180, 2925, 855, 225), QT_TR_NOOP("TARGET:"));
    text2(frame3, 3, Twips(1080, 2880, 1950, 285));
    check1(frame3, 4, Twips(180, 3360, 2745, 270), QT_TR_NOOP("Global Background Color"));
    label(frame3, Indexed("Label4", 4), Twips(180, 3690, 855, 225), QT_TR_NOOP("BGCOLOR:"));
    text2(frame3, 4, Twips(1080, 3645, 1950, 285));
    check3_ = add(MakeControl<QCheckBox>(frame3, QStringLiteral("Check3"), Twips(180, 4200, 2445, 285),
                                         tr("Global Font Size and Color")));
    label(frame3, Indexed("Label7", 0), Twips(885, 4605, 765, 270), QT_TR_NOOP("Font Size:"));
    combo1(frame3, 3, Twips(1635, 4560, 705, 315));
    label(frame3, Indexed("Label7", 1), Twips(585, 5070, 765, 270), QT_TR_NOOP("Font Color:"));
    combo1(frame3, 2, Twips(1395, 5025, 1170, 315));

    auto* ok = add(MakeControl<QPushButton>(this, Indexed("Command1", 1), Twips(3645, 5715, 1380, 375), tr("&OK")));
    auto* cancel =
        add(MakeControl<QPushButton>(this, Indexed("Command1", 0), Twips(5175, 5715, 1380, 375), tr("&Cancel")));
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    for (int i = 0; i < 2; ++i)
        On(text1_[std::size_t(i)], &QLineEdit::textEdited,
           [this, i](const QString& text) { model_.SetText1(i, text); });
    On(combo2_, &QComboBox::activated, [this](int index) { model_.SetCombo2(index); });
    for (int i = 0; i < 3; ++i)
        On(option1_[std::size_t(i)], &QRadioButton::clicked, [this, i]() { model_.SetOption1(i); });
    for (int i = 0; i < 4; ++i)
        On(combo1_[std::size_t(i)], &QComboBox::activated, [this, i](int index) { model_.SetCombo1(i, index); });
    for (int i = 0; i < 5; ++i) {
        On(check1_[std::size_t(i)], &QCheckBox::clicked, [this, i](bool ticked) { model_.SetCheck1(i, ticked); });
        On(text2_[std::size_t(i)], &QLineEdit::textEdited,
           [this, i](const QString& text) { model_.SetText2(i, text); });
    }
    for (int i = 0; i < 3; ++i)
        On(image1_[std::size_t(i)], &FolderPicture::clicked, [this, i]() { model_.Image1_Click(i); });
    On(check3_, &QCheckBox::clicked, [this](bool ticked) { model_.SetCheck3(ticked); });
    On(ok, &QPushButton::clicked, [this]() { model_.Command1_Click(1); });
    On(cancel, &QPushButton::clicked, [this]() { model_.Command1_Click(0); });

    Refresh();
}

void TreePropDialog::Refresh()
{
    for (int i = 0; i < 2; ++i)
        ShowTextBox(text1_[std::size_t(i)], model_.Text1(i));
    ShowComboBox(combo2_, model_.Combo2());
    for (int i = 0; i < 3; ++i) {
        if (model_.Option1(i))
            option1_[std::size_t(i)]->setChecked(true);
    }
    for (int i = 0; i < 4; ++i)
        ShowComboBox(combo1_[std::size_t(i)], model_.Combo1(i));
    for (int i = 0; i < 5; ++i) {
        ShowCheckBox(check1_[std::size_t(i)], model_.Check1(i));
        ShowTextBox(text2_[std::size_t(i)], model_.Text2(i));
    }
    ShowCheckBox(check3_, model_.Check3());
}

} // namespace vi
