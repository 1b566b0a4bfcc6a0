#include "script/ScriptLines.h"

#include "script/LoaderText.h"
#include "script/ScriptText.h"

#include <QString>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>

namespace vi {

namespace {

constexpr qsizetype kDecodeSlice = 1 << 20;

// True when the text's lines end in LF alone: it has at least as many lone
// LFs as CRs. A file with CR or CR LF line ends keeps the odd LF inside a
// line, as older files may hold one within a value.
bool LineFeedsEndLines(QStringView text)
{
    qsizetype carriageReturns = 0, loneLineFeeds = 0;
    for (qsizetype i = IndexOfEither(text, 0, u'\r', u'\n'); i >= 0; i = IndexOfEither(text, i + 1, u'\r', u'\n')) {
        if (text[i] == QLatin1Char('\r'))
            ++carriageReturns;
        else if (i == 0 || text[i - 1] != QLatin1Char('\r'))
            ++loneLineFeeds;
    }
    return loneLineFeeds > 0 && loneLineFeeds >= carriageReturns;
}

struct LineEnds {
    qsizetype CarriageReturns = 0;
    qsizetype LoneLineFeeds = 0;
};

LineEnds CountLineEnds(QByteArrayView bytes)
{
    LineEnds ends;
    const char* data = bytes.data();
    const char* stop = data + bytes.size();
    for (const char* p = data; (p = static_cast<const char*>(std::memchr(p, '\r', std::size_t(stop - p)))); ++p)
        ++ends.CarriageReturns;
    for (const char* p = data; (p = static_cast<const char*>(std::memchr(p, '\n', std::size_t(stop - p)))); ++p) {
        if (p == data || p[-1] != '\r')
            ++ends.LoneLineFeeds;
    }
    return ends;
}

// The end of the next slice of UTF-8 bytes to decode: just after the first
// line end at or after from, where a line end of the whole text is one of the
// slice too (after an LF that follows a CR, or after any LF in a file with
// LF line ends); the end of the bytes when there is none.
qsizetype SliceEnd(QByteArrayView bytes, qsizetype from, bool lineFeedEnds)
{
    const char* data = bytes.data();
    const char* stop = data + bytes.size();
    for (const char* p = data + std::min(from, bytes.size());
         (p = static_cast<const char*>(std::memchr(p, '\n', std::size_t(stop - p)))); ++p) {
        if (lineFeedEnds || (p > data && p[-1] == '\r'))
            return p + 1 - data;
    }
    return bytes.size();
}

// Splits a piece of the text that ends at a line end, or the rest of the
// text; false when onLine asked to stop.
bool SplitText(QStringView text, bool lineFeedEnds, const std::function<bool(QStringView)>& onLine)
{
    qsizetype start = 0;
    QString withoutLineFeeds;
    while (start < text.size()) {
        // One scan finds the end and tells whether the line holds a lone LF.
        qsizetype end = IndexOfEither(text, start, u'\r', u'\n');
        const bool lineFeed = !lineFeedEnds && end >= 0 && text[end] == QLatin1Char('\n');
        if (lineFeed)
            end = IndexOfEither(text, end, u'\r', u'\r');
        if (end < 0)
            end = text.size();
        QStringView raw = text.sliced(start, end - start);
        start = end + 1;
        if (start < text.size() && text[start] == QLatin1Char('\n') && text[end] == QLatin1Char('\r'))
            ++start;
        if (lineFeed) {
            withoutLineFeeds = RemoveChar(raw.toString(), QLatin1Char('\n'));
            raw = withoutLineFeeds;
        }
        if (!onLine(TrimBlanks(raw)))
            return false;
    }
    return true;
}

} // namespace

qsizetype CountScriptLines(const QByteArray& bytes)
{
    const LineEnds ends = CountLineEnds(bytes);
    return std::max(ends.CarriageReturns, ends.LoneLineFeeds) + 1;
}

void SplitScriptLines(const QByteArray& bytes, const std::function<bool(QStringView)>& onLine,
                      const std::function<void(qsizetype)>& release)
{
    if (!IsUtf8Throughout(bytes)) {
        const QString text = DecodeScriptBytes(bytes);
        SplitText(text, LineFeedsEndLines(text), onLine);
        return;
    }
    const LineEnds ends = CountLineEnds(bytes);
    const bool lineFeedEnds = ends.LoneLineFeeds > 0 && ends.LoneLineFeeds >= ends.CarriageReturns;
    QStringDecoder utf8(QStringConverter::Utf8); // drops a byte-order mark at the start only
    for (qsizetype start = 0; start < bytes.size();) {
        const qsizetype end = SliceEnd(bytes, start + kDecodeSlice, lineFeedEnds);
        const QString text = utf8.decode(QByteArrayView(bytes).sliced(start, end - start));
        const bool more = SplitText(text, lineFeedEnds, onLine);
        if (release)
            release(end);
        if (!more)
            return;
        start = end;
    }
}

} // namespace vi
