// The find bar's search, one key at a time, over the full trees: each key
// finds every item anew and goes to the first.
#include "BenchTrees.h"
#include "forms/FindBarModel.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vi;

// What a user types, letter by letter: a word every item holds, a word of one
// item's text, a link part, an accented word no item holds.
const char* const kTyped[] = {"item 32765", "product 17000 overview", "catalogue/products/item9", "crème"};

void BM_FindKey(benchmark::State& state)
{
    TreeDocument document;
    bench::BuildTree(document, static_cast<bench::Shape>(state.range(0)));
    FindBarModel find(document);
    const QString typed = QString::fromUtf8(kTyped[state.range(1)]);
    qsizetype length = 0;
    for (auto _ : state) {
        length = length % typed.size() + 1;
        find.SetText(typed.left(length));
        benchmark::DoNotOptimize(find.Count());
    }
    state.SetLabel(typed.toStdString());
}
BENCHMARK(BM_FindKey)
    ->ArgsProduct({{bench::Flat, bench::Deep, bench::Bushy}, {0, 1, 2, 3}})
    ->Unit(benchmark::kMillisecond);

// The first key after the bar opens, when no item's fields are folded yet.
void BM_FindFirstKey(benchmark::State& state)
{
    TreeDocument document;
    bench::BuildTree(document, static_cast<bench::Shape>(state.range(0)));
    for (auto _ : state) {
        FindBarModel find(document);
        find.SetText(QStringLiteral("p"));
        benchmark::DoNotOptimize(find.Count());
        find.Close();
    }
}
BENCHMARK(BM_FindFirstKey)->Arg(bench::Flat)->Arg(bench::Deep)->Arg(bench::Bushy)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
