#pragma once

class QUrl;
class QString;
class QWebEngineProfile;

namespace vi {

// Registers the address scheme the preview is served from. The web engine
// takes schemes only before its first object is made: the editor calls this
// at start-up, and PreviewProfile calls it too. Later calls do nothing.
void RegisterPreviewScheme();

// The browser profile every preview page is shown in, off the record. Its
// pages are served from a scheme of their own that reads only the files of
// the preview folder (see PreviewFileOf), so that a page and its workers,
// shared workers and service workers share an origin that may not read local
// files; its request filter lets nothing but that scheme and web addresses
// through (see PreviewMayLoad).
QWebEngineProfile* PreviewProfile();

// The address of a file of the preview folder, by its path inside it.
QUrl PreviewUrl(const QString& pathInFolder);

} // namespace vi
