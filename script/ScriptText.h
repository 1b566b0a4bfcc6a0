#pragma once
#include <QString>
#include <QStringView>

namespace vi {

// The text after the last "\" or "/" of a path, whichever comes last; without
// either, the whole path. Windows paths in old files keep working.
QString FileNameOf(const QString& path);

// The text before the last native separator, or the whole path without one.
QString FolderOf(const QString& path);

// Escapes a value for a double-quoted JavaScript string in custom.js:
// "\" as "\\", a double quote as "\"", line breaks as "\r" and "\n", and
// "//[+]" as "/\/[+]" so that the item marker stays unique. Values without
// these characters come out unchanged.
QString EscapeScriptText(const QString& value);

// Reverses EscapeScriptText: "\r" and "\n" become line breaks, any other
// backslash pair stands for its second character.
QString UnescapeScriptText(const QString& text);

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

// A double quote, the escaped value, a double quote.
QString QuoteText(const QString& value);

} // namespace vi
