#include "app/FormDialog.h"

#include "app/PicturePicker.h"
#include "app/PropertyDialogControls.h"
#include "forms/FormModel.h"

namespace vi {

FormDialog::FormDialog(QWidget* parent, const QString& objectName, const QString& caption, QSize clientSize)
    : QDialog(parent)
{
    setObjectName(objectName);
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    new DesignLayout(this, clientSize);
    ui_.SetParentWidget(this);
}

void FormDialog::BindForm(FormModel& form)
{
    form_ = &form;
    form.SetUserInterface(&ui_);
    form.SetPictureChooser([this]() { return ChoosePictureFile(this); });
}

void FormDialog::AfterEvent()
{
    Refresh();
    if (isVisible() && !form_->Visible())
        done(form_->Tag() == DialogTag::Ok ? Accepted : Rejected);
}

void FormDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    form_->Form_Activate();
    Refresh();
}

void FormDialog::reject()
{
    form_->Form_QueryUnload(true);
    Refresh();
    QDialog::reject();
}

} // namespace vi
