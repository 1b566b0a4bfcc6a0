#include "preview/PreviewProfile.h"

#include "preview/PreviewFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QMimeDatabase>
#include <QPointer>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>

namespace vi {

namespace {

class PreviewRequests final : public QWebEngineUrlRequestInterceptor {
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override
    {
        if (!PreviewMayLoad(info.requestUrl()))
            info.block(true);
    }
};

class PreviewFiles final : public QWebEngineUrlSchemeHandler {
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void requestStarted(QWebEngineUrlRequestJob* job) override
    {
        if (job->requestMethod() != QByteArrayLiteral("GET")) {
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
            return;
        }
        const QString path = PreviewFileOf(job->requestUrl(), PreviewFolder());
        auto* file = new QFile(path, job);
        if (path.isEmpty() || !file->open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        static const QMimeDatabase types;
        job->reply(types.mimeTypeForFile(path, QMimeDatabase::MatchExtension).name().toUtf8(), file);
    }
};

} // namespace

void RegisterPreviewScheme()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    // No flags: not a secure context (no service workers) and no local access.
    QWebEngineUrlScheme scheme{QByteArray(kPreviewScheme)};
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    QWebEngineUrlScheme::registerScheme(scheme);
}

QWebEngineProfile* PreviewProfile()
{
    // Lives as long as the application, so that it outlives every page shown in it.
    static QPointer<QWebEngineProfile> profile;
    if (!profile) {
        RegisterPreviewScheme();
        profile = new QWebEngineProfile(QCoreApplication::instance());
        profile->installUrlSchemeHandler(QByteArray(kPreviewScheme), new PreviewFiles(profile));
        profile->setUrlRequestInterceptor(new PreviewRequests(profile));
        profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    }
    return profile;
}

QUrl PreviewUrl(const QString& pathInFolder)
{
    QUrl url;
    url.setScheme(QLatin1String(kPreviewScheme));
    url.setHost(QLatin1String(kPreviewHost));
    url.setPath(QLatin1Char('/') + pathInFolder);
    return url;
}

} // namespace vi
