#include "document/AppInfo.h"

#include "BuildConfig.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace vi {

namespace {
QString& ProgramFolderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString ProductName() { return QStringLiteral("Vuvov-Ivoza"); }

QString AppVersion() { return QStringLiteral(VI_VERSION_STRING); }

QString MakerWebAddress() { return QStringLiteral("https://www.vevadev.com/vuvov-ivoza"); }

QString MakerCopyright() { return QStringLiteral("Copyright (C) 2026 Vevadev. All rights reserved."); }

QString ProgramFolder()
{
    if (!ProgramFolderOverride().isEmpty())
        return ProgramFolderOverride();
    if (QCoreApplication::instance())
        return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    return QDir::toNativeSeparators(QDir::currentPath());
}

void SetProgramFolder(const QString& folder) { ProgramFolderOverride() = folder; }

QChar NativeSeparator() { return QDir::separator(); }

QString JoinPath(const QString& folder, const QString& name) { return folder + NativeSeparator() + name; }

namespace {
QString BesideProgram() { return JoinPath(ProgramFolder(), QStringLiteral("TreeData")); }
} // namespace

QString DataFolder()
{
    const QString beside = BesideProgram();
    if (QFileInfo(beside).isDir())
        return beside;
    const QString program = QDir::fromNativeSeparators(ProgramFolder()) + QLatin1Char('/');
    for (const QLatin1StringView relative :
         {QLatin1StringView(VI_INSTALLED_DATA_FROM_BIN), QLatin1StringView("../Resources/TreeData")}) {
        const QString candidate = QDir::cleanPath(program + relative);
        if (QFileInfo(candidate).isDir())
            return QDir::toNativeSeparators(candidate);
    }
    return beside;
}

bool DataFolderBesideProgram() { return DataFolder() == BesideProgram(); }

QString TmpTreePath()
{
    return DataFolderBesideProgram() ? JoinPath(BesideProgram(), QStringLiteral("TmpTree")) : UserPreviewPath();
}

QString UserPreviewPath()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    return JoinPath(QDir::toNativeSeparators(cache), QStringLiteral("TmpTree"));
}

} // namespace vi
