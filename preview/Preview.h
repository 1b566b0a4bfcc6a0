#pragma once

namespace vi {

class TreeDocument;
class UserInterface;
class frmQuickView;

// Exports the document into the preview folder and shows it in the preview window.
void ViewTreeCommand(TreeDocument& document, UserInterface& ui);
// Destroys the preview window, if any (the main window's unload).
void ClosePreviewWindow();
// The preview window while it exists, else nullptr.
frmQuickView* PreviewWindow();

} // namespace vi
