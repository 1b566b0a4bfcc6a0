// Export of a full tree (32,766 items) in three shapes, next to a baseline
// that writes the same bytes with a plain buffered write in the same run; and
// the size count a paste makes first.
#include "bench/BenchTrees.h"
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "script/ExportTree.h"
#include "script/ItemStatement.h"
#include "script/ScriptFile.h"
#include "script/ScriptSize.h"
#include "script/UserInterface.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <unistd.h>

using namespace vi;
using namespace vi::bench;

namespace {

// Each shape's tree, built once.
TreeDocument& Tree(Shape shape)
{
    static std::map<Shape, std::unique_ptr<TreeDocument>> trees;
    auto& slot = trees[shape];
    if (slot)
        return *slot;
    slot = std::make_unique<TreeDocument>();
    TreeDocument& d = *slot;
    BuildTree(d, shape);
    return d;
}

struct Setup {
    QTemporaryDir program;
    QTemporaryDir out;
    Setup()
    {
        const QString lines = program.filePath(QStringLiteral("TreeData/TreeLines/Black"));
        QDir().mkpath(lines);
        auto write = [](const QString& path) {
            QFile f(path);
            if (f.open(QIODevice::WriteOnly))
                f.write(QByteArray(600, 'x'));
        };
        write(program.filePath(QStringLiteral("TreeData/tree.html")));
        write(program.filePath(QStringLiteral("TreeData/TreeLines/2x2.gif")));
        for (const char* name : {"top.gif", "mid.gif", "btm.gif", "hline.gif", "vline.gif", "plus.gif", "minus.gif"})
            write(lines + QLatin1Char('/') + QLatin1String(name));
        SetProgramFolder(program.path());
    }
};

Setup& Folders()
{
    static Setup setup;
    return setup;
}

void BM_Export(benchmark::State& state)
{
    const Shape shape = static_cast<Shape>(state.range(0));
    TreeDocument& d = Tree(shape);
    SilentUserInterface ui;
    const QString out = Folders().out.path();
    for (auto _ : state) {
        const ExportResult r = ExportTree(d, out, false, ui);
        if (!r.Complete())
            state.SkipWithError("export incomplete");
    }
    state.SetBytesProcessed(state.iterations() * QFile(out + QStringLiteral("/custom.js")).size());
}

// The share of the export that builds the statements, without any file.
void BM_Statements(benchmark::State& state)
{
    TreeDocument& d = Tree(static_cast<Shape>(state.range(0)));
    for (auto _ : state) {
        qsizetype size = 0;
        WalkItems(d, [&](TreeNode* node, const QString& path, int parentRow) {
            size += ItemStatementView(d.RecordOf(node), d.Settings(), path, parentRow).size();
            return true;
        });
        benchmark::DoNotOptimize(size);
    }
}

// What a paste or drop adds to its own work on a full tree: counting the
// size of the custom.js the tree would have, without building it.
void BM_SizeCount(benchmark::State& state)
{
    const TreeDocument& d = Tree(static_cast<Shape>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ScriptBytesWith(d, {}, nullptr, 0, kMaxScriptFileBytes));
}

void BM_Baseline(benchmark::State& state)
{
    const Shape shape = static_cast<Shape>(state.range(0));
    SilentUserInterface ui;
    const QString out = Folders().out.path();
    ExportTree(Tree(shape), out, false, ui);
    QFile exported(out + QStringLiteral("/custom.js"));
    exported.open(QIODevice::ReadOnly);
    const QByteArray bytes = exported.readAll();
    const QByteArray path = QFile::encodeName(out + QStringLiteral("/baseline.js"));
    for (auto _ : state) {
        if (state.range(1) == 2) {
            // The same durable replacement the export makes: temporary file, flush, rename.
            QSaveFile save(out + QStringLiteral("/baseline.js"));
            if (!save.open(QIODevice::WriteOnly) || save.write(bytes) != bytes.size() || !save.commit())
                state.SkipWithError("write failed");
            continue;
        }
        std::FILE* f = std::fopen(path.constData(), "wb");
        if (!f
            || std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), f)
                   != static_cast<std::size_t>(bytes.size()))
            state.SkipWithError("write failed");
        if (f && state.range(1)) {
            std::fflush(f);
            fdatasync(fileno(f));
        }
        if (f)
            std::fclose(f);
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(BM_Export)->ArgName("shape")->DenseRange(Flat, Bushy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Statements)->ArgName("shape")->DenseRange(Flat, Bushy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SizeCount)->ArgName("shape")->DenseRange(Flat, Bushy)->Unit(benchmark::kMillisecond);
// sync 1: the baseline also flushes the file to the disk; sync 2: it replaces
// the file through QSaveFile (temporary file, flush, rename), exactly as the
// export replaces custom.js, which measures the durable write on its own.
BENCHMARK(BM_Baseline)
    ->ArgNames({"shape", "sync"})
    ->ArgsProduct({{Flat, Deep, Bushy}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
