#pragma once
// What the modal property dialogs share without widgets: the result Tag, the
// hiding that ends the modal display, the checks of OK with their message,
// and the picture chooser.
#include "forms/Controls.h"

#include <QString>

namespace vi {

class UserInterface;

class FormModel {
public:
    virtual ~FormModel() = default;

    // Where the checks of OK show their message; without one they are only kept in LastMessage.
    void SetUserInterface(UserInterface* ui) { ui_ = ui; }
    void SetPictureChooser(PictureChooser chooser) { chooser_ = std::move(chooser); }

    // Shown modally: refreshes the control states.
    virtual void Form_Activate() = 0;
    // "&OK" runs the checks, shows the first failing one's message and stays,
    // or hides with Tag Ok; "&Cancel" hides with Tag Cancel.
    void OkClicked();
    void CancelClicked();
    // The close box: returns true when the close is turned into hiding with Tag Cancel.
    bool Form_QueryUnload(bool closedByUser);

    // The message of the first failing check of OK, or the empty text.
    virtual QString ValidationMessage() const = 0;

    DialogTag Tag() const { return tag_; }
    bool Visible() const { return visible_; } // false once a button or the close box hid the dialog
    void Show() { visible_ = true; }
    const QString& LastMessage() const { return lastMessage_; }

protected:
    explicit FormModel(DialogTag initialTag) : tag_(initialTag) {}

    // A locked box and a disabled list are painted in the button-face colour.
    static void Lock(TextBox& box, bool locked);
    static void Enable(ComboBox& list, bool enabled);
    // Selects an entry of the list, or nothing for -1; any other index is ignored.
    static void Select(ComboBox& list, int listIndex);

    UserInterface* ui_ = nullptr;
    PictureChooser chooser_;

private:
    DialogTag tag_;
    bool visible_ = false;
    QString lastMessage_;
};

} // namespace vi
