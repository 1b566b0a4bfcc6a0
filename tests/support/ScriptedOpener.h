#pragma once
#include "preview/WebAddress.h"

#include <QList>
#include <QUrl>

namespace vi::test {

// A browser launch that records the addresses and answers as scripted.
class ScriptedOpener final : public WebOpener {
public:
    explicit ScriptedOpener(bool started) : started_(started) {}
    bool Open(const QUrl& address) override { return Opened << address, started_; }
    QList<QUrl> Opened;

private:
    bool started_;
};

} // namespace vi::test
