#pragma once
#include "app/QtUserInterface.h"

#include <QDialog>

namespace vi {

class FormModel;

// What the property dialogs' views share: caption and fixed client size, the
// model's message boxes and picture chooser, and the hand-over of the modal
// display to the model (activation, hiding by a button, the close box).
class FormDialog : public QDialog {
    Q_OBJECT
public:
    // Shows the model's state in every widget.
    virtual void Refresh() = 0;

public slots:
    void reject() override; // the close box and Escape

protected:
    FormDialog(QWidget* parent, const QString& objectName, const QString& caption, QSize clientSize);
    // Connects the model to this dialog's message boxes and picture chooser.
    void BindForm(FormModel& form);
    // After every user action: refresh, and end the modal display once the model hid itself.
    void AfterEvent();
    void showEvent(QShowEvent* event) override;

private:
    FormModel* form_ = nullptr;
    bool captionsFitted_ = false;
    QtUserInterface ui_;
};

} // namespace vi
