#include "script/Sitemap.h"

#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/FileSystem.h"
#include "script/ReplacingFile.h"

#include <QHash>
#include <QRegularExpression>

namespace vi {

namespace {

QString Escaped(const QString& text) { return text.toHtmlEscaped(); }

// The character that a reference such as "&amp;", "&#233;" or "&#xe9;" names,
// or an empty text when it names none this reader knows.
QString CharacterOf(const QString& reference)
{
    static const QHash<QString, QString> named{
        {QStringLiteral("amp"), QStringLiteral("&")},  {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},   {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")}, {QStringLiteral("nbsp"), QString(QChar(0xa0))}};
    if (!reference.startsWith(QLatin1Char('#')))
        return named.value(reference);
    bool ok = false;
    const bool hex = reference.size() > 1 && (reference[1] == QLatin1Char('x') || reference[1] == QLatin1Char('X'));
    const uint code = reference.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
    if (!ok || code == 0 || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
        return QString();
    const char32_t c = code;
    return QString::fromUcs4(&c, 1);
}

QString ReadReferences(const QString& text)
{
    static const QRegularExpression reference(QStringLiteral("&(#[0-9]{1,7}|#[xX][0-9a-fA-F]{1,6}|[a-zA-Z]+);"));
    QString out;
    qsizetype at = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString c = CharacterOf(m.captured(1));
        out += text.mid(at, m.capturedStart() - at) + (c.isEmpty() ? m.captured() : c);
        at = m.capturedEnd();
    }
    return out + text.mid(at);
}

QString TargetOf(const ItemRecord& record, const TreeDocument& document)
{
    return (record.UseGlobalTarget ? document.Settings().TreeTarget : record.LinkTarget).trimmed();
}

void WriteItems(const TreeDocument& document, const TreeNode* parent, int depth, QString& out)
{
    const QString indent(depth * 2, QLatin1Char(' '));
    out += indent + QStringLiteral("<ul>\n");
    const auto& kids = parent->Children();
    for (std::size_t i = 0; i < kids.size(); ++i) {
        const TreeNode* node = kids[i];
        if (!document.HasRecord(node->Tag()))
            continue;
        const ItemRecord& r = document.RecordOf(node);
        QString text = PlainTextOfHtml(r.ItemText);
        if (text.isEmpty())
            text = r.LinkDescription.trimmed();
        if (text.isEmpty())
            text = r.LinkHref.trimmed();
        if (text.isEmpty())
            text = QStringLiteral("Item %1 of %2").arg(i + 1).arg(kids.size());
        const QString href = r.LinkHref.trimmed();
        out += indent + QStringLiteral("  <li>");
        if (href.isEmpty() || href.startsWith(QStringLiteral("javascript:"), Qt::CaseInsensitive)) {
            out += Escaped(text);
        } else {
            out += QStringLiteral("<a href=\"") + Escaped(r.LinkHref) + QLatin1Char('"');
            const QString target = TargetOf(r, document);
            if (!target.isEmpty())
                out += QStringLiteral(" target=\"") + Escaped(target) + QLatin1Char('"');
            if (!r.LinkDescription.trimmed().isEmpty() && r.LinkDescription.trimmed() != text)
                out += QStringLiteral(" title=\"") + Escaped(r.LinkDescription) + QLatin1Char('"');
            out += QLatin1Char('>') + Escaped(text) + QStringLiteral("</a>");
        }
        if (!node->Children().empty()) {
            out += QLatin1Char('\n');
            WriteItems(document, node, depth + 2, out);
            out += indent + QStringLiteral("  ");
        }
        out += QStringLiteral("</li>\n");
    }
    out += indent + QStringLiteral("</ul>\n");
}

} // namespace

QString PlainTextOfHtml(const QString& html)
{
    // Tags go; a picture leaves its alt text, a line break a blank; what a
    // script or style element holds is no text.
    static const QRegularExpression tag(
        QStringLiteral("<(script|style)\\b.*?(</\\1\\s*>|$)|<!--.*?(-->|$)|<(/?)([a-zA-Z][a-zA-Z0-9]*)([^>]*)>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression alt(QStringLiteral("\\balt\\s*=\\s*(\"([^\"]*)\"|'([^']*)'|([^\\s>]+))"),
                                        QRegularExpression::CaseInsensitiveOption);
    QString text;
    qsizetype at = 0;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        text += html.mid(at, m.capturedStart() - at);
        at = m.capturedEnd();
        const QString name = m.captured(5).toLower();
        if (name == QStringLiteral("img")) {
            const QRegularExpressionMatch a = alt.match(m.captured(6));
            if (a.hasMatch())
                text += QLatin1Char(' ') + a.captured(2) + a.captured(3) + a.captured(4) + QLatin1Char(' ');
        } else if (name == QStringLiteral("br") || name == QStringLiteral("p") || name == QStringLiteral("div")) {
            text += QLatin1Char(' ');
        }
    }
    text += html.mid(at);
    // A lone "<" that starts no tag stays as text.
    return ReadReferences(text).simplified();
}

QByteArray SitemapHtml(const TreeDocument& document)
{
    // Links at least 24 pixels high, apart enough for a finger.
    QString out = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                                 "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                                 "<title>Site map</title>\n"
                                 "<style>a { display: inline-block; min-height: 24px; line-height: 24px; }</style>\n"
                                 "</head>\n<body>\n<main>\n<nav aria-labelledby=\"map\">\n"
                                 "<h1 id=\"map\">Site map</h1>\n");
    if (document.Root() && !document.Root()->Children().empty())
        WriteItems(document, document.Root(), 0, out);
    out += QStringLiteral("</nav>\n</main>\n</body>\n</html>\n");
    return out.toUtf8();
}

bool WriteSitemap(const TreeDocument& document, const QString& folder, QString* failure)
{
    ReplacingFile file(JoinPath(folder, QStringLiteral("sitemap.html")));
    const QByteArray html = SitemapHtml(document);
    if (file.Open() && file.write(html) == html.size() && file.Commit())
        return true;
    if (failure)
        *failure = file.Destination() + QStringLiteral(": ") + file.Reason();
    file.Discard();
    return false;
}

} // namespace vi
