#pragma once
#include <QDialog>

class QLabel;
class QPushButton;

namespace vi {

class UserInterface;
class WebOpener;

// The About box: logo, version, copyright line and the maker's web address,
// which opens in the default browser when clicked.
class frmAbout final : public QDialog {
    Q_OBJECT
public:
    frmAbout(QWidget* parent, UserInterface& ui, WebOpener& opener);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WebAddressClicked();

    UserInterface& ui_;
    WebOpener& opener_;
    QLabel* webAddress_;
};

// Shows the About box modally.
void ShowAboutBox(QWidget* parent, UserInterface& ui);
void ShowAboutBox(QWidget* parent, UserInterface& ui, WebOpener& opener);

} // namespace vi
