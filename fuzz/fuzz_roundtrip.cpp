// libFuzzer target: any bytes, read as a custom.js, then exported and read
// again, give the same document, and its export is byte-identical to the
// first: whatever a file holds, a load and export settle at once.
#include "document/TreeDocument.h"
#include "fuzz/FuzzUserInterface.h"
#include "script/ExportTree.h"
#include "script/ItemStatement.h"
#include "script/RootStatement.h"
#include "script/TreeLoader.h"

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QString kScript = QStringLiteral("/site/custom.js"); // the folder the pictures point into

// Everything a document holds that custom.js carries, item by item in the
// order of the walk. A value that a flag replaces by the tree-wide one is not
// in the file.
QStringList Contents(const vi::TreeDocument& d)
{
    const vi::TreeSettings& s = d.Settings();
    QStringList out{QString::number(s.TreeX), QString::number(s.TreeY), QString::number(s.TreeSize),
                    QString::number(s.TreeLines)};
    out << s.TreeLineColor << s.TreePMColor << s.TreeBNonExpanded << s.TreeBExpanded << s.TreeLeaf << s.TreeTarget
        << s.TreeBackground << s.TreeFontSize << s.TreeFontColor << vi::RootStatementOf(d)
        << QString::number(d.NodeCount());
    vi::WalkItems(d, [&](vi::TreeNode* n, const QString& path, int parentRow) {
        const vi::ItemRecord& r = d.RecordOf(n);
        const QString hidden = QStringLiteral("<hidden>");
        out << path << QString::number(parentRow) << n->Text() << r.ItemType << r.FriendlyName
            << QString::number(r.UseGlobalBNonExpanded + 2 * r.UseGlobalBExpanded + 4 * r.UseGlobalTarget
                               + 8 * r.UseGlobalFont)
            << (r.UseGlobalBNonExpanded ? hidden : r.BNonExpanded) << (r.UseGlobalBExpanded ? hidden : r.BExpanded)
            << r.MouseOutPic << r.MouseOverPic << r.ItemText << (r.UseGlobalFont ? hidden : r.FontSize)
            << (r.UseGlobalFont || r.FontSize.isEmpty() ? hidden : r.FontColor) << r.LinkHref
            << (r.UseGlobalTarget ? hidden : r.LinkTarget) << r.LinkDescription;
        return true;
    });
    return out;
}

QByteArray Export(vi::TreeDocument& document, const QString& folder, vi::UserInterface& ui)
{
    if (!vi::ExportTree(document, folder, false, ui).Written)
        std::abort();
    QFile file(folder + QStringLiteral("/custom.js"));
    if (!file.open(QIODevice::ReadOnly))
        std::abort();
    return file.readAll();
}

void Fail(const char* what, const QStringList& first, const QStringList& second)
{
    for (qsizetype i = 0; i < std::min(first.size(), second.size()); ++i) {
        if (first[i] != second[i]) {
            std::fprintf(stderr, "%s differ at %lld:\n  %s\n  %s\n", what, static_cast<long long>(i),
                         first[i].toUtf8().constData(), second[i].toUtf8().constData());
            break;
        }
    }
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir folder; // one export folder for every run
    vi::fuzz::FuzzUserInterface ui(data, size);
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    vi::TreeDocument first;
    vi::LoadTreeScriptBytes(first, bytes, kScript, ui);
    const QByteArray exported = Export(first, folder.path(), ui);

    vi::TreeDocument second;
    const vi::LoadResult again = vi::LoadTreeScriptBytes(second, exported, kScript, ui);
    if (!again.Replaced() || !second.CheckInvariants().isEmpty())
        std::abort();
    const QStringList before = Contents(first), after = Contents(second);
    if (before != after)
        Fail("the loaded documents", before, after);
    const QByteArray reexported = Export(second, folder.path(), ui);
    if (reexported != exported)
        Fail("the exports", QString::fromUtf8(exported).split(QLatin1Char('\n')),
             QString::fromUtf8(reexported).split(QLatin1Char('\n')));
    return 0;
}
