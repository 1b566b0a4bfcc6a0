#pragma once
// Text helpers of the custom.js loader. They work on views into the decoded
// file so that reading stays linear in the file's size.
#include "script/ScriptText.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace vi {

// The file's bytes as text: UTF-16 when it has a UTF-16 byte-order mark or
// looks like UTF-16; else UTF-8 (a leading byte-order mark is dropped), where
// bytes that are not valid UTF-8 are read as Windows-1252; a file with more
// such bytes than UTF-8 sequences is read wholly as Windows-1252.
QString DecodeScriptBytes(const QByteArray& bytes);

// True when DecodeScriptBytes reads the bytes as UTF-8 throughout: they are
// valid UTF-8 and look like no UTF-16.
bool IsUtf8Throughout(const QByteArray& bytes);

// The text with every occurrence of c removed.
QString RemoveChar(const QString& text, QChar c);

// The index of the first a or b in text at or after from, or -1. The loader
// scans every line several times: this takes eight characters at a time.
qsizetype IndexOfEither(QStringView text, qsizetype from, char16_t a, char16_t b);

// True when text begins with prefix, ASCII letters compared without case.
// prefix must be lower-case ASCII.
bool StartsWithNoCase(QStringView text, QLatin1String prefix);

// Splits text at the first occurrence of delimiter (exact, case counts):
// returns the part before it and leaves the part after it in text, both
// without blanks at their ends. Without the delimiter, returns the whole text
// trimmed and leaves text empty.
QStringView NextToken(QStringView& text, QStringView delimiter);
// NextToken that trims neither part: a marker's label keeps the blanks at its
// ends that renaming stores.
QStringView NextUntrimmedToken(QStringView& text, QStringView delimiter);

// NextToken at the first double quote: the closing quote of a quoted
// argument. escaped tells whether the token holds a backslash.
QStringView NextQuotedToken(QStringView& text, bool* escaped = nullptr);

// Drops the text up to and including the first c, and the blanks after it;
// NextToken whose token is not wanted.
void SkipPast(QStringView& text, QChar c);

// The text as a number rounded to the nearest whole number, halves to the
// even neighbour; nothing when it is no number or outside -32768..32767.
std::optional<std::int16_t> ToInt16(QStringView text);

// "True" or "False" in any letter case, or a number (0 false, any other true);
// false for any other text.
bool ToBoolean(QStringView text);

} // namespace vi
