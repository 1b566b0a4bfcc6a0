#pragma once
// Helpers for the export tests: items added as the commands add them, and a
// program folder with a small TreeData whose files hold their own names.
#include "document/AppInfo.h"
#include "document/TreeDocument.h"

#include <functional>
#include <ostream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace vi::test {

inline QString S(const char* utf8) { return QString::fromUtf8(utf8); }

inline TreeNode* AddItem(TreeDocument& d, TreeNode* parent, const QString& name,
                         const std::function<void(ItemRecord&)>& edit = {})
{
    const int k = *d.AddItemRecord();
    TreeNode* n = d.AddNode(parent, name, k);
    d.InitItemRecord(k);
    d.Record(k).FriendlyName = d.Record(k).ItemText = name;
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

// TreeData with tree.html, TreeLines/2x2.gif and the seven pictures of Black and navy.
struct FakeProgramFolder {
    QTemporaryDir dir;
    FakeProgramFolder()
    {
        const QString data = dir.filePath(S("TreeData/"));
        WriteFile(data + S("tree.html"), "tree.html");
        WriteFile(data + S("TreeLines/2x2.gif"), "2x2.gif");
        for (const char* colour : {"Black/", "navy/"})
            for (const char* name :
                 {"top.gif", "mid.gif", "btm.gif", "hline.gif", "vline.gif", "plus.gif", "minus.gif"})
                WriteFile(data + S("TreeLines/") + S(colour) + S(name), QByteArray(colour) + name);
        SetProgramFolder(dir.path());
    }
    ~FakeProgramFolder() { SetProgramFolder(QString()); }
};

} // namespace vi::test
