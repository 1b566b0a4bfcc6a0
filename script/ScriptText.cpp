#include "script/ScriptText.h"

#include "document/AppInfo.h"

#include <algorithm>

namespace vi {

QString FileNameOf(const QString& path)
{
    // Either separator counts, so that no name can climb out of a folder.
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return cut < 0 ? path : path.mid(cut + 1);
}

QString FolderOf(const QString& path)
{
    const qsizetype cut = path.lastIndexOf(NativeSeparator());
    return cut < 0 ? path : path.left(cut);
}

QString EscapeScriptText(const QString& value)
{
    static const QString specials = QStringLiteral("\\\"\r\n");
    bool plain = true;
    for (QChar c : value) {
        if (specials.contains(c)) {
            plain = false;
            break;
        }
    }
    if (plain && !value.contains(QStringLiteral("//[+]")))
        return value;

    QString out;
    out.reserve(value.size() + 8);
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '"': out += QStringLiteral("\\\""); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        default: out += c;
        }
    }
    out.replace(QStringLiteral("//[+]"), QStringLiteral("/\\/[+]"));
    return out;
}

QString UnescapeScriptText(const QString& text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text.at(++i);
        if (next == QLatin1Char('r'))
            out += QLatin1Char('\r');
        else if (next == QLatin1Char('n'))
            out += QLatin1Char('\n');
        else
            out += next;
    }
    return out;
}

QString QuoteText(const QString& value)
{
    return QLatin1Char('"') + EscapeScriptText(value) + QLatin1Char('"');
}

} // namespace vi
