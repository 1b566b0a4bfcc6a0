#pragma once
// Takes the lines of a custom.js apart: header settings, the root statement
// and item lines with their parent rows. Knows nothing of the document the
// items go into, nor of the user.
#include "document/ItemRecord.h"
#include "document/TreeSettings.h"

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace vi {

// One item line as read.
struct ParsedItem {
    ItemRecord Record;            // kind, label, the four flags and the ten arguments
    std::optional<int> ParentRow; // as written; nothing when missing or no 16-bit number
    bool Marked = false;          // the line has the "//[+]" marker, so it is an item of ours
};

class ScriptParser {
public:
    enum class LineKind {
        Skipped,       // a comment, the page's script or a line out of place
        Generator,     // "//# Generator = ": Value() holds the value
        Version,       // "//# Version = ": Value() holds the value
        Setting,       // a header line of one of the thirteen settings, or of an unknown key
        HeaderEnd,     // "//\\": the header has ended
        RootStatement, // "var menu...": RootStatement() holds it
        Item,          // "menuBase...": Item() holds it
    };

    // scriptFolder is the folder of the file, whose treePics the picture
    // names of the file are taken to lie in.
    explicit ScriptParser(QString scriptFolder);

    // Reads the next line: without its line end, lone LFs and blanks at both ends.
    LineKind Read(QStringView line);

    // The settings the header has set so far; the defaults for the others.
    const TreeSettings& Settings() const { return settings_; }
    // The value of the last Generator or Version line, trimmed.
    const QString& Value() const { return value_; }
    // The root statement of the last "var menu" line in the form the builder
    // writes; empty when there was none or it had another form.
    const QString& RootStatement() const { return rootStatement_; }
    // The item of the last Item line; the caller may move its record away.
    ParsedItem& Item() { return item_; }

private:
    // The last few distinct values read for one field, so that a repeated
    // value shares the text made for it before.
    class RecentValues {
    public:
        const QString& Shared(QStringView value);

    private:
        std::array<QString, 4> values_;
        std::size_t next_ = 0;
    };

    static constexpr std::size_t kArguments = 10;

    LineKind ReadHeaderLine(QStringView line);
    LineKind ReadKey(QStringView key, QStringView rawValue);
    void ReadItem(QStringView line);
    void ReadArguments(QStringView line, ItemRecord& r);
    void Argument(std::size_t i, QStringView raw, bool escaped);
    const QString& Picture(std::size_t i);
    QString PicturePath(QStringView path) const;

    const QString scriptFolder_;
    bool headerMode_ = true;
    TreeSettings settings_;
    QString value_;
    QString rootStatement_;
    ParsedItem item_;

    // Menus repeat bullets, fonts and targets from item to item, often
    // alternating between a few values: a value equal to one of the last few
    // of its argument shares that text instead of making another copy. Fewer
    // copies make both the load and freeing the tree cheaper.
    std::array<QString, kArguments> lastArgument_; // the previous item line's values
    std::array<QString, 4> pictureArgument_;       // the picture arguments last rebuilt ...
    std::array<QString, 4> picturePath_;           // ... and their paths
    std::array<RecentValues, kArguments> recentArguments_;
    RecentValues recentItemTypes_;
};

} // namespace vi
