#include "app/StartUp.h"
#include "document/AppInfo.h"
#include "preview/PreviewProfile.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstring>
#include <memory>

namespace {

// --help and --version answer on the terminal, also where no display is
// available, so they get a console application instead of the windowed one.
bool AnswersOnTheTerminal(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "--help", "--help-all", "-?", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    vi::RegisterPreviewScheme();
    const std::unique_ptr<QCoreApplication> app = AnswersOnTheTerminal(argc, argv)
                                                      ? std::make_unique<QCoreApplication>(argc, argv)
                                                      : std::make_unique<QApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vuvov-ivoza"));
    QCoreApplication::setApplicationVersion(vi::AppVersion());
    QGuiApplication::setDesktopFileName(QStringLiteral("com.vevadev.VuvovIvoza"));

    // The user's language where a catalogue has it; the English texts otherwise.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTranslator);
    QTranslator translator;
    if (translator.load(QLocale(), QStringLiteral("vuvov-ivoza"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        QCoreApplication::installTranslator(&translator);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Editor for collapsible, hierarchical web navigation menus: opens FILE, a custom.js it exported."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The custom.js to open."),
                                 QStringLiteral("[FILE]"));
    parser.process(*app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        parser.showHelp(64);

    vi::StartUp startUp;
    startUp.Run(files.isEmpty() ? QString() : QFileInfo(files.first()).absoluteFilePath());
    return QCoreApplication::exec();
}
