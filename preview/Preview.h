#pragma once

class QWidget;

namespace vi {

class TreeDocument;
class UserInterface;

// Exports the document into the preview folder and shows it in the preview window.
void ViewTreeCommand(TreeDocument& document, UserInterface& ui);
// Destroys the preview window, if any (the main window's unload).
void ClosePreviewWindow();
// Shows the About box modally.
void ShowAboutBox(QWidget* parent, UserInterface& ui);

} // namespace vi
