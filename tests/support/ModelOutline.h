#pragma once
#include <QAbstractItemModel>
#include <QString>

namespace vi::test {

// The labels a model shows, one a line, indented by depth.
inline QString Outline(const QAbstractItemModel& model, const QModelIndex& parent = {}, int depth = 0)
{
    QString lines;
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        lines += QString(depth, QLatin1Char(' ')) + index.data().toString() + QLatin1Char('\n');
        lines += Outline(model, index, depth + 1);
    }
    return lines;
}

} // namespace vi::test
