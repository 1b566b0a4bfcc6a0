#include "script/TreeLoader.h"

#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/HeaderKeys.h"
#include "script/LoaderText.h"
#include "script/PicturePath.h"
#include "script/RootStatement.h"
#include "script/ScriptText.h"
#include "script/UserInterface.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstring>
#include <functional>
#include <vector>

#if defined(Q_OS_UNIX)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace vi {

namespace {

constexpr qsizetype kDecodeSlice = 1 << 20;

QString ForeignFileMessage()
{
    return QCoreApplication::translate("TreeLoader", "This file was not created by %1.  Unable to load.")
        .arg(ProductName());
}

// A file edited by hand may have lost an item that others name as their
// parent: those lines are left out, and exporting over the file would drop
// them for good, so the user is told.
QString LeftOutMessage(int count)
{
    return QCoreApplication::translate("TreeLoader",
                                       "%n item(s) of this file could not be placed in the tree and were left out: "
                                       "each names a parent item that does not come before it in the file.",
                                       nullptr, count);
}

QString VersionQuestion()
{
    return QCoreApplication::translate("TreeLoader", "This file was not created by your current %1 software version.\r"
                                                     "This file may not load correctly.\r\rContinue to load tree?")
        .arg(ProductName());
}

bool KeyIs(QStringView key, QLatin1String name) { return key.size() == name.size() && StartsWithNoCase(key, name); }

// The last few distinct values read for one field, so that a repeated value
// shares the text made for it before.
class RecentValues {
public:
    const QString& Shared(QStringView value)
    {
        for (const QString& known : values_) {
            if (known.size() == value.size()
                && (value.isEmpty()
                    || std::memcmp(known.utf16(), value.utf16(), sizeof(char16_t) * std::size_t(value.size())) == 0))
                return known;
        }
        next_ = (next_ + 1) % values_.size();
        values_[next_] = value.toString();
        return values_[next_];
    }

private:
    std::array<QString, 4> values_;
    std::size_t next_ = 0;
};

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

// The line ends of a file's bytes, for LineFeedsEndLines and to reserve room
// for the items before a load.
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

// Reads the decoded file line by line into the document, which NewTree has
// just emptied. Header lines set the settings; after the "//\\" line, the
// root statement and the item lines build the tree.
class ScriptReader {
public:
    ScriptReader(TreeDocument& document, const QString& scriptFolder, UserInterface& ui)
        : document_(document), scriptFolder_(scriptFolder), ui_(ui)
    {
        madeNodes_.push_back(document.Root());
    }

    // Reads a piece of the text that ends at a line end, or the rest of the text.
    void Read(QStringView text, bool lineFeedEnds)
    {
        qsizetype start = 0;
        while (start < text.size() && !stop_) {
            // A line ends at CR or CR LF, and at a lone LF in a file written
            // with LF line ends; elsewhere a lone LF is part of the line. One
            // scan finds the end and tells whether the line holds a lone LF.
            qsizetype end = IndexOfEither(text, start, u'\r', u'\n');
            const bool lineFeed = !lineFeedEnds && end >= 0 && text[end] == QLatin1Char('\n');
            if (lineFeed)
                end = IndexOfEither(text, end, u'\r', u'\r');
            if (end < 0)
                end = text.size();
            const QStringView raw = text.sliced(start, end - start);
            start = end + 1;
            if (start < text.size() && text[start] == QLatin1Char('\n') && text[end] == QLatin1Char('\r'))
                ++start;
            ReadLine(raw, lineFeed);
        }
    }

    bool Stopped() const { return stop_; }

    LoadResult Finish()
    {
        result_.Opened = true;
        if (bulk_)
            document_.EndBulkChange();
        document_.SetTreeChanged(false);
        if (result_.TooManyItems)
            ui_.ShowMessage(kTooManyItemsMessage);
        if (result_.ItemsLeftOut > 0)
            ui_.ShowMessage(LeftOutMessage(result_.ItemsLeftOut));
        return result_;
    }

private:
    void ReadLine(QStringView raw, bool lineFeed)
    {
        QString withoutLineFeeds;
        if (lineFeed) {
            withoutLineFeeds = RemoveChar(raw.toString(), QLatin1Char('\n'));
            raw = withoutLineFeeds;
        }
        const QStringView line = TrimBlanks(raw);
        if (headerMode_)
            ReadHeaderLine(line);
        else if (StartsWithNoCase(line, QLatin1String("var menu")))
            document_.SetRootStatement(IsRootStatementForm(line) ? line.toString() : QString());
        else if (StartsWithNoCase(line, QLatin1String("menubase")))
            ReadItem(line);
    }

