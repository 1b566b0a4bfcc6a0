// libFuzzer target: any bytes, read as a custom.js, must load without a crash,
// a leak, a hang or undefined behaviour, into a document whose links hold.
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
    if (!result.Opened || document.TreeChanged() || !document.CheckInvariants().isEmpty()
        || result.ItemsAdded != document.NodeCount() - 1)
        std::abort();
    return 0;
}
