#include "script/ScriptWriter.h"

#include "document/AppInfo.h"
#include "document/TreeSettings.h"
#include "script/HeaderKeys.h"
#include "script/ScriptText.h"

#include <QIODevice>

namespace vi {

namespace {
constexpr qsizetype kBlockSize = 256 * 1024;
}

QStringList ScriptHeaderLines(const TreeSettings& s, bool browserSwitch)
{
    const QString comment = QStringLiteral("// '");
    // Values are trimmed as the loader trims them, and kept on their line.
    auto key = [](QLatin1String name, const QString& value) -> QString {
        return QStringLiteral("//# ") + name + QStringLiteral(" = ") + TrimBlanks(CommentSafe(value)).toString();
    };

    QStringList lines;
    lines.reserve(kHeaderLineCount + kPreambleLineCount);
    lines << QStringLiteral("// 'DO NOT WRITE TO OR ALTER THIS FILE")
          << QStringLiteral("// 'Even if you edit the JavaScript your risking")
          << QStringLiteral("// 'not being able to load it back into Vuvov-Ivoza") << comment << comment << comment
          << comment << key(QLatin1String("Generator"), ProductName()) << key(QLatin1String("Version"), AppVersion())
          << comment << QStringLiteral("// 'About: Vuvov-Ivoza by Vevadev, download free at ") + MakerWebAddress()
          << comment + MakerCopyright() << comment << comment;
    for (const HeaderKey& k : kHeaderKeys) {
        switch (k.Kind) {
        case HeaderKind::Number:
            lines << key(k.Name, QString::number(s.*k.Number));
            break;
        case HeaderKind::Text:
            lines << key(k.Name, s.*k.Text);
            break;
        case HeaderKind::Picture:
            lines << key(k.Name, FileNameOf(s.*k.Text));
            break;
        }
    }
    lines << QStringLiteral("//\\\\");

    lines << QStringLiteral("var BrowserSwitch = ")
                 + (browserSwitch ? QStringLiteral("true;") : QStringLiteral("false;"))
          << QStringLiteral("var BackGroundColor = ") + QuoteText(s.TreeBackground) + QLatin1Char(';')
          << QStringLiteral("var pmPercent = 50;") << QStringLiteral("var trans2x2=new Image();")
          << QStringLiteral("trans2x2.src=") + QuoteText(QStringLiteral("treePics/2x2.gif")) + QLatin1Char(';');
    return lines;
}

ScriptLineWriter::ScriptLineWriter(QIODevice& device) : device_(device) { buffer_.reserve(kBlockSize + 4096); }

void ScriptLineWriter::WriteLine(const QString& line)
{
    if (!ok_)
        return;
    // Encode straight into the block: no temporary per line.
    const qsizetype used = buffer_.size();
    buffer_.resize(used + encoder_.requiredSpace(line.size()) + 2);
    char* end = encoder_.appendToBuffer(buffer_.data() + used, line);
    *end++ = '\r';
    *end++ = '\n';
    buffer_.truncate(end - buffer_.constData());
    if (buffer_.size() >= kBlockSize)
        Flush();
}

void ScriptLineWriter::WriteUtf8Line(QByteArrayView line)
{
    if (!ok_)
        return;
    buffer_.append(line).append("\r\n", 2);
    if (buffer_.size() >= kBlockSize)
        Flush();
}

void ScriptLineWriter::Flush()
{
    if (ok_ && !buffer_.isEmpty())
        ok_ = device_.write(buffer_) == buffer_.size();
    written_ += buffer_.size();
    buffer_.truncate(0); // keeps the block allocated
}

bool ScriptLineWriter::Finish()
{
    Flush();
    return ok_;
}

} // namespace vi
