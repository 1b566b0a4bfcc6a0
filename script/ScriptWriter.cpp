#include "script/ScriptWriter.h"

#include "document/AppInfo.h"
#include "document/TreeSettings.h"
#include "script/ScriptText.h"

#include <QIODevice>

namespace vi {

namespace {
constexpr qsizetype kBlockSize = 256 * 1024;
}

QStringList ScriptHeaderLines(const TreeSettings& s, bool browserSwitch)
{
    const QString comment = QStringLiteral("// '");
    auto key = [](const char* name, const QString& value) {
        return QStringLiteral("//# ") + QLatin1String(name) + QStringLiteral(" = ") + value;
    };
    auto picture = [](const QString& path) { return FileNameOf(path).trimmed(); };

    QStringList lines;
    lines.reserve(kHeaderLineCount + kPreambleLineCount);
    lines << QStringLiteral("// 'DO NOT WRITE TO OR ALTER THIS FILE")
          << QStringLiteral("// 'Even if you edit the JavaScript your risking")
          << QStringLiteral("// 'not being able to load it back into Vuvov-Ivoza") << comment << comment << comment
          << comment << key("Generator", ProductName()) << key("Version", AppVersion().trimmed()) << comment
          << QStringLiteral("// 'About: Vuvov-Ivoza by Vevadev, download free at ") + MakerWebAddress()
          << comment + MakerCopyright() << comment << comment;
    lines << key("TreeX", QString::number(s.TreeX)) << key("TreeY", QString::number(s.TreeY))
          << key("TreeSize", QString::number(s.TreeSize)) << key("TreeLines", QString::number(s.TreeLines))
          << key("TreeLineColor", s.TreeLineColor.trimmed()) << key("TreePMColor", s.TreePMColor.trimmed())
          << key("TreeBNonExpanded", picture(s.TreeBNonExpanded)) << key("TreeBExpanded", picture(s.TreeBExpanded))
          << key("TreeLeaf", picture(s.TreeLeaf)) << key("TreeTarget", s.TreeTarget.trimmed())
          << key("TreeBackground", s.TreeBackground.trimmed()) << key("TreeFontSize", s.TreeFontSize.trimmed())
          << key("TreeFontColor", s.TreeFontColor.trimmed());
    lines << QStringLiteral("//\\\\");

    lines << QStringLiteral("var BrowserSwitch = ") +
                 (browserSwitch ? QStringLiteral("true;") : QStringLiteral("false;"))
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
