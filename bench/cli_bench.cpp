// The command-line tool end to end: loading and exporting (and dumping) the
// full tree (32,766 items) flat and bushy, net of the start-up measured on a
// one-item tree, next to a plain copy of the same bytes in the same run; and
// the peak resident memory of export and dump against the file's size.
//
//     cli_bench [--cli PATH] [--runs N] [--big]
//
// --big adds dump and export of a deeply nested tree of about 200 MB.
#include "bench/BenchTrees.h"
#include "document/AppInfo.h"
#include "script/ExportTree.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace vi;
using namespace vi::bench;

namespace {

struct Run {
    double Seconds = 0;
    long PeakKb = 0; // the child's peak resident memory
    bool Ok = false;
};

// Runs a program with its output thrown away; wall time and peak memory.
Run Spawn(const QStringList& command)
{
    std::vector<QByteArray> args;
    for (const QString& a : command)
        args.push_back(QFile::encodeName(a));
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    Run run;
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &files, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) == pid) {
            run.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            run.PeakKb = usage.ru_maxrss;
            run.Ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
    }
    posix_spawn_file_actions_destroy(&files);
    return run;
}

// The best time and the highest peak of several runs: the machine is shared.
Run Best(const QStringList& command, int runs)
{
    Run best{1e9, 0, true};
    for (int i = 0; i < runs; ++i) {
        const Run r = Spawn(command);
        best.Seconds = std::min(best.Seconds, r.Seconds);
        best.PeakKb = std::max(best.PeakKb, r.PeakKb);
        best.Ok = best.Ok && r.Ok;
    }
    return best;
}

QString WriteTree(const QDir& out, const char* name, Shape shape, int chainDepth, int items)
{
    TreeDocument d;
    if (items == 1)
        FillItem(d, d.Root(), 1);
    else
        BuildTree(d, shape, chainDepth);
    const QString folder = out.filePath(QLatin1String(name));
    QDir().mkpath(folder);
    SilentUserInterface ui;
    ExportTree(d, folder, false, ui);
    return folder + QStringLiteral("/custom.js");
}

