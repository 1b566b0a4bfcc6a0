#include "preview/WebAddress.h"

#include "script/UserInterface.h"

#include <QDesktopServices>
#include <QUrl>

namespace vi {

namespace {
class DesktopWebOpener final : public WebOpener {
public:
    bool Open(const QUrl& address) override { return QDesktopServices::openUrl(address); }
};
} // namespace

WebOpener& DefaultWebOpener()
{
    static DesktopWebOpener opener;
    return opener;
}

bool OpenWebAddress(QWidget* owner, const QString& address, bool quiet, UserInterface& ui)
{
    return OpenWebAddress(owner, address, quiet, ui, DefaultWebOpener());
}

bool OpenWebAddress(QWidget* /*owner*/, const QString& address, bool quiet, UserInterface& ui, WebOpener& opener)
{
    // The desktop services pick the browser and its window themselves; the owner
    // only matters where a platform asks for the window a launch is made from.
    const QUrl url = QUrl::fromUserInput(address.trimmed());
    if (url.isValid() && opener.Open(url))
        return true;
    if (!quiet)
        ui.ShowMessage(kNoBrowserMessage, UserInterface::Icon::Exclamation);
    return false;
}

} // namespace vi
