#pragma once
#include "script/UserInterface.h"

#include <QPointer>
#include <QWidget>

namespace vi {

// The editor's user interface: Qt message boxes titled with the product name,
// the property dialogs, the folder chooser and the file-open dialog.
class QtUserInterface final : public UserInterface {
public:
    void SetParentWidget(QWidget* parent) { parent_ = parent; }

    void ShowMessage(const QString& text, Icon icon) override;
    Answer Ask(const QString& text, Buttons buttons) override;
    bool EditItemRecord(ItemRecord& record, const TreeSettings& settings) override;
    bool EditTreeSettings(TreeSettings& settings) override;
    std::optional<QString> ChooseExportFolder(const QString& initialFolder) override;
    std::optional<QString> ChooseFileToLoad(const QString& title, const QString& filter,
                                            const QString& initialFolder) override;
    void ProcessPendingEvents() override;
    void PutItemsOnClipboard(const QByteArray& items, const QString& text) override;
    QByteArray ItemsOnClipboard() override;

    // "Description (*.x)|*.x|..." pairs as a Qt file-dialog filter.
    static QString ToQtFilter(const QString& filter);
    // A single carriage return breaks message lines in the core.
    static QString ToDisplayText(const QString& text);

private:
    QPointer<QWidget> parent_;
};

} // namespace vi
