#include "script/ScriptText.h"

#include "document/AppInfo.h"

#include <QStringEncoder>
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

QByteArrayView Utf8View(QStringView text)
{
    thread_local QByteArray room; // keeps its size from text to text
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    const qsizetype needed = encoder.requiredSpace(text.size());
    if (room.size() < needed)
        room.resize(needed);
    const char* end = encoder.appendToBuffer(room.data(), text);
    return QByteArrayView(room.constData(), end - room.constData());
}

QByteArray Utf8Text(QStringView text) { return Utf8View(text).toByteArray(); }

namespace {

// "\x" and two hex digits: the one escape form our writer uses for
// characters of the ASCII range. Files written by older versions, which did
// not escape, hold "\\", "\"", "\r", "\n" and "\/" as plain text (Windows
// paths such as "news\readme"), so the writer never uses those forms.
void AppendHexEscape(QString& out, char16_t c)
{
    static const char16_t digits[] = u"0123456789ABCDEF";
    out += QStringLiteral("\\x");
    out += QChar(digits[(c >> 4) & 0xF]);
    out += QChar(digits[c & 0xF]);
}

void AppendUnicodeEscape(QString& out, char16_t c)
{
    out += QStringLiteral("\\u");
    out += QString::number(c, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

int HexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The value of count hex digits at text[at], or -1.
int HexNumber(QStringView text, qsizetype at, int count)
{
    if (at + count > text.size())
        return -1;
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const int digit = HexValue(text[at + i]);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

bool IsLoneSurrogate(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 == text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text[i - 1].isHighSurrogate();
    return false;
}

} // namespace

bool EndsScriptLine(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n') || c.unicode() == 0x2028 || c.unicode() == 0x2029;
}

bool HasScriptLineEnd(QStringView text)
{
    // Asked of every item's marker on load and export: one pass without an
    // early exit, which the compiler keeps free of branches.
    bool found = false;
    for (const QChar c : text)
        found |= EndsScriptLine(c);
    return found;
}

QString CommentSafe(const QString& text)
{
    if (!HasScriptLineEnd(text))
        return text;
    QString out = text;
    for (QChar& c : out) {
        if (EndsScriptLine(c))
            c = QLatin1Char(' ');
    }
    return out;
}

QString EscapeScriptText(const QString& value, bool escapeEdgeBlanks)
{
    QString out;
    bool changed = false;
    const qsizetype size = value.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = value[i];
        const char16_t u = c.unicode();
        const bool edgeBlank = escapeEdgeBlanks && u == u' ' && (i == 0 || i + 1 == size);
        const bool marker = u == u'/' && QStringView(value).sliced(i).startsWith(QLatin1String("//[+]"));
        const bool special = u == u'\\' || u == u'"' || u == u'\r' || u == u'\n' || edgeBlank;
        const bool unicode = u == 0x2028 || u == 0x2029 || (c.isSurrogate() && IsLoneSurrogate(value, i));
        if (!special && !unicode && !marker) {
            if (changed)
                out += c;
            continue;
        }
        if (!changed) {
            out = value.first(i);
            out.reserve(size + 16);
            changed = true;
        }
        if (marker) {
            out += QStringLiteral("/\\x2F[+]"); // the marker "//[+]" then stays unique in the line
            i += 4;
        } else if (special) {
            AppendHexEscape(out, u);
        } else {
            AppendUnicodeEscape(out, u);
        }
    }
    return changed ? out : value;
}

QString UnescapeScriptText(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const char16_t next = text[i + 1].unicode();
        if (next == u'\\') {
            // Both stay, and protect what follows: an old file's "\\server" or "C:\\x41" is text as written.
            out += QStringLiteral("\\\\");
            ++i;
            continue;
        }
        const int digits = next == u'x' ? 2 : next == u'u' ? 4 : 0;
        const int code = digits > 0 ? HexNumber(text, i + 2, digits) : -1;
        if (code < 0) {
            out += c; // no escape of ours: the backslash is text, as an older file holds it
            continue;
        }
        out += QChar(char16_t(code));
        i += 1 + digits;
    }
    return out;
}

QString QuoteText(const QString& value) { return QLatin1Char('"') + EscapeScriptText(value) + QLatin1Char('"'); }

} // namespace vi
