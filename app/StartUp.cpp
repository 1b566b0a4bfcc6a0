#include "app/StartUp.h"

#include "app/MainWindow.h"
#include "commands/DocumentPlace.h"
#include "commands/TreeCommands.h"
#include "document/AppInfo.h"
#include "preview/WindowPlacement.h"

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QLoggingCategory>
#include <QScreen>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

// The resources live in a static library, so they are registered by hand.
static void InitAppResources() { Q_INIT_RESOURCE(App); }

namespace vi {

Q_LOGGING_CATEGORY(lcStartUp, "vuvov.startup")

StartUp::StartUp() = default;
StartUp::~StartUp() = default;

void StartUp::HideDataFolder(const QString& path)
{
#ifdef Q_OS_WIN
    SetFileAttributesW(reinterpret_cast<LPCWSTR>(path.utf16()), FILE_ATTRIBUTE_HIDDEN);
#else
    Q_UNUSED(path); // dot-names hide folders here; the data folder keeps its name
#endif
}

QIcon StartUp::ApplicationIcon()
{
    InitAppResources();
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/app/vuvov-ivoza-%1.png").arg(size), QSize(size, size));
    return icon;
}

void StartUp::Run(const QString& file)
{
    QApplication::setWindowIcon(ApplicationIcon());
    // Silent unless asked for (QT_LOGGING_RULES="vuvov.startup.debug=true"): where the program looks.
    qCDebug(lcStartUp).noquote() << "data folder:" << DataFolder() << "preview folder:" << TmpTreePath();
    HideDataFolder(DataFolder());
    window_ = std::make_unique<MainWindow>(document_, ui_);
    ui_.SetParentWidget(window_.get());
    document_.NewTree();
    if (!window_->RestoreWindowPlacement()) {
        window_->adjustSize();
        CentreOnScreen(window_.get());
    }
    window_->show();
    if (!file.isEmpty())
        LoadTreeFileCommand(document_, QDir::toNativeSeparators(file), ui_, &window_->Place());
}

} // namespace vi
