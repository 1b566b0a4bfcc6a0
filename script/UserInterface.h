#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

namespace vi {

struct ItemRecord;
struct TreeSettings;

// The one way the core talks to the user. The editor implements it with Qt
// widgets; tests implement it with a scripted fake. Message texts break lines
// with a single carriage return; the implementation shows them as line breaks.
// Every box is titled with the product name.
class UserInterface {
public:
    enum class Icon { Information, Question, Exclamation };
    // YesNoDefaultNo: for a question whose Yes replaces somebody's work, so
    // that Enter keeps it.
    enum class Buttons { YesNo, YesNoCancel, YesNoDefaultNo };
    enum class Answer { Yes, No, Cancel };

    virtual ~UserInterface() = default;

    // A notice or refusal with a single OK button.
    virtual void ShowMessage(const QString& text, Icon icon = Icon::Information) = 0;

    // A question with the question icon and Yes as the default button (No
    // for YesNoDefaultNo). Closing the box answers Cancel (YesNoCancel) or No.
    virtual Answer Ask(const QString& text, Buttons buttons) = 0;

    // The item properties dialog, modally: loads the record, shows the dialog
    // and, only when the user confirmed with OK, stores the dialog back into
    // the record. Returns true on OK.
    virtual bool EditItemRecord(ItemRecord& record, const TreeSettings& settings) = 0;

    // The tree properties dialog, modally; stores into the settings only on OK.
    virtual bool EditTreeSettings(TreeSettings& settings) = 0;

    // The program-wide export folder chooser, opening on initialFolder (the
    // document's folder) or, when that is empty, with no folder chosen; the
    // chosen folder on OK.
    virtual std::optional<QString> ChooseExportFolder(const QString& initialFolder) = 0;

    // The file-open dialog of the load command, opening on initialFolder or,
    // when that is empty, on the folder the user last used; the chosen file's
    // full path, or nothing when the user cancelled.
    virtual std::optional<QString> ChooseFileToLoad(const QString& title, const QString& filter,
                                                    const QString& initialFolder) = 0;

    // Lets pending window events run (the tree view shows a new node before a dialog opens).
    virtual void ProcessPendingEvents() {}

    // The clipboard: items in the editor's own format, offered together with
    // a plain text for other programs. Without a clipboard nothing is kept.
    virtual void PutItemsOnClipboard(const QByteArray& /*items*/, const QString& /*text*/) {}
    // The items on the clipboard in the editor's format; empty when there are none.
    virtual QByteArray ItemsOnClipboard() { return {}; }
};

} // namespace vi
