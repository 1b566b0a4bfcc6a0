#pragma once
#include "app/QtUserInterface.h"
#include "document/TreeDocument.h"

#include <QIcon>
#include <memory>

namespace vi {

class MainWindow;

// The program's start: hides the data folder, builds the first tree, shows
// the main window and opens the file named on the command line, if any. Owns
// the document and the user interface for the whole run.
class StartUp {
public:
    StartUp();
    ~StartUp();
    void Run(const QString& file = {});

    TreeDocument& Document() { return document_; }
    MainWindow* Window() const { return window_.get(); }

    // Marks the data folder hidden where the platform has such an attribute.
    static void HideDataFolder(const QString& path);
    // The application icon in the sizes the desktop asks for.
    static QIcon ApplicationIcon();

private:
    TreeDocument document_;
    QtUserInterface ui_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace vi
