#include "app/QtUserInterface.h"

#include "app/FolderDialog.h"
#include "app/PropertyDialogs.h"
#include "app/RecentFolder.h"
#include "commands/ClipboardCommands.h"
#include "document/AppInfo.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QStringList>

namespace vi {

QString QtUserInterface::ToDisplayText(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

QString QtUserInterface::ToQtFilter(const QString& filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        entries << (description.contains(QLatin1Char('('))
                        ? description
                        : description + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')'));
    }
    return entries.join(QStringLiteral(";;"));
}

void QtUserInterface::ShowMessage(const QString& text, Icon icon)
{
    QMessageBox box(icon == Icon::Exclamation ? QMessageBox::Warning : QMessageBox::Information, ProductName(),
                    ToDisplayText(text), QMessageBox::Ok, parent_);
    box.exec();
}

UserInterface::Answer QtUserInterface::Ask(const QString& text, Buttons buttons)
{
    const bool withCancel = buttons == Buttons::YesNoCancel;
    QMessageBox box(QMessageBox::Question, ProductName(), ToDisplayText(text),
                    withCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                               : QMessageBox::Yes | QMessageBox::No,
                    parent_);
    box.setDefaultButton(buttons == Buttons::YesNoDefaultNo ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return withCancel ? Answer::Cancel : Answer::No;
    }
}

bool QtUserInterface::EditItemRecord(ItemRecord& record, const TreeSettings& settings)
{
    return RunItemPropDialog(parent_, record, settings);
}

bool QtUserInterface::EditTreeSettings(TreeSettings& settings) { return RunTreePropDialog(parent_, settings); }

std::optional<QString> QtUserInterface::ChooseExportFolder(const QString& initialFolder)
{
    std::optional<QString> folder = RunFolderChooser(parent_, initialFolder);
    if (folder)
        RememberFolder(*folder);
    return folder;
}

std::optional<QString> QtUserInterface::ChooseFileToLoad(const QString& title, const QString& filter,
                                                         const QString& initialFolder)
{
    const QString path = QFileDialog::getOpenFileName(
        parent_, title, initialFolder.isEmpty() ? LastUsedFolder() : initialFolder, ToQtFilter(filter));
    if (path.isEmpty())
        return std::nullopt;
    RememberFolder(QFileInfo(path).absolutePath());
    return QDir::toNativeSeparators(path);
}

void QtUserInterface::ProcessPendingEvents() { QApplication::processEvents(); }

void QtUserInterface::PutItemsOnClipboard(const QByteArray& items, const QString& text)
{
    auto* data = new QMimeData;
    data->setData(kItemsMimeType, items);
    data->setText(text);
    QGuiApplication::clipboard()->setMimeData(data);
}

QByteArray QtUserInterface::ItemsOnClipboard()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data ? data->data(kItemsMimeType) : QByteArray();
}

} // namespace vi
