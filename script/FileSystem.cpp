#include "script/FileSystem.h"

#include "document/AppInfo.h"
#include "script/ReplacingFile.h"
#include "script/ScriptText.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
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

bool SameFile(const QString& first, const QString& second)
{
    struct stat a {};
    struct stat b {};
    return !first.isEmpty() && !second.isEmpty() && ::stat(Native(first).constData(), &a) == 0
           && ::lstat(Native(second).constData(), &b) == 0 && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}
#else
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
    if (!QFileInfo(source).isFile()) {
        why = QFileInfo::exists(source) ? NotRegularFileReason() : qt_error_string(ENOENT);
        return false;
    }
    if (SameFile(source, destination))
        return true;
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) {
        why = in.errorString();
        return false;
    }
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

bool FileNamesAreCaseSensitive()
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return false;
#else
    return true;
#endif
}

namespace {

bool SameFolderName(const QString& a, const QString& b)
{
    return a.trimmed().compare(b.trimmed(), FileNamesAreCaseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

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
    if (SameFolderName(FolderOf(picturePath), FolderOf(destination)))
        return true; // already in place: a tree loaded from this folder
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
