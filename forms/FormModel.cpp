#include "forms/FormModel.h"

#include "script/UserInterface.h"

namespace vi {

void FormModel::CancelClicked()
{
    tag_ = DialogTag::Cancel;
    visible_ = false;
}

void FormModel::OkClicked()
{
    const QString message = ValidationMessage();
    if (!message.isEmpty()) {
        lastMessage_ = message;
        if (ui_)
            ui_->ShowMessage(message, UserInterface::Icon::Information);
        return;
    }
    tag_ = DialogTag::Ok;
    visible_ = false;
}

bool FormModel::Form_QueryUnload(bool closedByUser)
{
    if (!closedByUser)
        return false;
    tag_ = DialogTag::Cancel;
    visible_ = false;
    return true;
}

void FormModel::Lock(TextBox& box, bool locked)
{
    box.Locked = locked;
    box.BackColor = locked ? BackColour::ButtonFace : BackColour::Window;
}

void FormModel::Enable(ComboBox& list, bool enabled)
{
    list.Enabled = enabled;
    list.BackColor = enabled ? BackColour::Window : BackColour::ButtonFace;
}

void FormModel::Select(ComboBox& list, int listIndex)
{
    if (listIndex >= -1 && listIndex < list.Entries.size())
        list.ListIndex = listIndex;
}

} // namespace vi
