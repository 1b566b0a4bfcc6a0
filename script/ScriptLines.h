#pragma once
// Splits a custom.js into its lines: finds the line ends and decodes the text.
#include <QByteArray>
#include <QStringView>
#include <functional>

namespace vi {

// Calls onLine with every line of the file's bytes, in order, until it
// returns false. A line ends at CR or CR LF; in a file whose lines end in LF
// alone (at least as many lone LFs as CRs) at a lone LF as well, while
// elsewhere a lone LF is part of the line and dropped from it. Each line comes
// without its line end and without blanks at either end; the view is valid
// during the call only. The bytes are decoded as DecodeScriptBytes does; UTF-8
// a slice of whole lines at a time, telling release(upTo) when the bytes
// before upTo are done with, so that the decoded file never lies in memory
// beside its bytes.
void SplitScriptLines(const QByteArray& bytes, const std::function<bool(QStringView line)>& onLine,
                      const std::function<void(qsizetype upTo)>& release = {});

// About how many lines the bytes hold, counted by their line ends, to reserve
// room before a load.
qsizetype CountScriptLines(const QByteArray& bytes);

} // namespace vi