// Runs the measurements. This runs in a process of its own, started by exec
// after the trees are written: a spawned child's peak memory counts its
// parent's peak as well, so the parent must stay small.
int Measure(const std::string& dirName, const std::string& cliPath, int runs, bool big)
{
    const QDir dir(QString::fromStdString(dirName));
    const QString cli = QString::fromStdString(cliPath);
    struct Tree {
        const char* Name;
        const char* Folder;
        bool Timed; // the big tree is only measured for memory
    };
    std::vector<Tree> trees = {{"one", "one", true}, {"flat", "flat", true}, {"bushy", "bushy", true}};
    if (big)
        trees.push_back({"deep 200 MB", "big", false});

    std::printf("%-12s %10s %8s %9s %8s %7s %13s %13s\n", "tree", "bytes", "copy ms", "export ms", "net ms", "ratio",
                "export peak", "dump peak");
    Run startExport, startDump;
    bool ok = true;
    for (const Tree& t : trees) {
        const QString file = dir.filePath(QLatin1String(t.Folder) + QStringLiteral("/custom.js"));
        const QString out = dir.filePath(QLatin1String(t.Folder) + QStringLiteral("-out"));
        struct stat info {};
        stat(QFile::encodeName(file).constData(), &info);
        const double size = double(info.st_size);
        const int n = t.Timed ? runs : 1;
        const Run copy = Best({QStringLiteral("/bin/cp"), QStringLiteral("--reflink=never"), file,
                               dir.filePath(QStringLiteral("copy.js"))},
                              n);
        // The export syncs custom.js to disk before it replaces the old one;
        // a copy that does the same shows what that costs on this disk.
        const Run syncedCopy =
            Best({QStringLiteral("/bin/dd"), QStringLiteral("if=") + file,
                  QStringLiteral("of=") + dir.filePath(QStringLiteral("copy.js")), QStringLiteral("bs=1M"),
                  QStringLiteral("conv=fsync"), QStringLiteral("status=none")},
                 n);
        const Run exported = Best({cli, QStringLiteral("export"), file, out}, n);
        const Run dumped = Best({cli, QStringLiteral("dump"), file}, n);
        ok = ok && copy.Ok && syncedCopy.Ok && exported.Ok && dumped.Ok;
        if (&t == &trees.front()) {
            startExport = exported;
            startDump = dumped;
            std::printf("%-12s %10.0f %8.1f %9.1f %8s %7s %8.1f MB %9.1f MB   (start-up)\n", t.Name, size,
                        copy.Seconds * 1e3, exported.Seconds * 1e3, "", "", exported.PeakKb / 1024.0,
                        dumped.PeakKb / 1024.0);
            continue;
        }
        const double net = exported.Seconds - startExport.Seconds;
        auto peak = [&](long kb) { return std::make_pair(kb / 1024.0, kb * 1024.0 / size); };
        const auto [exportMb, exportX] = peak(exported.PeakKb);
        const auto [dumpMb, dumpX] = peak(dumped.PeakKb);
        std::printf("%-12s %10.0f %8.1f %9.1f %8.1f %6.1fx %6.1f MB %4.1fx %6.1f MB %4.1fx\n", t.Name, size,
                    copy.Seconds * 1e3, exported.Seconds * 1e3, net * 1e3, net / copy.Seconds, exportMb, exportX,
                    dumpMb, dumpX);
        std::printf("%-12s %10s %8.1f %9s %8s %6.1fx   (against a copy synced to disk, as the export is)\n", "", "",
                    syncedCopy.Seconds * 1e3, "", "", net / syncedCopy.Seconds);
        const auto [exportNetMb, exportNetX] = peak(exported.PeakKb - startExport.PeakKb);
        const auto [dumpNetMb, dumpNetX] = peak(dumped.PeakKb - startDump.PeakKb);
        std::printf("%-12s %10s %8s %9s %8s %7s %6.1f MB %4.1fx %6.1f MB %4.1fx   (net of start-up)\n", "", "", "", "",
                    "", "", exportNetMb, exportNetX, dumpNetMb, dumpNetX);
    }
    std::printf("ratio: net load and export time / time of a plain copy, and of a copy synced to disk (goal at\n"
                "most 4x the synced copy). Peaks in MB and times the file's size, total and net of start-up\n"
                "(goal at most 3x for the full trees, 4x for the dump of the 200 MB tree).\n");
    QDir(dir).removeRecursively();
    if (!ok)
        std::fprintf(stderr, "cli_bench: a run failed\n");
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string cli;
    int runs = 7;
    bool big = false;
    std::string measure;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--cli" && i + 1 < args.size())
            cli = args[++i];
        else if (args[i] == "--runs" && i + 1 < args.size())
            runs = std::max(1, std::atoi(args[++i].c_str()));
        else if (args[i] == "--big")
            big = true;
        else if (args[i] == "--measure" && i + 1 < args.size())
            measure = args[++i];
    }
    if (!measure.empty())
        return Measure(measure, cli, runs, big);

    QCoreApplication app(argc, argv);
    if (cli.empty())
        cli = QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/vuvov-ivoza-cli"))
                  .toStdString();
    if (access(cli.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "cli_bench: no command-line tool at %s (use --cli PATH)\n", cli.c_str());
        return 64;
    }
    QTemporaryDir work;
    work.setAutoRemove(false); // the measuring process removes it
    QTemporaryDir noData;      // the trees are written without TreeData: only custom.js is wanted
    SetProgramFolder(noData.path());
    const QDir dir(work.path());
    WriteTree(dir, "one", Flat, 0, 1);
    WriteTree(dir, "flat", Flat, 256, kMaxItems);
    WriteTree(dir, "bushy", Bushy, 256, kMaxItems);
    if (big) // chains 1,060 deep: just over 200 MB of statements
        WriteTree(dir, "big", Deep, 1060, kMaxItems);

    const std::string self = QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
    const std::string folder = QFile::encodeName(work.path()).toStdString();
    const std::string runText = std::to_string(runs);
    std::vector<const char*> next = {self.c_str(), "--measure", folder.c_str(), "--cli",
                                     cli.c_str(),  "--runs",    runText.c_str()};
    if (big)
        next.push_back("--big");
    next.push_back(nullptr);
    std::fflush(stdout);
    noData.remove(); // exec runs no destructor
    execv(self.c_str(), const_cast<char* const*>(next.data()));
    std::perror("cli_bench: exec");
    return 1;
}
