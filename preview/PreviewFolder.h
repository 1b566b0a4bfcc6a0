#pragma once
#include <QString>

class QUrl;

namespace vi {

class TreeDocument;
class UserInterface;

// The per-user stand-in for the data folder's TmpTree, in the user's cache
// folder, for a data folder the program cannot or may not write to.
QString FallbackPreviewPath();

// Makes the preview folder afresh, so that nothing of an earlier preview is
// left, and returns the folder to export into: primary when it could be made
// anew, else fallback (when that could be). When neither can, primary, so that
// the export reports the folder it could not write to.
QString PreparePreviewFolder(const QString& primary, const QString& fallback);

// Exports the document for the preview: the browser switch follows the "Static"
// option. The preview folder is scratch space, so the export leaves TreeChanged
// as it was: only an export to a folder of the user's own saves the work. Only
// a custom.js that could not be written is reported, without the folder's name.
void ExportPreview(TreeDocument& document, const QString& folder, bool staticSelected, UserInterface& ui);

// The folder the last preview was exported into; TmpTreePath until then.
QString PreviewFolder();
void SetPreviewFolder(const QString& folder);

// The preview is served from addresses of a scheme of its own, the page's
// folder standing at the root of the host.
inline constexpr char kPreviewScheme[] = "vi-preview";
inline constexpr char kPreviewHost[] = "tree";

// The file of the folder that a preview address names: a regular file inside
// the folder, also when links are followed; empty when the address names none.
QString PreviewFileOf(const QUrl& url, const QString& folder);

// Whether the preview may request the address: its own scheme (whose handler
// serves the preview folder alone), web addresses and the data a page makes
// itself; never a local file. Item texts hold HTML, and a hand-made file
// could otherwise read the user's files through the preview.
bool PreviewMayLoad(const QUrl& url);

// Removes the preview folder and its per-user stand-in (the main window's unload).
void RemovePreviewFolder();

} // namespace vi
