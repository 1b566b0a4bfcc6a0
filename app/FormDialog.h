#pragma once
#include "app/QtUserInterface.h"

#include <QDialog>
#include <type_traits>

namespace vi {

class FormModel;

// What the property dialogs' views share: caption and the client area as drawn, the
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
    // Hands a widget's signal to a model handler, then runs AfterEvent.
    template <class Sender, class Signal, class Handler> void On(Sender* sender, Signal signal, Handler handler)
    {
        connect(sender, signal, this, [this, handler](auto... args) {
            if constexpr (std::is_invocable_v<Handler, decltype(args)...>)
                handler(args...);
            else
                handler(); // the handler does not need the signal's arguments
            AfterEvent();
        });
    }
    void showEvent(QShowEvent* event) override;

private:
    FormModel* form_ = nullptr;
    QtUserInterface ui_;
};

} // namespace vi
