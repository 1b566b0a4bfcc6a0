#include "app/ThirdPartyNotices.h"
#include "app/frmAbout.h"
#include "preview/WebAddress.h"
#include "tests/support/FakeUserInterface.h"
#include "tests/support/ScriptedOpener.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <gtest/gtest.h>

namespace vi {
namespace {

using test::ScriptedOpener;

TEST(AboutBox, ShowsTheProgramAndOpensTheAddress)
{
    test::FakeUserInterface ui;
    ScriptedOpener opener(false);
    frmAbout about(nullptr, ui, opener);
    about.show();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About..."));
    const auto label = [&](const char* name) { return about.findChild<QLabel*>(QString::fromLatin1(name)); };
    EXPECT_EQ(label("Label2")->text(), QStringLiteral("Version: 2.0.3"));
    EXPECT_FALSE(label("Image1")->pixmap().isNull()); // the logo resource is built in

    QTest::mouseClick(label("Label4"), Qt::LeftButton);
    EXPECT_EQ(opener.Opened, QList<QUrl>{QUrl(label("Label4")->text())}) << "the address shown is the one opened";
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Kind, UserInterface::Icon::Exclamation);
    EXPECT_TRUE(about.isVisible());
    about.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_FALSE(about.isVisible());
}

TEST(AboutBox, NoticesNameTheLibrariesTheirVersionsAndLicences)
{
    test::FakeUserInterface ui;
    ScriptedOpener opener(true);
    frmAbout about(nullptr, ui, opener);
    about.show();
    QString licences;
    QStringList aboutQt;
    // Walks the modal windows as they open: the notices, then "About Qt" from them.
    QTimer walker;
    QObject::connect(&walker, &QTimer::timeout, &walker, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            aboutQt << box->windowTitle();
            box->accept();
        } else if (auto* dialog = qobject_cast<ThirdPartyNotices*>(modal); dialog && aboutQt.isEmpty()) {
            licences = dialog->findChild<QTextBrowser*>()->toPlainText();
            // Clicked from the event loop, as the timer does not fire again inside its own handler.
            QTimer::singleShot(0, dialog->findChild<QPushButton*>(QStringLiteral("AboutQt")), &QPushButton::click);
        } else if (dialog) {
            dialog->reject();
        }
    });
    walker.start(20);
    about.findChild<QPushButton*>(QStringLiteral("Notices"))->click();
    EXPECT_EQ(aboutQt, QStringList{QStringLiteral("About Qt")});
    EXPECT_TRUE(licences.contains(QStringLiteral("GNU LESSER GENERAL PUBLIC LICENSE")));
    EXPECT_TRUE(licences.contains(QStringLiteral("GNU GENERAL PUBLIC LICENSE")));

    const QString text = ThirdPartyNoticesText();
    for (const QString& part : {QStringLiteral("Qt ") + QString::fromLatin1(qVersion()),
                                QStringLiteral("Qt WebEngine ") + QString::fromLatin1(qWebEngineVersion()),
                                QString::fromLatin1(qWebEngineChromiumVersion()),
                                QStringLiteral("GNU Lesser General Public License version 3")}) {
        EXPECT_TRUE(text.contains(part)) << part.toStdString();
    }
    EXPECT_TRUE(about.isVisible()); // the About box stays open behind
}

} // namespace
} // namespace vi
