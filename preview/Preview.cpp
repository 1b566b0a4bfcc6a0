#include "preview/Preview.h"

// Placeholder until the preview lands.
namespace vi {
void ViewTreeCommand(TreeDocument&, UserInterface&) {}
void ClosePreviewWindow() {}
void ShowAboutBox(QWidget*, UserInterface&) {}
} // namespace vi
