#include "script/LoaderText.h"

#include "script/ScriptText.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <optional>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vi {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned
// bytes map to the control characters of the same value, as Windows does.
constexpr std::array<char16_t, 32> kWindows1252High = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        *out++ = QChar(b >= 0x80 && b <= 0x9F ? kWindows1252High[b - 0x80] : char16_t(b));
    }
    return text;
}

} // namespace

namespace {

// The length of the valid UTF-8 sequence that starts at p, or 0 when the
// bytes there are no valid UTF-8 (overlong forms and surrogates included).
int Utf8SequenceAt(const unsigned char* p, qsizetype left)
{
    const unsigned b = p[0];
    if (b < 0x80)
        return 1;
    int length = 0;
    unsigned low = 0x80, high = 0xBF; // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        low = b == 0xE0 ? 0xA0 : 0x80;
        high = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        low = b == 0xF0 ? 0x90 : 0x80;
        high = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (left < length || p[1] < low || p[1] > high)
        return 0;
    for (int i = 2; i < length; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF)
            return 0;
    }
    return length;
}

// Text that is UTF-8 except for some bytes, as left by an editor that saved
// a few characters in Windows-1252: every valid UTF-8 sequence as UTF-8, every
// other byte as Windows-1252. Empty when the invalid bytes are at least as
// many as the valid multi-byte sequences: then the file is Windows-1252 text
// in which a few byte pairs only happen to look like UTF-8.
std::optional<QString> DecodeMostlyUtf8(const QByteArray& bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    qsizetype sequences = 0, invalid = 0;
    for (qsizetype i = 0; i < size;) {
        const int length = Utf8SequenceAt(data + i, size - i);
        sequences += length > 1;
        invalid += length == 0;
        i += std::max(length, 1);
    }
    if (sequences <= invalid)
        return std::nullopt;
    QString text;
    text.reserve(size);
    qsizetype run = 0; // the start of the current run of valid UTF-8
    for (qsizetype i = 0; i < size;) {
        const int length = Utf8SequenceAt(data + i, size - i);
        if (length > 0) {
            i += length;
            continue;
        }
        text += QString::fromUtf8(bytes.constData() + run, i - run);
        const unsigned char b = data[i];
        text += QChar(b >= 0x80 && b <= 0x9F ? kWindows1252High[b - 0x80] : char16_t(b));
        run = ++i;
    }
    text += QString::fromUtf8(bytes.constData() + run, size - run);
    return text;
}

// UTF-16 written without a byte-order mark: a custom.js begins with an ASCII
// character and is mostly ASCII, so one byte of nearly every pair is zero.
// Sampled from the start of the file.
std::optional<QStringConverter::Encoding> Utf16WithoutMark(const QByteArray& bytes)
{
    const qsizetype pairs = std::min<qsizetype>(bytes.size(), 4096) / 2;
    if (pairs == 0 || (bytes[0] == 0) == (bytes[1] == 0))
        return std::nullopt;
    qsizetype zeroFirst = 0, zeroSecond = 0;
    for (qsizetype i = 0; i < pairs; ++i) {
        zeroFirst += bytes[2 * i] == 0;
        zeroSecond += bytes[2 * i + 1] == 0;
    }
    if (bytes[1] == 0 && zeroSecond * 2 >= pairs && zeroFirst * 8 < pairs)
        return QStringConverter::Utf16LE;
    if (bytes[0] == 0 && zeroFirst * 2 >= pairs && zeroSecond * 8 < pairs)
        return QStringConverter::Utf16BE;
    return std::nullopt;
}

} // namespace

bool IsUtf8Throughout(const QByteArray& bytes)
{
    return !bytes.startsWith("\xFF\xFE") && !bytes.startsWith("\xFE\xFF") && !Utf16WithoutMark(bytes)
           && bytes.isValidUtf8();
}

QString DecodeScriptBytes(const QByteArray& bytes)
{
    std::optional<QStringConverter::Encoding> utf16;
    qsizetype mark = 0;
    if (bytes.startsWith("\xFF\xFE")) {
        utf16 = QStringConverter::Utf16LE;
        mark = 2;
    } else if (bytes.startsWith("\xFE\xFF")) {
        utf16 = QStringConverter::Utf16BE;
        mark = 2;
    } else {
        utf16 = Utf16WithoutMark(bytes);
    }
    if (utf16) {
        QStringDecoder decoder(*utf16, QStringDecoder::Flag::Stateless);
        return decoder.decode(QByteArrayView(bytes).sliced(mark));
    }

    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    const QByteArray withoutMark = bytes.startsWith("\xEF\xBB\xBF") ? bytes.sliced(3) : bytes;
    if (std::optional<QString> mixed = DecodeMostlyUtf8(withoutMark))
        return *std::move(mixed);
    return DecodeWindows1252(bytes);
}