    void ReadHeaderLine(QStringView line)
    {
        if (line.startsWith(QLatin1String("//# "))) {
            QStringView value = line.sliced(4);
            const QStringView key = NextToken(value, u"=");
            ReadKey(key, value);
        } else if (line.startsWith(QLatin1String("//\\\\"))) {
            headerMode_ = false;
            // The body may add thousands of nodes: observers get one reset.
            // No question is asked from here on, so no box opens mid-change.
            document_.BeginBulkChange();
            bulk_ = true;
        }
    }

    void ReadKey(QStringView key, QStringView rawValue)
    {
        // The value is trimmed as the writer trims it; a character that
        // would end the comment line in a browser is a blank, as written.
        const QString safe = CommentSafe(rawValue.toString());
        const QStringView value = TrimBlanks(safe);
        if (KeyIs(key, QLatin1String("generator"))) {
            if (value.compare(ProductName().trimmed(), Qt::CaseInsensitive) != 0) {
                ui_.ShowMessage(ForeignFileMessage(), UserInterface::Icon::Information);
                result_.ForeignGenerator = true;
                stop_ = true;
            }
            return;
        }
        if (KeyIs(key, QLatin1String("version"))) {
            if (value.compare(AppVersion().trimmed(), Qt::CaseInsensitive) != 0
                && ui_.Ask(VersionQuestion(), UserInterface::Buttons::YesNo) != UserInterface::Answer::Yes) {
                result_.VersionDeclined = true;
                stop_ = true;
            }
            return;
        }
        TreeSettings& s = document_.Settings();
        for (const HeaderKey& k : kHeaderKeys) {
            if (key.compare(k.Name, Qt::CaseInsensitive) != 0)
                continue;
            switch (k.Kind) {
            case HeaderKind::Number:
                if (const auto v = ToInt16(value))
                    s.*k.Number = *v;
                break;
            case HeaderKind::Text:
                s.*k.Text = value.toString();
                break;
            case HeaderKind::Picture:
                s.*k.Text = PicturePath(TrimBlanks(PictureName(value)));
                break;
            }
            return;
        }
    }

    // A picture named in the file lies in the treePics folder beside it. Only
    // the file name is taken, cut at either separator, so a hand-made path
    // cannot point elsewhere; a name that is empty then names no picture.
    QString PicturePath(QStringView path) const { return TreePicsPicture(scriptFolder_, path); }

    void ReadItem(QStringView line)
    {
        ++result_.ItemLines;
        QStringView afterMarker = line;
        NextToken(afterMarker, u"//[+]");
        // The marker is a comment: a character that would end it in a
        // browser is a blank, as the writer writes it.
        const QString safeMarker = HasScriptLineEnd(afterMarker) ? CommentSafe(afterMarker.toString()) : QString();
        QStringView marker = safeMarker.isNull() ? afterMarker : QStringView(safeMarker);
        std::array<QStringView, 7> fields;
        for (QStringView& field : fields)
            field = NextToken(marker, u"[+]");

        // The parent row k names the node made by the k-th item line that made one.
        const auto row = ToInt16(fields[2]);
        if (!row || *row < 0 || static_cast<std::size_t>(*row) >= madeNodes_.size()) {
            if (!afterMarker.isEmpty()) // a line without the marker is no item of ours
                ++result_.ItemsLeftOut;
            return;
        }
        const std::optional<int> index = document_.AddItemRecord();
        if (!index) {
            result_.TooManyItems = true;
            return;
        }
        ItemRecord& r = document_.Record(*index);
        r.ScriptLine = Utf8Text(line);
        ReadArguments(line, r);
        r.ItemType = recentItemTypes_.Shared(fields[0]);
        // The label is most often the item's text as well: share it then.
        r.FriendlyName = r.ItemText == fields[1] ? r.ItemText : fields[1].toString();
        r.UseGlobalBNonExpanded = ToBoolean(fields[3]);
        r.UseGlobalBExpanded = ToBoolean(fields[4]);
        r.UseGlobalTarget = ToBoolean(fields[5]);
        r.UseGlobalFont = ToBoolean(fields[6]);
        madeNodes_.push_back(document_.AddNode(madeNodes_[static_cast<std::size_t>(*row)], r.FriendlyName, *index));
        ++result_.ItemsAdded;
    }

