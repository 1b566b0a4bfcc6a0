#include "preview/PreviewPage.h"

#include "preview/PreviewFolder.h"

#include <QUrl>
#include <QWebEngineNewWindowRequest>

namespace vi {

namespace {

bool IsWebAddress(const QUrl& url)
{
    static const QStringList schemes{QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("ftp"),
                                     QStringLiteral("mailto")};
    return url.isValid() && schemes.contains(url.scheme().toLower());
}

// A page of the preview folder that exists: the menu itself and what was exported with it.
bool IsPreviewPage(const QUrl& url, const QString& folder) { return !PreviewFileOf(url, folder).isEmpty(); }

} // namespace

PreviewNavigation PreviewNavigationFor(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame,
                                       const QString& folder)
{
    switch (type) {
    case QWebEnginePage::NavigationTypeTyped:
    case QWebEnginePage::NavigationTypeReload:
    case QWebEnginePage::NavigationTypeBackForward:
        return PreviewNavigation::Stay; // the preview's own loads
    case QWebEnginePage::NavigationTypeLinkClicked:
    case QWebEnginePage::NavigationTypeFormSubmitted:
        if (IsPreviewPage(url, folder))
            return PreviewNavigation::Stay;
        return IsWebAddress(url) ? PreviewNavigation::Browser : PreviewNavigation::Refuse;
    default:
        // Frames of the page load in place; the page itself moves on only
        // within the preview folder, and never starts the browser unasked.
        if (!isMainFrame || IsPreviewPage(url, folder))
            return PreviewNavigation::Stay;
        return PreviewNavigation::Refuse;
    }
}

PreviewPage::PreviewPage(QWebEngineProfile* profile, std::function<void(const QUrl&)> openOutside, QObject* parent)
    : QWebEnginePage(profile, parent), openOutside_(std::move(openOutside))
{
    // A link for another window (_blank, or a frame the menu page does not
    // have) is followed like one for this window; no window is opened.
    connect(this, &QWebEnginePage::newWindowRequested, this, [this](QWebEngineNewWindowRequest& request) {
        const QUrl url = request.requestedUrl();
        switch (PreviewNavigationFor(url, NavigationTypeLinkClicked, true, PreviewFolder())) {
        case PreviewNavigation::Stay:
            load(url);
            break;
        case PreviewNavigation::Browser:
            openOutside_(url);
            break;
        case PreviewNavigation::Refuse:
            break;
        }
    });
}

bool PreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame)
{
    switch (PreviewNavigationFor(url, type, isMainFrame, PreviewFolder())) {
    case PreviewNavigation::Stay:
        return true;
    case PreviewNavigation::Browser:
        openOutside_(url);
        return false;
    case PreviewNavigation::Refuse:
        break;
    }
    return false;
}

QWebEnginePage* PreviewPage::createWindow(WebWindowType /*type*/) { return nullptr; }

} // namespace vi
