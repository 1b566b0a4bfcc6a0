#pragma once
// The user interface of the fuzz targets: answers the version question Yes or
// No from the input's own bytes, so that every run of one input takes the
// same path, and shows nothing.
#include "script/UserInterface.h"

#include <cstddef>
#include <cstdint>

namespace vi::fuzz {

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
    std::optional<QString> ChooseExportFolder(const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseFileToLoad(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t asked_ = 0;
};

} // namespace vi::fuzz