QString RemoveChar(const QString& text, QChar c)
{
    if (!text.contains(c))
        return text;
    QString out = text;
    out.remove(c);
    return out;
}

bool StartsWithNoCase(QStringView text, QLatin1String prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (qsizetype i = 0; i < prefix.size(); ++i) {
        char16_t c = text[i].unicode();
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c + (u'a' - u'A'));
        if (c != prefix[i].unicode())
            return false;
    }
    return true;
}

// Hand-rolled: two QStringView::indexOf searches made loading 40-75% slower in load_bench.
qsizetype IndexOfEither(QStringView text, qsizetype from, char16_t a, char16_t b)
{
    const char16_t* chars = text.utf16();
    const qsizetype size = text.size();
    qsizetype i = std::max<qsizetype>(from, 0);
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi16(static_cast<short>(a));
    const __m128i second = _mm_set1_epi16(static_cast<short>(b));
    for (; i + 8 <= size; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(chars + i));
        const __m128i found = _mm_or_si128(_mm_cmpeq_epi16(v, first), _mm_cmpeq_epi16(v, second));
        if (const auto hits = static_cast<unsigned>(_mm_movemask_epi8(found)))
            return i + std::countr_zero(hits) / 2; // two mask bits per character
    }
#endif
    for (; i < size; ++i) {
        if (chars[i] == a || chars[i] == b)
            return i;
    }
    return -1;
}

namespace {
QStringView SplitAt(QStringView& text, qsizetype at, qsizetype delimiterSize)
{
    if (at < 0) {
        const QStringView whole = TrimBlanks(text);
        text = {};
        return whole;
    }
    const QStringView before = TrimBlanks(text.first(at));
    text = TrimBlanks(text.sliced(at + delimiterSize));
    return before;
}

// The first occurrence of delimiter. Candidates are found by one of its
// characters, then compared whole. Item lines are full of slashes (links,
// HTML) and brackets (paths), while a plus sign hardly appears outside the
// "//[+]" and "[+]" markers: a delimiter that holds one is found by it.
qsizetype Find(QStringView text, QStringView delimiter)
{
    const qsizetype size = delimiter.size();
    if (size == 0)
        return 0;
    qsizetype anchor = 0;
    while (anchor + 1 < size && delimiter[anchor] != QLatin1Char('+'))
        ++anchor;
    if (delimiter[anchor] != QLatin1Char('+'))
        anchor = 0;
    const char16_t c = delimiter[anchor].unicode();
    for (qsizetype at = IndexOfEither(text, anchor, c, c); at >= 0 && at - anchor + size <= text.size();
         at = IndexOfEither(text, at + 1, c, c)) {
        if (std::equal(delimiter.utf16(), delimiter.utf16() + size, text.utf16() + (at - anchor)))
            return at - anchor;
    }
    return -1;
}

} // namespace

QStringView NextToken(QStringView& text, QStringView delimiter)
{
    return SplitAt(text, Find(text, delimiter), delimiter.size());
}

QStringView NextUntrimmedToken(QStringView& text, QStringView delimiter)
{
    const qsizetype at = Find(text, delimiter);
    const QStringView before = at < 0 ? text : text.first(at);
    text = at < 0 ? QStringView() : text.sliced(at + delimiter.size());
    return before;
}

QStringView NextQuotedToken(QStringView& text, bool* escaped)
{
    // Every double quote ends the argument: the writer escapes quotes in
    // values, and older files never did, so a backslash before a quote is the
    // value's last character. One scan notes whether the token holds a backslash.
    qsizetype at = IndexOfEither(text, 0, u'"', u'\\');
    const bool backslash = at >= 0 && text[at] == QLatin1Char('\\');
    if (backslash)
        at = IndexOfEither(text, at, u'"', u'"');
    if (escaped)
        *escaped = backslash;
    return SplitAt(text, at, 1);
}

void SkipPast(QStringView& text, QChar c)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == c) {
            text = TrimBlanks(text.sliced(i + 1));
            return;
        }
    }
    text = {};
}

std::optional<std::int16_t> ToInt16(QStringView text)
{
    // Plain small numbers, as every exported file holds them, need no parser.
    if (!text.isEmpty() && text.size() <= 5) {
        int value = 0;
        bool digits = true;
        for (const QChar c : text) {
            digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
            value = value * 10 + (c.unicode() - u'0');
        }
        if (digits)
            return value <= 32767 ? std::optional<std::int16_t>(static_cast<std::int16_t>(value)) : std::nullopt;
    }
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default rounding mode sends halves to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

bool ToBoolean(QStringView text)
{
    if (text.size() == 4 && StartsWithNoCase(text, QLatin1String("true")))
        return true;
    if (text.size() == 5 && StartsWithNoCase(text, QLatin1String("false")))
        return false;
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) && value != 0.0;
}

} // namespace vi
