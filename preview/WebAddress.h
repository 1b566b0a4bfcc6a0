#pragma once
#include "document/TranslatableText.h"

#include <QString>

class QUrl;
class QWidget;

namespace vi {

class UserInterface;

inline constexpr TranslatableText kNoBrowserMessage{
    "WebAddress", QT_TRANSLATE_NOOP("WebAddress", "Could not find your default internet browser!")};

// Hands a web address to the program that shows it; tests replace it.
class WebOpener {
public:
    virtual ~WebOpener() = default;
    // True when a browser was started with the address.
    virtual bool Open(const QUrl& address) = 0;
};

// The platform's default browser, through QDesktopServices.
WebOpener& DefaultWebOpener();

// Opens the address in the default browser, on the owner's behalf. True when
// the browser was started; otherwise, unless quiet, says that no browser was
// found. The opener defaults to the platform's default browser.
bool OpenWebAddress(QWidget* owner, const QString& address, bool quiet, UserInterface& ui);
bool OpenWebAddress(QWidget* owner, const QString& address, bool quiet, UserInterface& ui, WebOpener& opener);

} // namespace vi
