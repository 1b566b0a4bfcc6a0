#pragma once
#include <QByteArray>
#include <functional>

namespace vi {

class TreeDocument;

// Takes the next block of output; false when it could not be written.
using JsonSink = std::function<bool(const QByteArray& block)>;

// Writes the document as UTF-8 JSON: the settings by name, the root statement,
// TreeChanged, every node but the root by position, and every item record by
// index. Keys keep the document's order; one node or record per line. The
// text is handed to the sink in blocks as it is made, so a large tree is never
// held twice. False when the sink failed; nothing more is written then.
bool WriteDocumentJson(const TreeDocument& document, const JsonSink& sink);

} // namespace vi
