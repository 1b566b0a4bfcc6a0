#pragma once
// A scripted user interface for tests: records every message and question,
// answers from queues, and lets a test play the user in the dialogs.
#include "document/ItemRecord.h"
#include "document/TreeSettings.h"
#include "script/UserInterface.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

namespace vi::test {

class FakeUserInterface : public UserInterface {
public:
    struct Shown {
        QString Text;
        Icon Kind;
    };

    std::vector<Shown> Messages;
    QStringList Questions;
    std::vector<Buttons> QuestionButtons;
    std::deque<Answer> Answers;                                       // next answers to Ask; Cancel when empty
    std::function<bool(ItemRecord&, const TreeSettings&)> OnEditItem; // nullptr: cancel
    std::function<bool(TreeSettings&)> OnEditSettings;                // nullptr: cancel
    std::deque<std::optional<QString>> Folders;                       // next folder choices; cancel when empty
    QStringList ChooserOpenedOn;                                      // the folder each chooser opened on
    std::deque<std::optional<QString>> Files;                         // next file choices; cancel when empty
    QStringList FileDialog; // title, filter and starting folder of the last file dialog
    int PendingEventRuns = 0;

    void ShowMessage(const QString& text, Icon icon) override { Messages.push_back({text, icon}); }

    Answer Ask(const QString& text, Buttons buttons) override
    {
        Questions << text;
        QuestionButtons.push_back(buttons);
        return Next(Answers, Answer::Cancel);
    }

    bool EditItemRecord(ItemRecord& r, const TreeSettings& s) override { return OnEditItem && OnEditItem(r, s); }
    bool EditTreeSettings(TreeSettings& settings) override { return OnEditSettings && OnEditSettings(settings); }

    std::optional<QString> ChooseExportFolder(const QString& initialFolder) override
    {
        ChooserOpenedOn << initialFolder;
        return Next(Folders);
    }

    std::optional<QString> ChooseFileToLoad(const QString& title, const QString& filter, const QString& folder) override
    {
        FileDialog = {title, filter, folder};
        return Next(Files);
    }

    void ProcessPendingEvents() override { ++PendingEventRuns; }

    QByteArray ClipboardItems;
    QString ClipboardText;
    void PutItemsOnClipboard(const QByteArray& items, const QString& text) override
    {
        ClipboardItems = items;
        ClipboardText = text;
    }
    QByteArray ItemsOnClipboard() override { return ClipboardItems; }

    QStringList MessageTexts() const
    {
        QStringList texts;
        for (const Shown& m : Messages)
            texts << m.Text;
        return texts;
    }

private:
    template <class T> static T Next(std::deque<T>& queue, T otherwise = {})
    {
        if (queue.empty())
            return otherwise;
        const T value = queue.front();
        queue.pop_front();
        return value;
    }
};

} // namespace vi::test
