#pragma once
#include "preview/QuickViewLayout.h"

#include <QWidget>

class QPushButton;
class QRadioButton;
class QWebEngineView;

namespace vi {

class TreeDocument;
class UserInterface;

// The modeless preview window: the exported page in an embedded browser, the
// Default/Static choice of the page's browser switch, Refresh and Close. It is
// destroyed when closed; the next preview creates it afresh.
class frmQuickView final : public QWidget {
    Q_OBJECT
public:
    frmQuickView(TreeDocument& document, UserInterface& ui);

    // The document and user interface that Refresh and the options preview.
    void Bind(TreeDocument& document, UserInterface& ui);
    bool StaticSelected() const;
    // Loads the preview folder's tree.html into the browser.
    void RefreshTree();
    QWebEngineView* Browser() const { return webBrowser1_; }
    // True once the window was closed; it is then deleted and never shown again.
    bool Closed() const { return closed_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Command1_Click(int index);
    void Option1_Click(int index);
    QuickViewLayout CurrentLayout() const;

    TreeDocument* document_;
    UserInterface* ui_;
    QWebEngineView* webBrowser1_;
    QRadioButton* option1_[2];
    QPushButton* command1_[2];
    bool closed_ = false;
};

} // namespace vi
