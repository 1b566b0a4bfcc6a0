#pragma once
#include <QByteArray>
#include <QString>

namespace vi {

class TreeDocument;

// The menu as a plain page of nested links (sitemap.html beside tree.html),
// for visitors without script and for crawlers. Item texts may hold HTML; the
// page shows them as plain text: tags are dropped (a picture gives its alt
// text), character references read, and everything escaped again, so no
// markup of an item reaches the page. Links keep their address and target as
// written; a javascript: link, which does nothing without script, is shown
// as text.
QByteArray SitemapHtml(const TreeDocument& document);

// The plain text that an item's HTML text shows.
QString PlainTextOfHtml(const QString& html);

// Writes folder/sitemap.html, replacing any old one whole; false with the
// reason ("path: why") when it could not.
bool WriteSitemap(const TreeDocument& document, const QString& folder, QString* failure);

} // namespace vi
