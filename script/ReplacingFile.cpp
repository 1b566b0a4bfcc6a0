#include "script/ReplacingFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace vi {

QString NotRegularFileReason() { return QStringLiteral("Not a regular file"); }

ReplacingFile::ReplacingFile(const QString& destination, Sync sync) : destination_(destination), sync_(sync) {}

ReplacingFile::~ReplacingFile() { Discard(); }

qint64 ReplacingFile::readData(char*, qint64) { return -1; }

bool ReplacingFile::Fail(const QString& reason)
{
    failed_ = true;
    reason_ = reason;
    setErrorString(reason);
    return false;
}

bool ReplacingFile::Fail(int error) { return Fail(qt_error_string(error)); }

QString ReplacingFileTemporaryPrefix() { return QStringLiteral(".vuvov-ivoza-tmp-"); }

namespace {

constexpr int kTemporaryDigits = 12;

// The program's prefix and twelve hex digits: short whatever the destination's
// name, and a name no file of the user's has.
bool IsTemporaryName(const QString& name)
{
    static const QRegularExpression temporary(QLatin1Char('^')
                                              + QRegularExpression::escape(ReplacingFileTemporaryPrefix())
                                              + QStringLiteral("[0-9a-f]{%1}$").arg(kTemporaryDigits));
    return temporary.match(name).hasMatch();
}

#ifdef Q_OS_UNIX
QString TempName(const QString& destination)
{
    const quint64 random = QRandomGenerator::global()->generate64() & ((quint64(1) << (4 * kTemporaryDigits)) - 1);
    return QFileInfo(destination).path() + QLatin1Char('/') + ReplacingFileTemporaryPrefix()
           + QStringLiteral("%1").arg(random, kTemporaryDigits, 16, QLatin1Char('0'));
}
#endif

} // namespace

#ifdef Q_OS_UNIX

