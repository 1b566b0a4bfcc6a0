#include "app/ThirdPartyNotices.h"

#include "document/AppInfo.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

namespace vi {

namespace {

QString LicenceText(const QString& name)
{
    QFile file(QStringLiteral(":/app/licenses/") + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

QString ThirdPartyNoticesText()
{
    return QStringLiteral("<h3>%1 %2</h3>").arg(ProductName(), AppVersion())
           + QCoreApplication::translate(
               "ThirdPartyNotices",
               "<p>This program uses the following libraries, under the GNU Lesser General Public License "
               "version 3 (LGPL-3.0), whose full text, with the GNU General Public License version 3 it refers "
               "to, follows below.</p>")
           + QStringLiteral("<ul><li>")
           + QCoreApplication::translate(
                 "ThirdPartyNotices",
                 "Qt %1 (built with Qt %2), Copyright (C) The Qt Company Ltd. and other contributors.")
                 .arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR))
           + QStringLiteral("</li><li>")
           + QCoreApplication::translate(
                 "ThirdPartyNotices",
                 "Qt WebEngine %1, based on Chromium %2, Copyright (C) The Qt Company Ltd. and the Chromium "
                 "authors; Chromium and the components it includes are under their own permissive licences "
                 "(BSD-style and others), whose notices are delivered with Qt WebEngine.")
                 .arg(QString::fromLatin1(qWebEngineVersion()), QString::fromLatin1(qWebEngineChromiumVersion()))
           + QStringLiteral("</li></ul>")
           + QCoreApplication::translate(
               "ThirdPartyNotices",
               "<p>Qt is a trademark of The Qt Company Ltd. The source code of Qt and Qt WebEngine is available "
               "from <a href=\"https://download.qt.io/\">https://download.qt.io/</a>, and you may replace the Qt "
               "libraries the program uses with a modified version of them.</p>");
}

ThirdPartyNotices::ThirdPartyNotices(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ThirdPartyNotices"));
    setWindowTitle(tr("Third-Party Notices"));
    resize(560, 440);

    auto* text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("Notices"));
    text->setOpenExternalLinks(true);
    text->setHtml(ThirdPartyNoticesText());
    for (const QString& licence : {QStringLiteral("LGPL-3.txt"), QStringLiteral("GPL-3.txt")}) {
        text->append(QStringLiteral("<hr>"));
        text->insertPlainText(LicenceText(licence));
    }
    text->moveCursor(QTextCursor::Start);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton* aboutQt = buttons->addButton(tr("About &Qt"), QDialogButtonBox::ActionRole);
    aboutQt->setObjectName(QStringLiteral("AboutQt"));
    connect(aboutQt, &QPushButton::clicked, this, [this] { QMessageBox::aboutQt(this); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
}

} // namespace vi
