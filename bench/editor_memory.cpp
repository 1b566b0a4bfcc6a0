// The editor's resident memory after loading the full tree (32,766 items),
// flat and bushy, against its memory after start-up. The editor runs on the
// offscreen platform; each tree is loaded in a process of its own, which
// reads its own statistics from /proc/self/status.
//
//     editor_memory            writes the trees and measures each
//     editor_memory FILE       measures one file
#include "app/StartUp.h"
#include "bench/BenchTrees.h"
#include "document/AppInfo.h"
#include "script/ExportTree.h"
#include "script/TreeLoader.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <cstdio>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

using namespace vi;
using namespace vi::bench;

namespace {

// A figure of /proc/self/status in kB: VmRSS now, VmHWM the peak.
long StatusKb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').front().toLong();
    }
    return 0;
}

int MeasureOne(int argc, char* argv[], const QString& file)
{
    QApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vuvov.*=false")); // only the figures on the output
    StartUp startUp;
    startUp.Run();
    QApplication::processEvents();
    const long started = StatusKb("VmRSS:");
    SilentUserInterface ui(UserInterface::Answer::Yes);
    const LoadResult r = LoadTreeScript(startUp.Document(), file, ui);
    QApplication::processEvents(); // the tree view lays out and paints the loaded tree
    const long loaded = StatusKb("VmRSS:");
    const long peak = StatusKb("VmHWM:");
    std::printf("%-8s %10lld %6d %9.1f MB %9.1f MB %+9.1f MB %9.1f MB\n", qPrintable(QFileInfo(file).dir().dirName()),
                QFileInfo(file).size(), r.ItemsAdded, started / 1024.0, loaded / 1024.0, (loaded - started) / 1024.0,
                peak / 1024.0);
    return r.ItemsAdded == kMaxItems ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 2)
        return MeasureOne(argc, argv, QFile::decodeName(argv[1]));

    QTemporaryDir work;
    {
        QCoreApplication app(argc, argv);
        const QString program = ProgramFolder();
        QTemporaryDir noData; // the trees are written without TreeData: only custom.js is wanted
        SetProgramFolder(noData.path());
        for (const auto& [name, shape] : {std::pair{"flat", Flat}, std::pair{"bushy", Bushy}}) {
            TreeDocument d;
            BuildTree(d, shape);
            const QString folder = work.filePath(QLatin1String(name));
            QDir().mkpath(folder);
            SilentUserInterface ui;
            ExportTree(d, folder, false, ui);
        }
        SetProgramFolder(program);
    }
    std::printf("%-8s %10s %6s %12s %12s %12s %12s\n", "tree", "bytes", "items", "started", "loaded", "growth", "peak");
    int status = 0;
    for (const char* name : {"flat", "bushy"}) {
        std::fflush(stdout);
        const QByteArray file = QFile::encodeName(work.filePath(QLatin1String(name) + QStringLiteral("/custom.js")));
        char* const args[] = {argv[0], const_cast<char*>(file.constData()), nullptr};
        pid_t pid = 0;
        int child = 1;
        if (posix_spawn(&pid, argv[0], nullptr, nullptr, args, environ) != 0 || waitpid(pid, &child, 0) != pid
            || !WIFEXITED(child) || WEXITSTATUS(child) != 0)
            status = 1;
    }
    std::printf("growth: resident memory after the load less after start-up (goal at most +40 MB).\n");
    return status;
}
