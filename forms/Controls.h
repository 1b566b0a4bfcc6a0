#pragma once
// The state of the dialogs' controls as the presentation models keep it; the
// Qt views only mirror these values.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace vi {

// The two background colours of text boxes and lists: the window colour for
// an editable box or an enabled list, the button-face colour for a locked box
// or a disabled list.
enum class BackColour { Window, ButtonFace };

struct CheckBox {
    bool Value = false;
    bool Enabled = true;
    bool Visible = true;
};

struct TextBox {
    QString Text;
    bool Locked = false;
    BackColour BackColor = BackColour::Window;
};

// A drop-down list whose entries can only be picked; ListIndex -1 selects nothing.
struct ComboBox {
    QStringList Entries;
    int ListIndex = -1;
    bool Enabled = true;
    BackColour BackColor = BackColour::Window;

    // The selected entry, or the empty text when nothing is selected.
    QString Text() const { return ListIndex >= 0 && ListIndex < Entries.size() ? Entries[ListIndex] : QString(); }
};

// A modal dialog's result, its Tag: none before the user answered, Ok when
// the user confirmed and every check passed, Cancel for Cancel and the close box.
enum class DialogTag { None, Ok, Cancel };

// Opens the picture file dialog; the chosen file's full path, nothing on cancel.
using PictureChooser = std::function<std::optional<QString>()>;

// Removes leading and trailing blanks (only the space character, as the checks expect).
QString TrimSpaces(const QString& text);

} // namespace vi