    // The ten quoted arguments of the menuItemObject call, in order; missing
    // ones stay empty.
    void ReadArguments(QStringView line, ItemRecord& r)
    {
        QStringView rest = line;
        NextToken(rest, u"=");
        NextToken(rest, u"new menuItemObject(\"");
        for (std::size_t i = 0; i < kArguments; ++i) {
            if (i > 0)
                SkipPast(rest, QLatin1Char('"')); // the separator between closing and opening quote
            bool escaped = false;
            const QStringView raw = NextQuotedToken(rest, &escaped);
            Argument(i, raw, escaped);
        }
        r.BNonExpanded = Picture(0);
        r.BExpanded = Picture(1);
        r.MouseOutPic = Picture(2);
        r.MouseOverPic = Picture(3);
        r.ItemText = lastArgument_[4];
        r.FontSize = lastArgument_[5];
        r.FontColor = lastArgument_[6];
        r.LinkHref = lastArgument_[7];
        r.LinkTarget = lastArgument_[8];
        r.LinkDescription = lastArgument_[9];
    }

    // Menus repeat bullets, fonts and targets from item to item, often
    // alternating between a few values: a value equal to one of the last few
    // of its argument shares that text instead of making another copy. Fewer
    // copies make both the load and freeing the tree cheaper.
    void Argument(std::size_t i, QStringView raw, bool escaped)
    {
        QString& last = lastArgument_[i];
        if (escaped)
            last = UnescapeScriptText(raw);
        else if (last != raw)
            last = recentArguments_[i].Shared(raw);
    }

    const QString& Picture(std::size_t i)
    {
        if (!lastArgument_[i].isSharedWith(pictureArgument_[i])) {
            pictureArgument_[i] = lastArgument_[i];
            picturePath_[i] = PicturePath(lastArgument_[i]);
        }
        return picturePath_[i];
    }

    TreeDocument& document_;
    const QString scriptFolder_;
    UserInterface& ui_;
    std::vector<TreeNode*> madeNodes_; // [0] the root, [k] the node of the k-th item that made one
    LoadResult result_;
    bool headerMode_ = true;
    bool stop_ = false;
    bool bulk_ = false;

    static constexpr std::size_t kArguments = 10;
    std::array<QString, kArguments> lastArgument_; // the previous item line's values
    std::array<QString, 4> pictureArgument_;       // the picture arguments last rebuilt ...
    std::array<QString, 4> picturePath_;           // ... and their paths
    std::array<RecentValues, kArguments> recentArguments_;
    RecentValues recentItemTypes_;
};

QString ScriptFolderOf(const QString& path)
{
    // A bare or relative name still needs a real folder for the pictures.
    if (QDir::isRelativePath(path))
        return FolderOf(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    return FolderOf(path);
}

#if defined(MAP_POPULATE)
constexpr int kPopulate = MAP_POPULATE; // every page is written by the read that follows
#elif defined(Q_OS_UNIX)
constexpr int kPopulate = 0;
#endif

// The bytes of a whole file. On Unix a regular file is read into memory of
// its own, whose pages go back to the system as the loader is done with them:
// the file and the document it becomes then never lie in memory whole at once.
class ScriptBytes {
public:
    ScriptBytes() = default;
    ScriptBytes(const ScriptBytes&) = delete;
    ScriptBytes& operator=(const ScriptBytes&) = delete;
    ~ScriptBytes()
    {
#if defined(Q_OS_UNIX)
        if (mapping_)
            munmap(mapping_, mappingSize_);
#endif
    }

    // Room for size bytes; data() then points at it.
    void Allocate(qsizetype size)
    {
#if defined(Q_OS_UNIX)
        if (size > 0) {
            void* mapping = mmap(nullptr, std::size_t(size), PROT_READ | PROT_WRITE,
                                 MAP_PRIVATE | MAP_ANONYMOUS | kPopulate, -1, 0);
            if (mapping != MAP_FAILED) {
                mapping_ = mapping;
                mappingSize_ = std::size_t(size);
                bytes_ = QByteArray::fromRawData(static_cast<const char*>(mapping), size);
                return;
            }
        }
#endif
        bytes_ = QByteArray(size, Qt::Uninitialized);
    }
    char* data() { return mapping_ ? static_cast<char*>(mapping_) : bytes_.data(); }
    void Truncate(qsizetype size)
    {
        if (mapping_)
            bytes_ = QByteArray::fromRawData(static_cast<const char*>(mapping_), size);
        else
            bytes_.truncate(size);
    }
    void Append(const char* data, qsizetype size)
    {
        if (mapping_) { // what a file holds beyond its stated size: copied once
            const QByteArray all = bytes_ + QByteArrayView(data, size);
            munmap(mapping_, mappingSize_);
            mapping_ = nullptr;
            bytes_ = all;
        } else {
            bytes_.append(data, size);
        }
    }
    const QByteArray& Bytes() const { return bytes_; }

    // Hands back the pages wholly before upTo, which are not read again.
    void Release(qsizetype upTo)
    {
#if defined(Q_OS_UNIX)
        if (!mapping_)
            return;
        static const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
        const std::size_t end = std::min(std::size_t(upTo), mappingSize_) / page * page;
        if (end > released_)
            madvise(static_cast<char*>(mapping_) + released_, end - released_, MADV_DONTNEED);
        released_ = std::max(released_, end);
#else
        Q_UNUSED(upTo);
#endif
    }

private:
    QByteArray bytes_; // over the mapping, when there is one
    void* mapping_ = nullptr;
    std::size_t mappingSize_ = 0;
    std::size_t released_ = 0;
};

// The whole file into bytes; false, with the reason, when it cannot be read.
bool ReadScriptFile(const QString& path, ScriptBytes& bytes, QString& reason)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return false;
    }
    const QString tooLarge =
        QCoreApplication::translate("TreeLoader", "The file is larger than %1 MB.").arg(kMaxScriptFileBytes >> 20);
    if (!file.isSequential()) {
        if (file.size() > kMaxScriptFileBytes) {
            reason = tooLarge;
            return false;
        }
        // Room of the file's size, filled at once: readAll would grow an
        // array by doubling, up to twice the file.
        bytes.Allocate(file.size());
        const qint64 read = file.read(bytes.data(), file.size());
        bytes.Truncate(std::max<qint64>(read, 0));
        if (read < 0) {
            reason = file.errorString();
            return false;
        }
    }
    // The rest: all of a pipe or terminal, whose data may arrive in pieces
    // with pauses between them, or what a file holds beyond its stated size.
    for (;;) {
        char chunk[1 << 16];
        const qint64 read = file.read(chunk, sizeof chunk);
        if (read < 0) {
            reason = file.errorString();
            return false;
        }
        if (read == 0)
            break;
        if (bytes.Bytes().size() + read > kMaxScriptFileBytes) {
            reason = tooLarge;
            return false;
        }
        bytes.Append(chunk, read);
    }
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return false;
    }
    return true;
}

