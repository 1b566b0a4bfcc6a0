#pragma once
// Reads a custom.js into memory within the size the loader accepts.
#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstddef>

namespace vi {

// Files larger than this are refused as unreadable: no menu comes near it, and
// reading a device or an endless pipe must not exhaust memory.
inline constexpr qint64 kMaxScriptFileBytes = 256LL * 1024 * 1024;

// The bytes of a whole file. On Unix a regular file is read into memory of
// its own, whose pages go back to the system as the loader is done with them:
// the file and the document it becomes then never lie in memory whole at once.
class ScriptBytes {
public:
    ScriptBytes() = default;
    ScriptBytes(const ScriptBytes&) = delete;
    ScriptBytes& operator=(const ScriptBytes&) = delete;
    ~ScriptBytes();

    const QByteArray& Bytes() const { return bytes_; }
    // Hands back the pages wholly before upTo, which are not read again.
    void Release(qsizetype upTo);

private:
    friend bool ReadScriptFile(const QString&, bool, ScriptBytes&, QString&);
    void Allocate(qsizetype size);
    char* Data();
    void Truncate(qsizetype size);
    void Append(const char* data, qsizetype size);

    QByteArray bytes_; // over the mapping, when there is one
    void* mapping_ = nullptr;
    std::size_t mappingSize_ = 0;
    std::size_t released_ = 0;
};

// Reads the whole file into bytes; false, with the reason, when it cannot be
// read or is larger than kMaxScriptFileBytes. With regularOnly, anything but
// a regular file (a FIFO, a device, a folder) is refused without being
// opened for reading, since reading it may never end; otherwise pipes and
// terminals are read to their end.
bool ReadScriptFile(const QString& path, bool regularOnly, ScriptBytes& bytes, QString& reason);

} // namespace vi
