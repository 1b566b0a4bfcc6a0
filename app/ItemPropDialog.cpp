#include "app/ItemPropDialog.h"

#include "app/PicturePicker.h"
#include "app/PropertyDialogControls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

namespace vi {

ItemPropDialog::ItemPropDialog(const TreeSettings& settings, QWidget* parent)
    : FormDialog(parent, QStringLiteral("frmItemProp"), kItemPropCaption, QSize(kClientWidth, kClientHeight)),
      model_(settings)
{
    BindForm(model_);

    std::vector<QWidget*> tabOrder;
    const auto label = [](QWidget* parent, const QString& name, const QRect& place, const char* caption) {
        auto* l = MakeControl<QLabel>(parent, name, place, tr(caption));
        l->setWordWrap(true);
        return l;
    };
    const auto check1 = [&](QWidget* frame, int i, const QRect& place, const char* caption) {
        check1_[std::size_t(i)] = MakeControl<QCheckBox>(frame, Indexed("Check1", i), place, tr(caption));
        tabOrder.push_back(check1_[std::size_t(i)]);
    };
    const auto check4 = [&](QWidget* frame, int i, const QRect& place) {
        check4_[std::size_t(i)] = MakeControl<QCheckBox>(frame, Indexed("Check4", i), place, tr("Use Global"));
        tabOrder.push_back(check4_[std::size_t(i)]);
    };
    const auto text2 = [&](QWidget* frame, int i, const QRect& place) {
        text2_[std::size_t(i)] = MakeControl<QLineEdit>(frame, Indexed("Text2", i), place);
        tabOrder.push_back(text2_[std::size_t(i)]);
    };
    const auto image1 = [&](QWidget* frame, int i, const QRect& place) {
        image1_[std::size_t(i)] = MakeControl<FolderPicture>(frame, Indexed("Image1", i), place);
        tabOrder.push_back(image1_[std::size_t(i)]);
    };

    label(this, QStringLiteral("Label2"), Twips(120, 165, 870, 210), QT_TR_NOOP("Item Type:"));
    option1_[0] = MakeControl<QRadioButton>(this, Indexed("Option1", 0), Twips(1020, 165, 900, 255), tr("Branch"));
    option1_[1] = MakeControl<QRadioButton>(this, Indexed("Option1", 1), Twips(2010, 165, 690, 255), tr("Leaf"));
    tabOrder.insert(tabOrder.end(), {option1_[0], option1_[1]});
    label(this, QStringLiteral("Label8"), Twips(3435, 180, 1110, 225), QT_TR_NOOP("Friendly Label:"));
    text3_ = MakeControl<QLineEdit>(this, QStringLiteral("Text3"), Twips(4515, 135, 2205, 285));
    tabOrder.push_back(text3_);
    label(this, QStringLiteral("Label9"), Twips(4740, 450, 1785, 300), QT_TR_NOOP("(Not used in actual tree)"));

    auto* frame1 =
        MakeControl<QGroupBox>(this, QStringLiteral("Frame1"), Twips(120, 795, 3225, 2805), tr("Item Bullet"));
    check1(frame1, 0, Twips(120, 270, 2925, 270), QT_TR_NOOP("Regular Bullet Icon"));
    check4(frame1, 0, Twips(2040, 285, 1095, 240));
    text2(frame1, 0, Twips(120, 555, 2490, 285));
    image1(frame1, 0, Twips(2670, 555, 300, 300));
    check1(frame1, 1, Twips(120, 1095, 2925, 270), QT_TR_NOOP("Expanded Bullet Icon"));
    check4(frame1, 1, Twips(2040, 1110, 1095, 240));
    text2(frame1, 1, Twips(120, 1380, 2490, 285));
    image1(frame1, 1, Twips(2670, 1380, 300, 300));
    label(frame1, QStringLiteral("Label1"), Twips(225, 1965, 2760, 615),
          "Note: Bullet Icon sizes should be the 'Height of Each Item', squared, in your tree specifyed in the "
          "'Tree Properties'");

    auto* frame2 =
        MakeControl<QGroupBox>(this, QStringLiteral("Frame2"), Twips(3495, 795, 3285, 2805), tr("Menu Item Pictures"));
    check1(frame2, 2, Twips(195, 285, 2925, 270), QT_TR_NOOP("Mouse Out Menu Item Picture"));
    text2(frame2, 2, Twips(195, 570, 2535, 285));
    image1(frame2, 2, Twips(2790, 570, 300, 300));
    check1(frame2, 3, Twips(225, 1095, 2925, 270), QT_TR_NOOP("Mouse Over Menu Item Picture"));
    text2(frame2, 3, Twips(195, 1380, 2535, 285));
    image1(frame2, 3, Twips(2790, 1380, 300, 300));
    label(frame2, QStringLiteral("Label3"), Twips(480, 1860, 2535, 870),
          "Note: The Height of these images should be the same as 'Height of Each Item' located in the 'Tree "
          "Properties', the Width is up to you.");

    auto* frame3 =
        MakeControl<QGroupBox>(this, QStringLiteral("Frame3"), Twips(120, 3690, 3225, 2955), tr("Text Item"));
    check2_ = MakeControl<QCheckBox>(frame3, QStringLiteral("Check2"), Twips(105, 300, 1695, 285), tr("Text"));
    tabOrder.push_back(check2_);
    label(frame3, QStringLiteral("Label5"), Twips(120, 675, 405, 285), QT_TR_NOOP("Text:"));
    text1_ = MakeControl<QLineEdit>(frame3, QStringLiteral("Text1"), Twips(585, 645, 2340, 285));
    tabOrder.push_back(text1_);
    label(frame3, QStringLiteral("Label6"), Twips(660, 975, 2295, 285), QT_TR_NOOP("(Can include some HTML tags)"));
    check3_ = MakeControl<QCheckBox>(frame3, QStringLiteral("Check3"), Twips(120, 1470, 2130, 285),
                                     tr("Enable Size and Color"));
    tabOrder.push_back(check3_);
    check4(frame3, 2, Twips(2085, 1500, 1095, 240));
    label(frame3, Indexed("Label7", 0), Twips(885, 1920, 765, 270), QT_TR_NOOP("Font Size:"));
    combo1_[0] = MakeControl<QComboBox>(frame3, Indexed("Combo1", 0), Twips(1635, 1875, 705, 315));
    tabOrder.push_back(combo1_[0]);
    label(frame3, Indexed("Label7", 1), Twips(585, 2385, 765, 270), QT_TR_NOOP("Font Color:"));
    combo1_[1] = MakeControl<QComboBox>(frame3, Indexed("Combo1", 1), Twips(1395, 2340, 1170, 315));
    tabOrder.push_back(combo1_[1]);

    auto* frame4 =
        MakeControl<QGroupBox>(this, QStringLiteral("Frame4"), Twips(3495, 3690, 3285, 2955), tr("Item Link"));
    check1(frame4, 4, Twips(210, 315, 2925, 270), QT_TR_NOOP("Link"));
    label(frame4, Indexed("Label4", 4), Twips(195, 675, 615, 225), QT_TR_NOOP("HREF:"));
    text2(frame4, 4, Twips(870, 645, 2190, 285));
    check1(frame4, 5, Twips(210, 1275, 2745, 270), QT_TR_NOOP("Link Target"));
    check4(frame4, 3, Twips(2100, 1290, 1095, 240));
    label(frame4, Indexed("Label4", 5), Twips(210, 1605, 855, 225), QT_TR_NOOP("TARGET:"));
    text2(frame4, 5, Twips(1110, 1560, 1950, 285));
    check1(frame4, 6, Twips(210, 2100, 2925, 270), QT_TR_NOOP("Link Description"));
    text2(frame4, 6, Twips(270, 2430, 2790, 285));

    auto* ok = MakeControl<QPushButton>(this, Indexed("Command1", 1), Twips(4320, 6765, 1140, 390), tr("&OK"));
    auto* cancel = MakeControl<QPushButton>(this, Indexed("Command1", 0), Twips(5625, 6765, 1140, 390), tr("&Cancel"));
    tabOrder.insert(tabOrder.end(), {ok, cancel});
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    for (int i = 0; i < 2; ++i)
        On(option1_[std::size_t(i)], &QRadioButton::clicked, [this, i]() { model_.SetOption1(i); });
    On(text3_, &QLineEdit::textEdited, [this](const QString& text) { model_.SetText3(text); });
    for (int i = 0; i < 7; ++i) {
        On(check1_[std::size_t(i)], &QCheckBox::clicked, [this, i](bool ticked) { model_.SetCheck1(i, ticked); });
        On(text2_[std::size_t(i)], &QLineEdit::textEdited,
           [this, i](const QString& text) { model_.SetText2(i, text); });
    }
    for (int i = 0; i < 4; ++i) {
        On(check4_[std::size_t(i)], &QCheckBox::clicked, [this, i](bool ticked) { model_.SetCheck4(i, ticked); });
        On(image1_[std::size_t(i)], &FolderPicture::clicked, [this, i]() { model_.Image1_Click(i); });
    }
    On(check2_, &QCheckBox::clicked, [this](bool ticked) { model_.SetCheck2(ticked); });
    On(text1_, &QLineEdit::textEdited, [this](const QString& text) { model_.SetText1(text); });
    On(check3_, &QCheckBox::clicked, [this](bool ticked) { model_.SetCheck3(ticked); });
    for (int i = 0; i < 2; ++i)
        On(combo1_[std::size_t(i)], &QComboBox::activated, [this, i](int index) { model_.SetCombo1(i, index); });
    On(ok, &QPushButton::clicked, [this]() { model_.Command1_Click(1); });
    On(cancel, &QPushButton::clicked, [this]() { model_.Command1_Click(0); });

    Refresh();
}

void ItemPropDialog::Refresh()
{
    option1_[model_.Option1(0) ? 0 : 1]->setChecked(true);
    ShowTextBox(text3_, model_.Text3());
    for (int i = 0; i < 7; ++i) {
        ShowCheckBox(check1_[std::size_t(i)], model_.Check1(i));
        ShowTextBox(text2_[std::size_t(i)], model_.Text2(i));
    }
    for (int i = 0; i < 4; ++i)
        ShowCheckBox(check4_[std::size_t(i)], model_.Check4(i));
    ShowCheckBox(check2_, model_.Check2());
    ShowTextBox(text1_, model_.Text1());
    ShowCheckBox(check3_, model_.Check3());
    for (int i = 0; i < 2; ++i)
        ShowComboBox(combo1_[std::size_t(i)], model_.Combo1(i));
}

} // namespace vi
