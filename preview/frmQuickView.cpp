#include "preview/frmQuickView.h"

#include "preview/Preview.h"
#include "preview/PreviewPage.h"
#include "preview/PreviewProfile.h"
#include "preview/WebAddress.h"

#include <QCloseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace vi {

frmQuickView::frmQuickView(TreeDocument& document, UserInterface& ui) : QWidget(nullptr), document_(&document), ui_(&ui)
{
    setObjectName(QStringLiteral("frmQuickView"));
    setWindowTitle(tr("Actual Tree View"));
    setAttribute(Qt::WA_DeleteOnClose);

    QWebEngineProfile* profile = PreviewProfile(); // before the first web engine object
    const QuickViewLayout design = QuickViewDesign();
    webBrowser1_ = new QWebEngineView(this);
    webBrowser1_->setObjectName(QStringLiteral("WebBrowser1"));
    webBrowser1_->setGeometry(ToPixels(design.WebBrowser1));
    webBrowser1_->setPage(new PreviewPage(
        profile, [this](const QUrl& url) { OpenWebAddress(this, url.toString(QUrl::FullyEncoded), false, *ui_); },
        webBrowser1_));

    const TwipsRect* optionPlaces[] = {&design.Default, &design.Static};
    const QString optionCaptions[] = {tr("Default"), tr("Static")};
    for (int i = 0; i < 2; ++i) {
        option1_[i] = new QRadioButton(optionCaptions[i], this);
        option1_[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option1_[i]->setGeometry(ToPixels(*optionPlaces[i]));
        connect(option1_[i], &QRadioButton::toggled, this, [this, i](bool checked) {
            if (checked)
                Option1_Click(i);
        });
    }
    {
        // Set before the handlers can run: a new window starts on "Default" quietly.
        const QSignalBlocker blocker(option1_[0]);
        option1_[0]->setChecked(true);
    }

    const TwipsRect* commandPlaces[] = {&design.Refresh, &design.Close};
    const QString commandCaptions[] = {tr("&Refresh"), tr("&Close")};
    for (int i = 0; i < 2; ++i) {
        command1_[i] = new QPushButton(commandCaptions[i], this);
        command1_[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        command1_[i]->setGeometry(ToPixels(*commandPlaces[i]));
        connect(command1_[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    setTabOrder(command1_[0], command1_[1]);
    setTabOrder(command1_[1], option1_[0]);
    setTabOrder(option1_[0], option1_[1]);

    // Drawn for the 8-point dialog font: the switches and buttons grow with a larger
    // font until their captions fit, and the window with them.
    qreal scale = std::max(1.0, QFontInfo(font()).pointSizeF() / 8.25);
    QWidget* const controls[] = {option1_[0], option1_[1], command1_[0], command1_[1]};
    for (const QWidget* control : controls) {
        const QSize needed = control->sizeHint();
        scale = std::max({scale, qreal(needed.width()) / control->width(), qreal(needed.height()) / control->height()});
    }
    const auto grown = [scale](QSize size) {
        return QSize(int(std::ceil(size.width() * scale)), int(std::ceil(size.height() * scale)));
    };
    for (QWidget* control : controls)
        control->resize(grown(control->size()));
    resize(grown(QSize(kQuickViewClientWidth / kTwipsPerPixel, kQuickViewClientHeight / kTwipsPerPixel)));
}

void frmQuickView::Bind(TreeDocument& document, UserInterface& ui)
{
    document_ = &document;
    ui_ = &ui;
}

bool frmQuickView::StaticSelected() const { return option1_[1]->isChecked(); }

void frmQuickView::RefreshTree()
{
    // The page and its script keep their addresses from one preview to the
    // next: a reload that bypasses the cache fetches them afresh.
    const QUrl page = PreviewUrl(QStringLiteral("tree.html"));
    if (webBrowser1_->url() == page)
        webBrowser1_->page()->triggerAction(QWebEnginePage::ReloadAndBypassCache);
    else
        webBrowser1_->load(page);
}

void frmQuickView::Command1_Click(int index)
{
    if (index == 0)
        ViewTreeCommand(*document_, *ui_);
    else
        close();
}

void frmQuickView::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    closed_ = event->isAccepted();
}

void frmQuickView::Option1_Click(int /*index*/) { ViewTreeCommand(*document_, *ui_); }

QuickViewLayout frmQuickView::CurrentLayout() const
{
    return {ToTwips(webBrowser1_->geometry()), ToTwips(option1_[0]->geometry()), ToTwips(option1_[1]->geometry()),
            ToTwips(command1_[0]->geometry()), ToTwips(command1_[1]->geometry())};
}

void frmQuickView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QuickViewLayout layout =
        ArrangeQuickView(CurrentLayout(), width() * kTwipsPerPixel, height() * kTwipsPerPixel);
    webBrowser1_->setGeometry(ToPixels(layout.WebBrowser1));
    option1_[0]->setGeometry(ToPixels(layout.Default));
    option1_[1]->setGeometry(ToPixels(layout.Static));
    command1_[0]->setGeometry(ToPixels(layout.Refresh));
    command1_[1]->setGeometry(ToPixels(layout.Close));
}

} // namespace vi
