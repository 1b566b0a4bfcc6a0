#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

class QFile;

namespace vi {

// True when the path names a folder the program can enter.
bool FolderExists(const QString& path);
// True when the file can be opened for reading.
bool FileExists(const QString& path);
// Copies a picture into a folder under its own file name, unless it already
// lies there (folder names compared as the file system compares them). False,
// with the reason, when the name is no plain file name (empty, "." or ".."),
// the picture is a link to a file outside its own folder, it is missing, its
// content is no image's, a different file of its name is in the folder (a
// file with the same bytes counts as copied), or the copy failed.
bool CopyPictureTo(const QString& picturePath, const QString& destinationFolder, QString* reason = nullptr);

// True when both paths name folders of one spelling, as the file system compares names.
bool SameFolderName(const QString& a, const QString& b);

// What stands at the destination of a copy, compared with its source.
enum class CopyTarget {
    Free,      // nothing, a link (replaced, never written through) or a special file (refused by the copy)
    SameBytes, // the source itself, or a regular file with the same bytes
    OtherBytes // a regular file with other bytes
};
CopyTarget CompareCopyTarget(const QString& source, const QString& destination);

// True when both are regular files with the same bytes.
bool SameBytes(const QString& a, const QString& b);

// True when both paths name one existing file: the same device and inode, so
// hard links, bind mounts and other spellings count. A link at second is
// itself, not the file it points to.
bool SameFile(const QString& first, const QString& second);
// Opens a regular file (through a link) for reading into file. False, with
// the reason, for anything else: a FIFO or device is refused without waiting on it.
bool OpenRegularFile(QFile& file, const QString& path, QString* reason);

// Copies a regular file over destination through a temporary file that is
// renamed over it, replacing a file or link of that name. A source that
// already is the destination is left alone and counts as copied, so that
// nothing is ever deleted before it is copied onto itself.
bool CopyFileOver(const QString& source, const QString& destination, QString* reason = nullptr);

// Makes sure path is a real folder: a link there is replaced by a new folder.
// False, with the reason, when that cannot be done.
bool MakePlainFolder(const QString& path, QString* reason = nullptr);

// Makes sure path is a real folder of the current user's own that only that
// user can enter (0700): a link there is replaced by a new folder, and a
// folder of the user's with wider permissions is tightened. False when that
// cannot be done (another user's folder, a file in the way).
bool MakePrivateFolder(const QString& path);

// True when the first bytes of a file are those of an image a page can show:
// GIF, PNG, JPEG, BMP, ICO, WebP, AVIF, or SVG (text whose first element is svg).
bool IsPictureContent(QByteArrayView head);
// How many first bytes IsPictureContent needs at most.
inline constexpr qsizetype kPictureHeadBytes = 64 * 1024; // room for a long comment before an svg

// A hash of a stream of bytes that does not depend on how the stream is cut
// into pieces. Fast and not cryptographic; it tells changed content apart
// within one run of the program.
class ContentHash {
public:
    void Add(QByteArrayView bytes);
    size_t Result() const;

private:
    static constexpr qsizetype kBlock = 64 * 1024;
    QByteArray pending_; // less than a block
    size_t hash_ = 0;
};

// A file's content in short: its size and a hash of its bytes.
struct FileFingerprint {
    qint64 Size = -1; // -1: no regular file could be read
    size_t Hash = 0;
    bool operator==(const FileFingerprint&) const = default;
};
// The fingerprint of the file at path as it is now.
FileFingerprint FingerprintOf(const QString& path);

// True where the file system tells letter cases apart in names.
bool FileNamesAreCaseSensitive();

// An advisory lock on a folder, held while the object lives, so that two
// exports into one folder run one after the other.
class FolderLock {
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    // Waits up to waitMs for the lock. False only when another holder kept
    // it all that time; a folder that cannot be opened is not locked, and
    // the caller finds out why when it writes there.
    bool Acquire(const QString& folder, int waitMs);

private:
    int fd_ = -1;
};

// The folder under TreeData/TreeLines that holds the pictures of a colour: the
// sub-folder of that name, else one whose name differs only in letter case.
// Empty when there is none.
QString LineColourFolder(const QString& colour);

// The names of a folder's sub-folders in name order, letter case ignored;
// empty when the folder is missing or unreadable.
QStringList SubFolderNames(const QString& folder);

} // namespace vi
