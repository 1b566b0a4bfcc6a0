#pragma once
// The checks on items that come in by the clipboard or a drop. Anything may
// put items on the clipboard, so they are read as strictly as a loaded file.
#include <QByteArray>
#include <QString>

namespace vi {

class TreeDocument;
class TreeNode;
struct Subtree;

// For items that would make custom.js larger than the loader reads.
QString TooLargeToPasteMessage();
// For pictures of pasted items that were left out.
QString PicturesLeftOutMessage(int count);

// Notes a payload this editor made for the clipboard or a drag; the last few
// are known again by IsOwnPayload, whoever hands them back.
void RememberOwnPayload(const QByteArray& payload);
bool IsOwnPayload(const QByteArray& payload);

// Checks the items as a loaded file's are. False when they are no tree a file
// could hold: a label that could not be stored (LabelProblem), an item
// neither branch nor leaf, or a leaf with items under it.
bool AcceptAsLoaded(Subtree& items);

// Items from another editor or any other program may name any file as a
// picture, and the export would publish it. They keep a picture only where a
// loaded file's pictures lie, in a treePics folder (IsTreePicsPicture), as
// another editor's loaded or exported menu has them; every other picture path
// is emptied. Returns how many were.
int KeepTreePicsPictures(Subtree& items);

// Whether the tree, with the items added under parent at row, could still
// be exported and loaded back: its custom.js within the loader's limit.
bool FitsTheFile(const TreeDocument& document, const Subtree& items, const TreeNode* parent, int row);

} // namespace vi
