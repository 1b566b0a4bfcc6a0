#pragma once
#include <QString>
#include <QStringList>

namespace vi {

class TreeDocument;

// The pictures the export would copy that are not there, each named once.
QStringList MissingPictures(const TreeDocument& document);

// The notice naming them: at most ten, then how many more there are.
QString MissingPicturesMessage(const QStringList& pictures);

} // namespace vi
