#include "app/StartUp.h"

#include "app/MainWindow.h"
#include "document/TreeDocument.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFont>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vi;

namespace {

// The file named on the command line goes through the load command: its
// messages, and a failed load keeps the new tree.
TEST(StartUp, OpensTheFileNamedOnTheCommandLine)
{
    for (const auto& [file, nodes, message] : // file under the seeds folder; message: the start of the one shown
         {std::tuple{"example.js", 3, "These pictures of the tree could not be found:"},
          {"none.js", 1, "Unable to open the file: "},
          {"oldversion_cp1252.js", 1, "This file was not created by your current Vuvov-Ivoza software version."}}) {
        SCOPED_TRACE(file);
        QStringList shown;
        QTimer answerer;
        QObject::connect(&answerer, &QTimer::timeout, &answerer, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown << box->text();
                box->button(QMessageBox::No) ? box->button(QMessageBox::No)->click() : box->accept();
            }
        });
        answerer.start(20);
        StartUp startUp;
        startUp.Run(QDir::toNativeSeparators(QStringLiteral(VI_SEEDS "/") + QString::fromLatin1(file)));
        startUp.Window()->SetQuitOnUnload(false);
        EXPECT_EQ(startUp.Document().NodeCount(), nodes);
        EXPECT_FALSE(startUp.Document().TreeChanged());
        EXPECT_EQ(startUp.Window()->windowIcon().availableSizes().size(), 6); // the application icon, 16 to 256 px
        ASSERT_EQ(shown.size(), *message ? 1 : 0) << shown.join(QLatin1Char('|')).toStdString();
        const QString expected = QString::fromUtf8(message);
        EXPECT_EQ(shown.join(QString()).left(expected.size()), expected);
    }
}

TEST(StartUp, KeepsTheUsersFont)
{
    const QFont standard = QApplication::font();
    QFont large = standard;
    large.setPointSizeF(14);
    QApplication::setFont(large);
    StartUp startUp;
    startUp.Run();
    startUp.Window()->SetQuitOnUnload(false);
    EXPECT_EQ(QApplication::font().pointSizeF(), 14.0);
    QApplication::setFont(standard);
}

} // namespace
