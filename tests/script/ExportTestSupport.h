#pragma once
// Helpers for the script and CLI tests: file access, the seed corpus, and a
// program folder with a small TreeData whose files hold their own names.
#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "tests/support/TestTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <ostream>
#include <sys/stat.h>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace vi::test {

inline QString S(const char* utf8) { return QString::fromUtf8(utf8); }

// A file of the loader's seed corpus; example.js is the format's worked example.
inline QString Corpus(const char* name) { return S(VI_CORPUS_DIR "/") + S(name); }

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

// A file that starts as a GIF picture does, with the tag after the signature.
inline QByteArray Gif(const QByteArray& tag) { return "GIF89a" + tag; }

// The names in a folder, hidden ones, links and special files included.
inline QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

// The type and permission bits of a path itself, not of what a link names.
inline unsigned Mode(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode : 0u;
}

// Top-level items with long names: a thousand make about 200 kB of script.
inline void AddItems(TreeDocument& doc, int count)
{
    for (int i = 0; i < count; ++i)
        AddItem(doc, doc.Root(), S("An item with a name long enough to fill a disk %1").arg(i));
}

// TreeData with tree.html, TreeLines/2x2.gif and the seven pictures of Black and navy.
struct FakeProgramFolder {
    QTemporaryDir dir;
    FakeProgramFolder()
    {
        const QString lines = dir.filePath(S("TreeData/TreeLines/"));
        WriteFile(dir.filePath(S("TreeData/tree.html")), "tree.html");
        WriteFile(lines + S("2x2.gif"), "2x2.gif");
        for (const char* colour : {"Black/", "navy/"})
            for (const char* name : {"top", "mid", "btm", "hline", "vline", "plus", "minus"})
                WriteFile(lines + S(colour) + S(name) + S(".gif"), QByteArray(colour) + name + ".gif");
        SetProgramFolder(dir.path());
    }
    ~FakeProgramFolder() { SetProgramFolder(QString()); }
};

} // namespace vi::test
