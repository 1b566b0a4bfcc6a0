#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringEncoder>
#include <QStringList>

class QIODevice;

namespace vi {

struct TreeSettings;

inline constexpr int kHeaderLineCount = 28;  // comments and the thirteen setting lines
inline constexpr int kPreambleLineCount = 5; // the variables the page reads before the root statement

// Lines 1 to 33 of custom.js: the header with the settings, then the preamble
// with BrowserSwitch, the background colour and the filler picture.
QStringList ScriptHeaderLines(const TreeSettings& settings, bool browserSwitch);

// Writes lines as UTF-8, each ended by CR LF, in large blocks. After the
// first failed write it writes nothing more and Ok() stays false.
class ScriptLineWriter {
public:
    explicit ScriptLineWriter(QIODevice& device);
    void WriteLine(const QString& line);
    // A line that is UTF-8 already.
    void WriteUtf8Line(QByteArrayView line);
    // Writes what is still buffered; false when any write failed.
    bool Finish();
    bool Ok() const { return ok_; }
    // The bytes of all lines so far, written or still buffered.
    qint64 Size() const { return written_ + buffer_.size(); }

private:
    void Flush();
    QIODevice& device_;
    QByteArray buffer_;
    QStringEncoder encoder_{QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    qint64 written_ = 0;
    bool ok_ = true;
};

} // namespace vi