// Loads the bytes; release(upTo) is told when the bytes before upTo are done with.
LoadResult LoadBytes(TreeDocument& document, const QByteArray& bytes, const QString& path, UserInterface& ui,
                     const std::function<void(qsizetype)>& release)
{
    const LineEnds ends = CountLineEnds(bytes);
    document.NewTree();
    // Room for as many items as the file has lines, up to the limit: records
    // that grow by reallocation would need the old and the new array at once.
    document.ReserveItems(
        static_cast<int>(std::min<qsizetype>(std::max(ends.CarriageReturns, ends.LoneLineFeeds) + 1, kMaxItems)));
    ScriptReader reader(document, ScriptFolderOf(path), ui);
    if (!IsUtf8Throughout(bytes)) {
        const QString text = DecodeScriptBytes(bytes);
        reader.Read(text, LineFeedsEndLines(text));
        return reader.Finish();
    }
    // UTF-8 text is decoded a slice of whole lines at a time, so that the
    // decoded file never lies in memory beside its bytes: a deep tree's file
    // is mostly long statements, and the document keeps them as it is.
    const bool lineFeedEnds = ends.LoneLineFeeds > 0 && ends.LoneLineFeeds >= ends.CarriageReturns;
    QStringDecoder utf8(QStringConverter::Utf8); // drops a byte-order mark at the start only
    for (qsizetype start = 0; start < bytes.size() && !reader.Stopped();) {
        const qsizetype end = SliceEnd(bytes, start + kDecodeSlice, lineFeedEnds);
        const QString text = utf8.decode(QByteArrayView(bytes).sliced(start, end - start));
        reader.Read(text, lineFeedEnds);
        release(end);
        start = end;
    }
    return reader.Finish();
}

} // namespace

LoadResult LoadTreeScriptBytes(TreeDocument& document, const QByteArray& bytes, const QString& path, UserInterface& ui)
{
    return LoadBytes(document, bytes, path, ui, [](qsizetype) {});
}

LoadResult LoadTreeScript(TreeDocument& document, const QString& path, UserInterface& ui)
{
    QString reason;
    ScriptBytes bytes;
    if (!ReadScriptFile(path, bytes, reason)) {
        ui.ShowMessage(
            QCoreApplication::translate("TreeLoader", "Unable to open the file: %1\rReason: %2").arg(path, reason),
            UserInterface::Icon::Information);
        return {};
    }
    return LoadBytes(document, bytes.Bytes(), path, ui, [&bytes](qsizetype upTo) { bytes.Release(upTo); });
}

} // namespace vi
