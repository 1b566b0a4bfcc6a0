#pragma once
#include <QByteArray>
#include <QString>
#include <QStringView>

namespace vi {

// The text after the last "\" or "/" of a path, whichever comes last; without
// either, the whole path. Windows paths in old files keep working.
QString FileNameOf(const QString& path);

// The text before the last native separator, or the whole path without one.
QString FolderOf(const QString& path);

// Escapes a value for a double-quoted JavaScript string in custom.js. A
// backslash, a double quote, CR, LF and, with escapeEdgeBlanks, a blank at
// either end (which the loader trims off an argument) are written as "\x"
// and two hex digits, "//[+]" as "/\x2F[+]" so that the item marker
// stays unique, and U+2028, U+2029 and unpaired surrogates as "\u" and four
// hex digits. Older versions wrote values unescaped, so every other
// backslash form in a file ("\\", "\"", "\t", ...) is plain text; the writer
// never uses one. Values without these characters come out unchanged.
QString EscapeScriptText(const QString& value, bool escapeEdgeBlanks = false);

// A quoted argument's value as read from custom.js. Only the escapes the
// writer uses are read: "\x" and two hex digits, "\u" and four, which undoes
// EscapeScriptText. Every other backslash is text as written ("\t", "\0",
// "\'", "\u{41}", "\\" ...): older files hold what their users typed, such as
// Windows paths, unescaped.
QString UnescapeScriptText(QStringView text);

// True for the characters that end a line or a "//" comment in JavaScript:
// CR, LF, U+2028 and U+2029.
bool EndsScriptLine(QChar c);
bool HasScriptLineEnd(QStringView text);

// A value written into a "//" comment (a header line, the item marker): each
// character that would end the comment early becomes a blank.
QString CommentSafe(const QString& text);

// The text without blanks (code 32) at either end; other white space stays.
// Inline: the loader trims every token of every line.
inline QStringView TrimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.sliced(begin, end - begin);
}

// The text as UTF-8 in an array of exactly its size, for texts the document
// keeps (QString::toUtf8 leaves room for three bytes a character).
QByteArray Utf8Text(QStringView text);
// The same bytes in a buffer of the calling thread's, valid until its next call.
QByteArrayView Utf8View(QStringView text);

// A double quote, the escaped value, a double quote.
QString QuoteText(const QString& value);

} // namespace vi
