#pragma once
// The user-interface port for the command line: messages go to stderr, one
// line each; a Yes/No question (the version warning of the loader) is
// answered Yes and reported as a warning; dialogs are cancelled.
#include "script/UserInterface.h"

#include <QString>
#include <cstdio>

namespace vi {

class ConsoleUserInterface : public UserInterface {
public:
    static void PrintLine(std::FILE* stream, const QString& text)
    {
        QString line = text;
        line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        const QByteArray bytes = line.toUtf8() + '\n';
        std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
        std::fflush(stream);
    }

    void ShowMessage(const QString& text, Icon) override { PrintLine(stderr, text); }

    Answer Ask(const QString& text, Buttons buttons) override
    {
        if (buttons == Buttons::YesNoDefaultNo) {
            PrintLine(stderr, text + QStringLiteral(" No."));
            return Answer::No;
        }
        if (buttons == Buttons::YesNo) {
            PrintLine(stderr, QStringLiteral("warning: ") + text + QStringLiteral(" Yes."));
            return Answer::Yes;
        }
        PrintLine(stderr, text + QStringLiteral(" Cancel."));
        return Answer::Cancel;
    }

    bool EditItemRecord(ItemRecord&, const TreeSettings&) override { return false; }
    bool EditTreeSettings(TreeSettings&) override { return false; }
    std::optional<QString> ChooseExportFolder(const QString&) override { return std::nullopt; }
    std::optional<QString> ChooseFileToLoad(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
};

} // namespace vi
