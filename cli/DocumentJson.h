#pragma once
#include <QString>

namespace vi {

class TreeDocument;

// The document as JSON: the settings by name, the root statement, TreeChanged,
// every node but the root by position, and every item record by index. Keys
// keep the document's order; one node or record per line.
QString DocumentJson(const TreeDocument& document);

} // namespace vi
