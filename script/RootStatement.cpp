#include "script/RootStatement.h"

#include "document/ChoiceValues.h"
#include "document/TreeDocument.h"
#include "document/TreeSettings.h"

#include <QRegularExpression>
#include <QStringList>

namespace vi {

QString BuildRootStatement(const TreeSettings& s)
{
    // Values outside the dialogs' ranges never come from the editor; clamp them
    // so that a hand-made file cannot make the builder read past the list.
    const int sizeIndex = s.TreeSize < 0 ? 0
                                         : (s.TreeSize >= static_cast<int>(kItemHeights.size())
                                                ? static_cast<int>(kItemHeights.size()) - 1
                                                : s.TreeSize);
    const QString height = QString::fromLatin1(kItemHeights[static_cast<std::size_t>(sizeIndex)]).left(2);

    QString text = QStringLiteral("var menuBase = new menuObject(") + QString::number(s.TreeX) + QLatin1Char(',')
                   + QString::number(s.TreeY) + QLatin1Char(',') + height + QLatin1Char(',');

    auto quotedList = [](const QStringList& names) {
        QStringList quoted;
        for (const QString& name : names)
            quoted << (name.isEmpty() ? QStringLiteral("\"\"")
                                      : QStringLiteral("\"treePics/") + name + QLatin1Char('"'));
        return quoted.join(QLatin1Char(','));
    };

    const QString filler = QStringLiteral("2x2.gif");
    if (s.TreeLines == 0) {
        text += QStringLiteral("false,") + quotedList({{}, {}, {}, {}, {}, {}, {}});
    } else if (s.TreeLines == 2) {
        text += QStringLiteral("true,")
                + quotedList(
                    {QStringLiteral("plus.gif"), QStringLiteral("minus.gif"), filler, filler, filler, filler, filler});
    } else {
        text += QStringLiteral("true,")
                + quotedList({QStringLiteral("plus.gif"), QStringLiteral("minus.gif"), QStringLiteral("top.gif"),
                              QStringLiteral("mid.gif"), QStringLiteral("btm.gif"), QStringLiteral("hline.gif"),
                              QStringLiteral("vline.gif")});
    }
    return text + QStringLiteral(");");
}

bool IsRootStatementForm(QStringView line)
{
    // Numbers, the lines flag and seven quoted picture references, nothing
    // that could end a string or the line.
    static const QRegularExpression form(QStringLiteral(
        R"(^var menuBase = new menuObject\(-?\d{1,6},-?\d{1,6},\d{1,6},(?:true|false)(?:,"[^"\\\r\n\x{2028}\x{2029}]*"){7}\);$)"));
    return form.match(line).hasMatch();
}

QString RootStatementOf(const TreeDocument& document)
{
    return document.RootStatement().isEmpty() ? BuildRootStatement(document.Settings()) : document.RootStatement();
}

} // namespace vi
