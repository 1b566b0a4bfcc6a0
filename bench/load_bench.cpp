// Loading a full tree (32,766 items) in three shapes, next to a baseline that
// reads the same file and splits it into lines, in the same run.
#include "bench/BenchTrees.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/TreeLoader.h"
#include "script/UserInterface.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>

using namespace vi;
using namespace vi::bench;

namespace {

// Each shape's tree is exported once; the path of its custom.js is returned.
QString ExportedFile(Shape shape)
{
    static QTemporaryDir folder;
    static std::map<Shape, QString> files;
    QString& file = files[shape];
    if (!file.isEmpty())
        return file;
    SetProgramFolder(folder.path()); // no TreeData: the export skips the page and keeps custom.js
    TreeDocument d;
    BuildTree(d, shape);
    const QString out = folder.filePath(QString::number(shape));
    QDir().mkpath(out);
    SilentUserInterface ui(UserInterface::Answer::Yes);
    ExportTree(d, out, false, ui);
    file = out + QStringLiteral("/custom.js");
    return file;
}

// clear 0: each load replaces the previous one's 32,766 items, as a reload in
// the editor does, and pays for freeing them; clear 1: the old tree is freed
// outside the timing, which leaves the loader's own work.
void BM_Load(benchmark::State& state)
{
    const QString file = ExportedFile(static_cast<Shape>(state.range(0)));
    SilentUserInterface ui(UserInterface::Answer::Yes);
    TreeDocument d;
    for (auto _ : state) {
        if (state.range(1)) {
            state.PauseTiming();
            d.NewTree();
            state.ResumeTiming();
        }
        const LoadResult r = LoadTreeScript(d, file, ui);
        if (r.ItemsAdded != kMaxItems)
            state.SkipWithError("the file did not load whole");
    }
    state.SetBytesProcessed(state.iterations() * QFile(file).size());
}

// The share of a reload that frees the previous tree: NewTree on a full document.
void BM_NewTree(benchmark::State& state)
{
    const QString file = ExportedFile(static_cast<Shape>(state.range(0)));
    SilentUserInterface ui(UserInterface::Answer::Yes);
    TreeDocument d;
    for (auto _ : state) {
        state.PauseTiming();
        LoadTreeScript(d, file, ui);
        state.ResumeTiming();
        d.NewTree();
    }
}

void BM_ReadLines(benchmark::State& state)
{
    const QString file = ExportedFile(static_cast<Shape>(state.range(0)));
    for (auto _ : state) {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot read");
        const QStringList lines = QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"));
        if (lines.size() < kMaxItems)
            state.SkipWithError("short file");
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * QFile(file).size());
}

} // namespace

BENCHMARK(BM_Load)
    ->ArgNames({"shape", "clear"})
    ->ArgsProduct({{Flat, Deep, Bushy}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_NewTree)->ArgName("shape")->DenseRange(Flat, Bushy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadLines)->ArgName("shape")->DenseRange(Flat, Bushy)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
