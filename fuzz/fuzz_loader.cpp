// libFuzzer target: any bytes, read as a custom.js, must load without a crash,
// a leak, a hang or undefined behaviour, into a document whose links hold,
// or be refused and leave the document as it was.
#include "document/TreeDocument.h"
#include "fuzz/FuzzUserInterface.h"
#include "script/TreeLoader.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vi::fuzz::FuzzUserInterface ui(data, size);
    vi::TreeDocument document;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const vi::LoadResult result = vi::LoadTreeScriptBytes(document, bytes, QStringLiteral("/site/custom.js"), ui);
    // A load that did not happen leaves the new document as it was.
    if (document.TreeChanged() || !document.CheckInvariants().isEmpty()
        || (result.Replaced() ? result.ItemsAdded : 0) != document.NodeCount() - 1)
        std::abort();
    return 0;
}
