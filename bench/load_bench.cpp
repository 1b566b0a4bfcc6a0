// Loading a full tree (32,766 items) in three shapes, next to a baseline that
// reads the same file and splits it into lines, in the same run.
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "document/UserInterface.h"
#include "script/ExportTree.h"
#include "script/TreeLoader.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <map>

using namespace vi;

namespace {

enum Shape { Flat, Deep, Bushy };

class SilentUserInterface : public UserInterface {
public:
    void ShowMessage(const QString&, Icon) override {}
    Answer Ask(const QString&, Buttons) override { return Answer::Yes; }
    bool EditItemRecord(ItemRecord&, const TreeSettings&) override { return false; }
    bool EditTreeSettings(TreeSettings&) override { return false; }
    std::optional<QString> ChooseExportFolder() override { return std::nullopt; }
    std::optional<QString> ChooseFileToLoad(const QString&, const QString&, const QString&) override
    {
        return std::nullopt;
    }
};

void Fill(TreeDocument& d, TreeNode* parent, int i)
{
    const int k = *d.AddItemRecord();
    const QString n = QString::number(i);
    d.AddNode(parent, QStringLiteral("Item ") + n, k);
    d.InitItemRecord(k);
    ItemRecord& r = d.Record(k);
    r.ItemType = i % 3 ? kLeaf : kBranch;
    r.FriendlyName = QStringLiteral("Item ") + n;
    r.ItemText = QStringLiteral("Product <b>") + n + QStringLiteral("</b> overview");
    r.LinkHref = QStringLiteral("https://www.example.com/catalogue/products/item") + n + QStringLiteral(".html");
    r.LinkTarget = QStringLiteral("main");
    r.LinkDescription = QStringLiteral("Details, prices and delivery times of product ") + n;
    r.UseGlobalFont = i % 2;
    r.FontSize = QStringLiteral("3");
    r.FontColor = QStringLiteral("Navy");
}

// The export benchmark's shapes. Flat: every item under the root. Deep: chains
// 256 levels deep. Bushy: eight children per item, filled level by level.
// Each is exported once; the path of its custom.js is returned.
QString ExportedFile(Shape shape)
{
    static QTemporaryDir folder;
    static std::map<Shape, QString> files;
    QString& file = files[shape];
    if (!file.isEmpty())
        return file;
    SetProgramFolder(folder.path()); // no TreeData: the export skips the page and keeps custom.js
    TreeDocument d;
    d.BeginBulkChange();
    for (int i = 0; i < kMaxItems; ++i) {
        TreeNode* parent = d.Root();
        if (shape == Deep && i % 256 != 0)
            parent = d.Node(d.NodeCount());
        else if (shape == Bushy && i >= 8)
            parent = d.Node(2 + (i - 8) / 8);
        Fill(d, parent, i);
    }
    d.EndBulkChange();
    const QString out = folder.filePath(QString::number(shape));
    QDir().mkpath(out);
    SilentUserInterface ui;
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
    SilentUserInterface ui;
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
BENCHMARK(BM_ReadLines)->ArgName("shape")->DenseRange(Flat, Bushy)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
