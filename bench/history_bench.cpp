// Undo and redo on a full tree: a branch of 1,000 children moves, by drag and
// drop into another branch and by Move Down past a sibling; and the heap the
// history of 1,000 steps keeps.
#include "bench/BenchTrees.h"
#include "commands/ClipboardCommands.h"
#include "commands/EditSteps.h"
#include "commands/ItemCommands.h"
#include "commands/LabelEdit.h"

#include <benchmark/benchmark.h>
#include <malloc.h>

namespace vi::bench {
namespace {

constexpr int kBranches = 32; // under the root; the first holds the 1,000 children that move
constexpr int kMovedChildren = 1000;

// 32,766 items: the moving branch with its children first, then 31 branches
// sharing the rest.
void BuildBranchTree(TreeDocument& d)
{
    d.BeginBulkChange();
    int item = 0;
    for (int b = 0; b < kBranches; ++b)
        FillItem(d, d.Root(), item++ * 3); // every third item is a branch
    for (int i = 0; i < kMovedChildren; ++i)
        FillItem(d, d.Root()->Child(0), item++);
    while (item < kMaxItems) {
        FillItem(d, d.Root()->Child(1 + item % (kBranches - 1)), item);
        ++item;
    }
    d.EndBulkChange();
}

// The moving branch goes into the last branch (a drop), or one place down.
void Move(TreeDocument& d, EditHistory& history, bool drop)
{
    TreeNode* branch = d.Root()->Child(0);
    d.Select(branch);
    if (drop)
        DropItems(d, &history, EncodeItems(d, branch), d.Root()->LastChild(), -1);
    else
        MoveItem(d, false, &history);
}

void UndoOrRedo(benchmark::State& state, bool undo)
{
    TreeDocument d;
    BuildBranchTree(d);
    EditHistory history(d);
    Move(d, history, state.range(0) == 1);
    for (auto _ : state) {
        if (!undo) {
            state.PauseTiming();
            history.Undo();
            state.ResumeTiming();
            history.Redo();
        } else {
            history.Undo();
            state.PauseTiming();
            history.Redo();
            state.ResumeTiming();
        }
    }
    state.SetLabel(state.range(0) == 1 ? "drop into the last branch" : "Move Down");
}

void BM_UndoMoveOfBranch(benchmark::State& state) { UndoOrRedo(state, true); }
void BM_RedoMoveOfBranch(benchmark::State& state) { UndoOrRedo(state, false); }
BENCHMARK(BM_UndoMoveOfBranch)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoMoveOfBranch)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

std::size_t HeapInUse() { return mallinfo2().uordblks; }

// The heap that 1,000 steps add: the branch of 1,000 children dropped back and
// forth (arg 0), or a mix of item properties, renames, new items, deletes and
// moves (arg 1).
void BM_HistoryOf1000Steps(benchmark::State& state)
{
    const bool mixed = state.range(0) == 1;
    for (auto _ : state) {
        state.PauseTiming();
        TreeDocument d;
        BuildBranchTree(d);
        SilentUserInterface ui;
        int counter = 0;
        auto history = std::make_unique<EditHistory>(d);
        // The document's own growth (new items' records) is not the history's.
        const std::size_t before = HeapInUse();
        state.ResumeTiming();
        for (int step = 0; step < 1000; ++step) {
            if (!mixed) {
                TreeNode* branch = step % 2 == 0 ? d.Root()->Child(0) : d.Root()->LastChild()->Child(0);
                DropItems(d, history.get(), EncodeItems(d, branch), step % 2 == 0 ? d.Root()->LastChild() : d.Root(),
                          0);
                continue;
            }
            TreeNode* node = d.Node(2 + (step * 7919) % (d.NodeCount() - 1));
            d.Select(node);
            switch (step % 4) {
            case 0:
                ApplyLabelEdit(d, ui, node, QStringLiteral("Renamed %1").arg(++counter), history.get());
                break;
            case 1: {
                ItemRecord edited = d.RecordOf(node);
                edited.LinkHref = QStringLiteral("https://www.example.com/new/%1.html").arg(++counter);
                history->Push(RecordStep(kItemPropertiesStep, d, node, std::move(edited)));
                break;
            }
            case 2:
                if (node->ChildCount() == 0)
                    DeleteItem(d, ui, history.get());
                else
                    MoveItem(d, true, history.get());
                break;
            default:
                MoveItem(d, false, history.get());
                break;
            }
        }
        state.PauseTiming();
        const std::size_t added = HeapInUse() - before;
        state.counters["history_MB"] = static_cast<double>(added) / (1 << 20);
        state.counters["steps"] = static_cast<double>(history->Count());
        state.counters["estimate_MB"] = static_cast<double>(history->MemoryUse()) / (1 << 20);
        history.reset();
        state.ResumeTiming();
    }
    state.SetLabel(mixed ? "renames, properties, deletes and moves"
                         : "branch of 1,000 children dropped back and forth");
}
BENCHMARK(BM_HistoryOf1000Steps)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
} // namespace vi::bench

BENCHMARK_MAIN();
