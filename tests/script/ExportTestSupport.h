#pragma once
// Helpers for the export tests: items added as the commands add them, and a
// program folder with a small TreeData whose files name themselves.
#include "document/AppInfo.h"
#include "document/TreeDocument.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>

namespace vi::test {

inline QString S(const char* utf8) { return QString::fromUtf8(utf8); }

// Adds an item with the defaults of a new record, named and texted name, then applies edit.
inline TreeNode* AddItem(TreeDocument& d, TreeNode* parent, const QString& name,
                         const std::function<void(ItemRecord&)>& edit = {})
{
    const int k = *d.AddItemRecord();
    TreeNode* n = d.AddNode(parent, name, k);
    d.InitItemRecord(k);
    d.Record(k).FriendlyName = name;
    d.Record(k).ItemText = name;
    if (edit)
        edit(d.Record(k));
    return n;
}

inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A program folder holding TreeData with tree.html, TreeLines/2x2.gif and the
// seven pictures of each given colour; each file holds its own relative path.
class FakeProgramFolder {
public:
    explicit FakeProgramFolder(const QStringList& colours = {S("Black"), S("navy")})
    {
        const QString data = dir.filePath(S("TreeData"));
        WriteFile(data + S("/tree.html"), "TreeData/tree.html");
        WriteFile(data + S("/TreeLines/2x2.gif"), "TreeLines/2x2.gif");
        for (const QString& colour : colours) {
            for (const char* name : {"top.gif", "mid.gif", "btm.gif", "hline.gif", "vline.gif", "plus.gif", "minus.gif"})
                WriteFile(data + S("/TreeLines/") + colour + S("/") + S(name), (colour + S("/") + S(name)).toUtf8());
        }
        SetProgramFolder(dir.path());
    }
    ~FakeProgramFolder() { SetProgramFolder(QString()); }

    QTemporaryDir dir;
};

} // namespace vi::test