void RemoveLeftOverTemporaryFiles(const QString& folder)
{
    // Only a real folder is looked into, and only regular files go: a link or
    // FIFO of that name, and the folder a link names, stay as they are.
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (dirFd < 0)
        return;
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return;
    }
    QList<QByteArray> own;
    while (const dirent* entry = ::readdir(dir)) {
        if (IsTemporaryName(QFile::decodeName(entry->d_name)))
            own << QByteArray(entry->d_name);
    }
    for (const QByteArray& name : own) {
        struct stat st {};
        if (::fstatat(dirFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
            ::unlinkat(dirFd, name.constData(), 0);
    }
    ::closedir(dir);
}

#else

void RemoveLeftOverTemporaryFiles(const QString& folder)
{
    const QFileInfo info(folder);
    if (info.isSymLink() || info.isJunction() || !info.isDir())
        return;
    const QDir dir(folder);
    const QStringList candidates = dir.entryList({ReplacingFileTemporaryPrefix() + QLatin1Char('*')},
                                                 QDir::Files | QDir::Hidden | QDir::NoSymLinks);
    for (const QString& name : candidates)
        if (IsTemporaryName(name) && QFileInfo(dir.filePath(name)).isFile())
            QFile::remove(dir.filePath(name));
}

#endif

#ifdef Q_OS_UNIX

namespace {

QByteArray Native(const QString& path) { return QFile::encodeName(path); }

// The mode a new file gets: what the process's umask leaves of rw-rw-rw-.
unsigned NewFileMode()
{
    static const unsigned mode = [] {
        const mode_t mask = ::umask(022);
        ::umask(mask);
        return 0666u & ~static_cast<unsigned>(mask);
    }();
    return mode;
}

} // namespace

bool ReplacingFile::Open()
{
    Discard();
    failed_ = false;
    reason_.clear();
    written_ = 0;
    hash_ = ContentHash();
    const QByteArray destination = Native(destination_);
    struct stat existing {};
    mode_ = NewFileMode();
    owner_ = group_ = kNoOwner;
    if (::lstat(destination.constData(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return Fail(EISDIR);
        if (S_ISREG(existing.st_mode)) {
            // A write-protected file stays protected, as a write in place would find it.
            if (!(existing.st_mode & S_IWUSR))
                return Fail(EACCES);
            mode_ = existing.st_mode & 07777;
            owner_ = existing.st_uid;
            group_ = existing.st_gid;
        } else if (!S_ISLNK(existing.st_mode)) {
            return Fail(NotRegularFileReason());
        }
    } else if (errno != ENOENT) {
        return Fail(errno);
    }

    const QByteArray folder = Native(QFileInfo(destination_).path());
#ifdef O_TMPFILE
    // An unnamed file needs /proc to be given its name on commit.
    if (::access("/proc/self/fd", X_OK) == 0)
        fd_ = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
#endif
    if (fd_ < 0) {
        // No unnamed files here: a named one, which Discard removes.
        for (int attempt = 0; fd_ < 0 && attempt < 100; ++attempt) {
            tempName_ = TempName(destination_);
            fd_ = ::open(Native(tempName_).constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
            if (fd_ < 0 && errno != EEXIST)
                break;
        }
        if (fd_ < 0) {
            const int error = errno;
            tempName_.clear();
            return Fail(error);
        }
    }
    // The replacement keeps the old file's owner where the process may give it (root).
    if (owner_ != kNoOwner && (owner_ != ::getuid() || group_ != ::getgid())) [[maybe_unused]]
        const int kept = ::fchown(fd_, static_cast<uid_t>(owner_), static_cast<gid_t>(group_));
    if (::fchmod(fd_, static_cast<mode_t>(mode_)) != 0) {
        const int error = errno;
        Discard();
        return Fail(error);
    }
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 ReplacingFile::writeData(const char* data, qint64 size)
{
    if (failed_ || fd_ < 0)
        return -1;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, data + done, static_cast<size_t>(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            Fail(n < 0 ? errno : ENOSPC);
            return -1;
        }
        done += n;
    }
    hash_.Add(QByteArrayView(data, size));
    written_ += size;
    return done;
}

bool ReplacingFile::Commit()
{
    if (fd_ < 0 || failed_) {
        Discard();
        return false;
    }
    if (sync_ == Sync::Yes && ::fsync(fd_) != 0) {
        const int error = errno;
        Discard();
        return Fail(error);
    }
    if (tempName_.isEmpty()) {
        // Give the unnamed file a name beside the destination, then rename it over.
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(fd_);
        int error = EEXIST;
        for (int attempt = 0; error == EEXIST && attempt < 100; ++attempt) {
            tempName_ = TempName(destination_);
            error = ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, Native(tempName_).constData(), AT_SYMLINK_FOLLOW)
                        ? errno
                        : 0;
        }
        if (error != 0) {
            tempName_.clear();
            Discard();
            return Fail(error);
        }
    }
    // A close that fails (a network file system) has lost data.
    const int closed = ::close(fd_);
    const int closeError = errno;
    fd_ = -1;
    if (closed != 0 && closeError != EINTR) {
        Discard();
        return Fail(closeError);
    }
    if (::rename(Native(tempName_).constData(), Native(destination_).constData()) != 0) {
        const int error = errno;
        Discard();
        return Fail(error == EISDIR || error == ENOTDIR ? EISDIR : error);
    }
    tempName_.clear();
    QIODevice::close();
    return true;
}

void ReplacingFile::CloseHandle()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void ReplacingFile::Discard()
{
    CloseHandle();
    if (!tempName_.isEmpty())
        ::unlink(Native(tempName_).constData());
    tempName_.clear();
    if (isOpen())
        QIODevice::close();
}

#else // platforms without the POSIX calls: the same contract through QSaveFile

bool ReplacingFile::Open()
{
    Discard();
    failed_ = false;
    written_ = 0;
    hash_ = ContentHash();
    const QFileInfo existing(destination_);
    if (existing.isDir())
        return Fail(QStringLiteral("Is a directory"));
    if (existing.exists() && !existing.isSymLink() && !existing.isFile())
        return Fail(NotRegularFileReason());
    if (existing.isFile() && !existing.isSymLink() && !(existing.permissions() & QFileDevice::WriteOwner))
        return Fail(QStringLiteral("Permission denied"));
    if (existing.isSymLink() && !QFile::remove(destination_))
        return Fail(QStringLiteral("Permission denied"));
    auto& save = save_;
    save = std::make_unique<QSaveFile>(destination_);
    save->setDirectWriteFallback(false);
    if (!save->open(QIODevice::WriteOnly))
        return Fail(save->errorString());
    return QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 ReplacingFile::writeData(const char* data, qint64 size)
{
    auto& save = save_;
    if (failed_ || !save)
        return -1;
    const qint64 n = save->write(data, size);
    if (n != size) {
        Fail(save->errorString());
        return -1;
    }
    hash_.Add(QByteArrayView(data, size));
    written_ += size;
    return n;
}

bool ReplacingFile::Commit()
{
    auto& save = save_;
    if (!save || failed_) {
        Discard();
        return false;
    }
    if (!save->commit()) {
        const QString reason = save->errorString();
        Discard();
        return Fail(reason);
    }
    save.reset();
    QIODevice::close();
    return true;
}

void ReplacingFile::CloseHandle() { save_.reset(); }

void ReplacingFile::Discard()
{
    CloseHandle();
    if (isOpen())
        QIODevice::close();
}

#endif

} // namespace vi
