#pragma once
#include <QString>
#include <QWebEnginePage>
#include <functional>

class QUrl;
class QWebEngineProfile;

namespace vi {

// Where a navigation of the preview page goes.
enum class PreviewNavigation {
    Stay,    // the preview shows it: its own loads, pages of the preview folder, embedded frames
    Browser, // a web address the user followed: the user's web browser opens it
    Refuse,  // anything else: the preview stays where it is
};

// The rule for a navigation to url of the given type; folder is the preview folder.
PreviewNavigation PreviewNavigationFor(const QUrl& url, QWebEnginePage::NavigationType type, bool isMainFrame,
                                       const QString& folder);

// The preview's page: it stays on the menu. A link the user follows out of
// the preview folder, in this window, a new one or a frame, goes to openOutside.
class PreviewPage final : public QWebEnginePage {
    Q_OBJECT
public:
    PreviewPage(QWebEngineProfile* profile, std::function<void(const QUrl&)> openOutside, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    std::function<void(const QUrl&)> openOutside_;
};

} // namespace vi
