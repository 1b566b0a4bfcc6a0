#include "document/AppInfo.h"

#include <QCoreApplication>
#include <QDir>

namespace vi {

namespace {
QString& ProgramFolderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString ProductName() { return QStringLiteral("Vuvov-Ivoza"); }

QString AppVersion()
{
    return QString::number(VI_VERSION_MAJOR) + QLatin1Char('.') + QString::number(VI_VERSION_MINOR)
        + QLatin1Char('.') + QString::number(VI_VERSION_PATCH);
}

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

QString JoinPath(const QString& folder, const QString& name)
{
    return folder + NativeSeparator() + name;
}

QString DataFolder() { return JoinPath(ProgramFolder(), QStringLiteral("TreeData")); }

QString TmpTreePath() { return JoinPath(DataFolder(), QStringLiteral("TmpTree")); }

} // namespace vi
