#include "script/FileSystem.h"

#include "document/AppInfo.h"
#include "script/ReplacingFile.h"
#include "script/ScriptText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHashFunctions>
#include <QThread>
#include <algorithm>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vi {

namespace {
constexpr qint64 kCopyBlockSize = 1024 * 1024;
}

bool FolderExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isDir() && info.isExecutable();
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly);
}

#ifdef Q_OS_UNIX
namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

} // namespace

bool OpenRegularFile(QFile& file, const QString& path, QString* reason)
{
    // Opened without waiting, so that a FIFO put there is refused rather than waited on.
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (reason)
            *reason = fd < 0 ? qt_error_string(errno) : NotRegularFileReason();
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

bool SameFile(const QString& first, const QString& second)
{
    struct stat a {};
    struct stat b {};
    return !first.isEmpty() && !second.isEmpty() && ::stat(Native(first).constData(), &a) == 0
           && ::lstat(Native(second).constData(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
#else
bool OpenRegularFile(QFile& file, const QString& path, QString* reason)
{
    if (!QFileInfo(path).isFile()) {
        if (reason)
            *reason = QFileInfo::exists(path) ? NotRegularFileReason() : qt_error_string(ENOENT);
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (reason)
            *reason = file.errorString();
        return false;
    }
    return true;
}

bool SameFile(const QString& first, const QString& second)
{
    const QString a = QFileInfo(first).canonicalFilePath();
    return !a.isEmpty() && !QFileInfo(second).isSymLink() && a == QFileInfo(second).canonicalFilePath();
}
#endif

bool CopyFileOver(const QString& source, const QString& destination, QString* reason)
{
    QString ignored;
    QString& why = reason ? *reason : ignored;
    // Only a regular file is read: a FIFO or device as the source would never end.
    if (SameFile(source, destination)) {
        if (QFileInfo(source).isFile())
            return true;
        why = NotRegularFileReason();
        return false;
    }
    QFile in;
    if (!OpenRegularFile(in, source, &why))
        return false;
    ReplacingFile out(destination);
    if (!out.Open()) {
        why = out.Reason();
        return false;
    }
    bool ok = true;
    while (ok && !in.atEnd()) {
        const QByteArray block = in.read(kCopyBlockSize);
        ok = !block.isEmpty() && out.write(block) == block.size();
    }
    if (in.error() != QFileDevice::NoError) {
        why = in.errorString();
        return false;
    }
    if (!ok || !out.Commit()) {
        why = out.Reason();
        return false;
    }
    return true;
}

bool SameBytes(const QString& a, const QString& b)
{
    QFile first, second;
    if (!OpenRegularFile(first, a, nullptr) || !OpenRegularFile(second, b, nullptr) || first.size() != second.size())
        return false;
    while (!first.atEnd()) {
        if (first.read(1 << 16) != second.read(1 << 16))
            return false;
    }
    return first.error() == QFileDevice::NoError && second.error() == QFileDevice::NoError;
}

CopyTarget CompareCopyTarget(const QString& source, const QString& destination)
{
    const QFileInfo existing(destination);
    if (existing.isSymLink() || existing.isJunction() || !existing.isFile())
        return CopyTarget::Free;
    return SameFile(source, destination) || SameBytes(source, destination) ? CopyTarget::SameBytes
                                                                           : CopyTarget::OtherBytes;
}

namespace {

quint32 LittleEndian32(QByteArrayView b, qsizetype at)
{
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 | quint32(quint8(b[at + 2])) << 16
           | quint32(quint8(b[at + 3])) << 24;
}

quint32 BigEndian32(QByteArrayView b, qsizetype at)
{
    return quint32(quint8(b[at])) << 24 | quint32(quint8(b[at + 1])) << 16 | quint32(quint8(b[at + 2])) << 8
           | quint32(quint8(b[at + 3]));
}

bool IsXmlBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Text whose first element is svg: only a byte-order mark, blanks, the XML
// declaration, comments and the document type may come before it.
bool IsSvgText(QByteArrayView text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    for (;;) {
        while (!text.isEmpty() && IsXmlBlank(text.front()))
            text = text.sliced(1);
        qsizetype end = -1;
        if (text.startsWith("<?xml")) {
            end = text.indexOf("?>");
            end = end < 0 ? -1 : end + 2;
        } else if (text.startsWith("<!--")) {
            end = text.indexOf("-->", 4);
            end = end < 0 ? -1 : end + 3;
        } else if (text.startsWith("<!DOCTYPE svg")) {
            const qsizetype subset = text.indexOf('['), close = text.indexOf('>');
            end = subset >= 0 && subset < close ? text.indexOf("]", subset) : close;
            end = end < 0 ? -1 : text.indexOf('>', end);
            end = end < 0 ? -1 : end + 1;
        } else {
            return text.size() > 4 && text.startsWith("<svg")
                   && (IsXmlBlank(text[4]) || text[4] == '>' || text[4] == '/');
        }
        if (end < 0)
            return false;
        text = text.sliced(end);
    }
}

// An ISO media file (AVIF's container) whose brands name an AVIF image or sequence.
bool IsAvif(QByteArrayView head)
{
    if (head.size() < 16 || head.sliced(4, 4) != "ftyp")
        return false;
    const qsizetype box = std::min<qsizetype>(BigEndian32(head, 0), head.size());
    for (qsizetype at = 8; at + 4 <= box; at += at == 8 ? 8 : 4) { // the major brand, then the compatible ones
        const QByteArrayView brand = head.sliced(at, 4);
        if (brand == "avif" || brand == "avis")
            return true;
    }
    return false;
}

} // namespace

bool IsPictureContent(QByteArrayView head)
{
    if (head.startsWith("GIF87a") || head.startsWith("GIF89a") || head.startsWith("\x89PNG\r\n\x1a\n")
        || head.startsWith("\xFF\xD8\xFF"))
        return true;
    if (head.size() >= 18 && head.startsWith("BM")) {
        // The size of the header that follows the file header: one of the known versions.
        const quint32 info = LittleEndian32(head, 14);
        return info == 12 || info == 40 || info == 52 || info == 56 || info == 64 || info == 108 || info == 124;
    }
    if (head.size() >= 6 && head.startsWith(QByteArrayView("\0\0\1\0", 4)))
        return head[4] != 0 || head[5] != 0; // an icon file with at least one image
    if (head.size() >= 12 && head.startsWith("RIFF") && head.sliced(8, 4) == "WEBP")
        return true;
    return IsAvif(head) || IsSvgText(head);
}

FileFingerprint FingerprintOf(const QString& path)
{
    QFile file;
    if (!OpenRegularFile(file, path, nullptr))
        return {};
    ContentHash hash;
    qint64 size = 0;
    while (!file.atEnd()) {
        const QByteArray block = file.read(kCopyBlockSize);
        if (block.isEmpty())
            break;
        hash.Add(block);
        size += block.size();
    }
    if (file.error() != QFileDevice::NoError)
        return {};
    return {size, hash.Result()};
}

void ContentHash::Add(QByteArrayView bytes)
{
    if (!pending_.isEmpty()) {
        const qsizetype taken = std::min(kBlock - pending_.size(), bytes.size());
        pending_.append(bytes.first(taken));
        bytes = bytes.sliced(taken);
        if (pending_.size() < kBlock)
            return;
        hash_ = qHashBits(pending_.constData(), size_t(kBlock), hash_);
        pending_.clear();
    }
    while (bytes.size() >= kBlock) {
        hash_ = qHashBits(bytes.data(), size_t(kBlock), hash_);
        bytes = bytes.sliced(kBlock);
    }
    pending_.append(bytes);
}

size_t ContentHash::Result() const { return qHashBits(pending_.constData(), size_t(pending_.size()), hash_); }

bool FileNamesAreCaseSensitive()
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return false;
#else
    return true;
#endif
}

bool SameFolderName(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), FileNamesAreCaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

namespace {

// A link whose target lies outside the link's own folder: its bytes are not
// the user's picture folder's, so they are not published.
bool LinksOutOfItsFolder(const QString& picture)
{
    const QFileInfo info(picture);
    if (!info.isSymLink())
        return false;
    const QString target = info.canonicalFilePath();
    return target.isEmpty() || QFileInfo(target).path() != QFileInfo(info.path()).canonicalFilePath();
}

} // namespace

bool CopyPictureTo(const QString& picturePath, const QString& destinationFolder, QString* reason)
{
    QString ignored;
    QString& why = reason ? *reason : ignored;
    if (picturePath.isEmpty())
        return true;
    const QString name = FileNameOf(picturePath);
    if (name.trimmed().isEmpty() || name == QLatin1String(".") || name == QLatin1String("..")) {
        why = QStringLiteral("not a file name: ") + picturePath;
        return false;
    }
    if (LinksOutOfItsFolder(picturePath)) {
        why = QStringLiteral("a link to a file outside its folder: ") + picturePath;
        return false;
    }
    const QString destination = JoinPath(destinationFolder, name);
    if (SameFolderName(FolderOf(picturePath), FolderOf(destination))) {
        // Already in place (a tree loaded from this folder), if it is there at all.
        const QFileInfo inPlace(picturePath);
        if (inPlace.isFile())
            return true;
        why =
            (inPlace.exists() ? NotRegularFileReason() : qt_error_string(ENOENT)) + QStringLiteral(": ") + picturePath;
        return false;
    }
    QFile source;
    if (!OpenRegularFile(source, picturePath, nullptr)) {
        why = QStringLiteral("could not copy ") + picturePath;
        return false;
    }
    if (!IsPictureContent(source.read(kPictureHeadBytes))) {
        why = QStringLiteral("not a picture: ") + picturePath;
        return false;
    }
    source.close();
    switch (CompareCopyTarget(picturePath, destination)) {
    case CopyTarget::SameBytes:
        return true;
    case CopyTarget::OtherBytes:
        why = QStringLiteral("a different file of this name is already there");
        return false;
    case CopyTarget::Free:
        break;
    }
    if (!CopyFileOver(picturePath, destination, &why)) {
        why = QStringLiteral("could not copy ") + picturePath;
        return false;
    }
    return true;
}

bool MakePlainFolder(const QString& path, QString* reason)
{
    QString ignored;
    QString& why = reason ? *reason : ignored;
    const QFileInfo info(path);
    if (info.isSymLink() && !QFile::remove(path) && !QDir().rmdir(path)) {
        why = QStringLiteral("the link could not be replaced");
        return false;
    }
    if (!info.isSymLink() && info.isDir())
        return true;
    if (!QDir().mkdir(path)) {
        why = QStringLiteral("the folder could not be created");
        return false;
    }
    return true;
}

#ifdef Q_OS_UNIX
bool MakePrivateFolder(const QString& path)
{
    const QByteArray native = Native(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) == 0 && S_ISLNK(st.st_mode) && ::unlink(native.constData()) != 0)
        return false;
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    // Checked and tightened through a handle, so that a link put in its place meanwhile is not followed.
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok =
        ::fstat(fd, &st) == 0 && st.st_uid == ::getuid() && ((st.st_mode & 07777) == 0700 || ::fchmod(fd, 0700) == 0);
    ::close(fd);
    return ok;
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0)
        ::close(fd_); // closing the last handle ends the lock
}

bool FolderLock::Acquire(const QString& folder, int waitMs)
{
    fd_ = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return true;
    QElapsedTimer waited;
    waited.start();
    while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK && errno != EINTR)
            return true; // a file system without locks: nothing to wait for
        if (waited.elapsed() >= waitMs)
            return false;
        QThread::msleep(50);
    }
    return true;
}
#else
bool MakePrivateFolder(const QString& path)
{
    const QFileInfo info(path);
    if (info.isSymLink() && !QFile::remove(path))
        return false;
    return QFileInfo(path).isDir()
           || QDir().mkdir(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

FolderLock::~FolderLock() = default;
bool FolderLock::Acquire(const QString&, int) { return true; }
#endif

QString LineColourFolder(const QString& colour)
{
    if (colour.isEmpty())
        return {};
    const QString lines = JoinPath(DataFolder(), QStringLiteral("TreeLines"));
    const QStringList folders = QDir(lines).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    if (folders.contains(colour))
        return JoinPath(lines, colour);
    for (const QString& name : folders) {
        if (name.compare(colour, Qt::CaseInsensitive) == 0)
            return JoinPath(lines, name);
    }
    return {};
}

QStringList SubFolderNames(const QString& folder)
{
    return QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
}

} // namespace vi
