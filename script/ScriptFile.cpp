#include "script/ScriptFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vi {

namespace {

#if defined(MAP_POPULATE)
constexpr int kPopulate = MAP_POPULATE; // every page is written by the read that follows
#elif defined(Q_OS_UNIX)
constexpr int kPopulate = 0;
#endif

QString NotRegularReason() { return QCoreApplication::translate("TreeLoader", "Only regular files can be loaded."); }

// Opens a regular file for reading. Anything else is refused before it is
// read: opening without blocking, so a FIFO without a writer cannot hold the
// editor up, and asking the opened file, so nothing can swap in between.
bool OpenRegularFile(QFile& file, const QString& path, QString& reason)
{
#if defined(Q_OS_UNIX)
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        file.setFileName(path);
        file.open(QIODevice::ReadOnly); // for the system's description of the failure
        reason = file.errorString();
        return false;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        reason = NotRegularReason();
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        reason = file.errorString();
        return false;
    }
    return true;
#else
    if (QFileInfo::exists(path) && !QFileInfo(path).isFile()) {
        reason = NotRegularReason();
        return false;
    }
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return false;
    }
    return true;
#endif
}

} // namespace

ScriptBytes::~ScriptBytes()
{
#if defined(Q_OS_UNIX)
    if (mapping_)
        munmap(mapping_, mappingSize_);
#endif
}

void ScriptBytes::Allocate(qsizetype size)
{
#if defined(Q_OS_UNIX)
    if (size > 0) {
        void* mapping =
            mmap(nullptr, std::size_t(size), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | kPopulate, -1, 0);
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

char* ScriptBytes::Data() { return mapping_ ? static_cast<char*>(mapping_) : bytes_.data(); }

void ScriptBytes::Truncate(qsizetype size)
{
    if (mapping_)
        bytes_ = QByteArray::fromRawData(static_cast<const char*>(mapping_), size);
    else
        bytes_.truncate(size);
}

void ScriptBytes::Append(const char* data, qsizetype size)
{
#if defined(Q_OS_UNIX)
    if (mapping_) { // what a file holds beyond its stated size: copied once
        const QByteArray all = bytes_ + QByteArrayView(data, size);
        munmap(mapping_, mappingSize_);
        mapping_ = nullptr;
        bytes_ = all;
        return;
    }
#endif
    bytes_.append(data, size);
}

void ScriptBytes::Release(qsizetype upTo)
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

bool ReadScriptFile(const QString& path, bool regularOnly, ScriptBytes& bytes, QString& reason)
{
    QFile file(path);
    if (regularOnly) {
        if (!OpenRegularFile(file, path, reason))
            return false;
    } else if (!file.open(QIODevice::ReadOnly)) {
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
        const qint64 read = file.read(bytes.Data(), file.size());
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

} // namespace vi
