#pragma once
#include "script/FileSystem.h"

#include <QIODevice>
#include <QString>
#include <memory>

class QSaveFile;

namespace vi {

// A file that replaces its destination only when every byte was written. The
// bytes go to a temporary file in the destination's folder (without a name
// where the file system allows), and Commit() renames it over the
// destination. So a full disk or a killed process leaves the old file or the
// new one, never a part of one. A link at the destination is replaced, never
// written through; a folder, a special file (FIFO, device) or a write-protected
// file there is refused.
class ReplacingFile : public QIODevice {
public:
    enum class Sync { No, Yes }; // Yes: on disk before the rename (the document itself)

    explicit ReplacingFile(const QString& destination, Sync sync = Sync::No);
    ~ReplacingFile() override; // discards an uncommitted file

    // Makes the temporary file; false with Reason() when the destination
    // cannot be replaced or the folder takes no new file.
    bool Open();
    // Writes out and renames over the destination; false with Reason(), and
    // then nothing at the destination has changed.
    bool Commit();
    // Drops the temporary file; the destination stays as it was.
    void Discard();

    const QString& Destination() const { return destination_; }
    // The fingerprint of every byte written so far.
    FileFingerprint Written() const { return {written_, hash_.Result()}; }
    // Why the last step failed, in the platform's words ("No space left on device").
    QString Reason() const { return reason_; }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool Fail(int error);
    bool Fail(const QString& reason);
    void CloseHandle();

    QString destination_;
    QString tempName_; // empty while the temporary file has no name
    QString reason_;
    int fd_ = -1;
#ifndef Q_OS_UNIX
    std::unique_ptr<QSaveFile> save_;
#endif
    static constexpr long long kNoOwner = -1;
    unsigned mode_ = 0;
    long long owner_ = kNoOwner; // the replaced file's owner and group
    long long group_ = kNoOwner;
    Sync sync_;
    bool failed_ = false;
    qint64 written_ = 0;
    ContentHash hash_;
};

// The reason given for a destination that is neither a file nor a link.
QString NotRegularFileReason();

// How the names of the temporary files begin; the rest is twelve hex digits.
QString ReplacingFileTemporaryPrefix();

// Removes the named temporary files that a process killed between naming and
// renaming them left in folder: regular files with the program's temporary
// names only, and only when folder is a real folder, not a link to one. Call
// it only while holding the folder's lock.
void RemoveLeftOverTemporaryFiles(const QString& folder);

} // namespace vi
