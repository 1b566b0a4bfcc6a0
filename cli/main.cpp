// vuvov-ivoza-cli: loads a custom.js and exports it again, or prints the
// loaded document as JSON. For site build scripts and for our own tests.
#include "cli/ConsoleUserInterface.h"
#include "cli/DocumentJson.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/TreeLoader.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <optional>

using namespace vi;

namespace {

enum ExitStatus { kSuccess = 0, kStepFailed = 1, kNotLoaded = 2, kUsage = 64 };

const char* const kUsageText = "Usage: vuvov-ivoza-cli export FILE FOLDER [--static]\n"
                               "       vuvov-ivoza-cli dump FILE\n"
                               "       vuvov-ivoza-cli --help\n"
                               "       vuvov-ivoza-cli --version\n"
                               "\n"
                               "  export  Load FILE, a custom.js written by the editor, and export the tree into\n"
                               "          FOLDER (custom.js, tree.html, sitemap.html and treePics), as the editor's\n"
                               "          Export Tree does. --static turns the page's browser switch on.\n"
                               "  dump    Load FILE and print the document as JSON on stdout.\n"
                               "\n"
                               "Messages go to stderr, one line each. A file of another version loads with a\n"
                               "warning.\n"
                               "\n"
                               "Exit status: 0 success, 1 the export had a failed step, the tree has no\n"
                               "items (nothing is written) or item lines were left out (past the limit, or\n"
                               "with no parent before them), 2 FILE could not be loaded (nothing is\n"
                               "written), 64 bad usage.\n";

int Usage(const QString& problem)
{
    ConsoleUserInterface::PrintLine(stderr, QStringLiteral("vuvov-ivoza-cli: ") + problem);
    std::fputs(kUsageText, stderr);
    return kUsage;
}

// The loaded tree, kept until the process ends: the operating system takes
// the memory of a large tree back at once, while freeing it item by item is
// a noticeable share of a short run. Builds with a sanitizer free it, so that
// their leak check still sees every other allocation.
#if defined(__SANITIZE_ADDRESS__)
#define VI_FREE_AT_EXIT 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define VI_FREE_AT_EXIT 1
#endif
#endif
class RunDocument {
public:
    RunDocument() : document_(new TreeDocument) {}
    ~RunDocument()
    {
#ifdef VI_FREE_AT_EXIT
        delete document_;
#endif
    }
    RunDocument(const RunDocument&) = delete;
    RunDocument& operator=(const RunDocument&) = delete;
    TreeDocument& operator*() { return *document_; }

private:
    TreeDocument* document_;
};

QString FullPath(const QString& path) { return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()); }

// Loads the file; nothing when it did not load (the reason is on stderr).
std::optional<LoadResult> Load(TreeDocument& document, const QString& file, ConsoleUserInterface& ui)
{
    const LoadResult r = LoadTreeScript(document, FullPath(file), ui, LoadSource::AnyFile);
    if (!r.Replaced())
        return std::nullopt;
    return r;
}

int Export(const QString& file, const QString& folder, bool browserSwitch)
{
    RunDocument run;
    TreeDocument& document = *run;
    ConsoleUserInterface ui;
    const std::optional<LoadResult> loaded = Load(document, file, ui);
    if (!loaded)
        return kNotLoaded;
    // An empty menu written over a folder's custom.js would lose the menu it holds.
    if (document.NodeCount() < 2) {
        ConsoleUserInterface::PrintLine(stderr, QStringLiteral("failed: the tree has no items"));
        return kStepFailed;
    }
    const QString target = FullPath(folder);
    QDir().mkpath(target); // a build script names a fresh folder; if this fails, the export says why
    const ExportResult result = ExportTree(document, target, browserSwitch, ui);
    for (const QString& failure : result.Failures)
        ConsoleUserInterface::PrintLine(stderr, QStringLiteral("failed: ") + failure);
    return result.Complete() && loaded->Outcome == LoadOutcome::Loaded ? kSuccess : kStepFailed;
}

int Dump(const QString& file)
{
    RunDocument run;
    TreeDocument& document = *run;
    ConsoleUserInterface ui;
    const std::optional<LoadResult> loaded = Load(document, file, ui);
    if (!loaded)
        return kNotLoaded;
    const bool written = WriteDocumentJson(document, [](const QByteArray& block) {
        return std::fwrite(block.constData(), 1, static_cast<std::size_t>(block.size()), stdout)
               == static_cast<std::size_t>(block.size());
    });
    return std::fflush(stdout) == 0 && written && loaded->Outcome == LoadOutcome::Loaded ? kSuccess : kStepFailed;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv); // the program folder is the executable's folder
    QCoreApplication::setApplicationVersion(AppVersion());
    // An argument whose bytes are no valid text in the system's encoding comes
    // out of QCoreApplication::arguments() changed: a FOLDER would then name
    // another folder, and the export would land there as a success.
    for (int i = 1; i < argc; ++i) {
        if (QFile::encodeName(QFile::decodeName(argv[i])) != QByteArrayView(argv[i]))
            return Usage(QStringLiteral("a name that is no valid text: ") + QFile::decodeName(argv[i]));
    }

    QCommandLineParser parser;
    const QCommandLineOption help = parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption staticOption(QStringLiteral("static"));
    parser.addOption(staticOption);
    if (!parser.parse(app.arguments()))
        return Usage(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(kUsageText, stdout);
        return kSuccess;
    }
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return Usage(QStringLiteral("no command given"));

    const QString command = args.takeFirst();
    if (command == QStringLiteral("export")) {
        const bool browserSwitch = parser.isSet(staticOption);
        // An empty FOLDER would name the file-system root once joined to file names.
        if (args.size() != 2 || args[0].startsWith(QLatin1Char('-')) || args[1].startsWith(QLatin1Char('-'))
            || args[0].trimmed().isEmpty() || args[1].trimmed().isEmpty())
            return Usage(QStringLiteral("export needs FILE and FOLDER"));
        return Export(args[0], args[1], browserSwitch);
    }
    if (command == QStringLiteral("dump")) {
        if (args.size() != 1 || args[0].startsWith(QLatin1Char('-')) || parser.isSet(staticOption))
            return Usage(QStringLiteral("dump needs FILE"));
        return Dump(args[0]);
    }
    return Usage(QStringLiteral("unknown command: ") + command);
}
