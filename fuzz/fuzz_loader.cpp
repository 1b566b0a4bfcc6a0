// libFuzzer target: any bytes, read as a custom.js, must load without a crash,
// a leak, a hang or undefined behaviour, into a document whose links hold.
#include "document/TreeDocument.h"
#include "document/UserInterface.h"
#include "script/TreeLoader.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

namespace {

// Answers the version question Yes or No from the input's own bytes, so that
// every run of one input takes the same path.
class FuzzUserInterface : public vi::UserInterface {
public:
    FuzzUserInterface(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    void ShowMessage(const QString&, Icon) override {}
    Answer Ask(const QString&, Buttons) override
    {
        const bool yes = size_ > 0 && (data_[asked_++ % size_] & 1) == 0;
        return yes ? Answer::Yes : Answer::No;
    }
    bool EditItemRecord(vi::ItemRecord&, const vi::TreeSettings&) override { return false; }
    bool EditTreeSettings(vi::TreeSettings&) override { return false; }
    std::optional<QString> ChooseExportFolder() override { return std::nullopt; }
    std::optional<QString> ChooseFileToLoad(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t asked_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzUserInterface ui(data, size);
    vi::TreeDocument document;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const vi::LoadResult result = vi::LoadTreeScriptBytes(document, bytes, QStringLiteral("/site/custom.js"), ui);
    if (!result.Opened || document.TreeChanged() || !document.CheckInvariants().isEmpty()
        || result.ItemsAdded != document.NodeCount() - 1)
        std::abort();
    return 0;
}
