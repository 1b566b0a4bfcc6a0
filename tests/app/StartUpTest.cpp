#include "app/StartUp.h"

#include "app/MainWindow.h"
#include "document/TreeDocument.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vi;

namespace {

// The file named on the command line goes through the load command: its
// messages, and a failed load keeps the new tree.
TEST(StartUp, OpensTheFileNamedOnTheCommandLine)
{
    const struct {
        const char* file; // under the seeds folder
        int nodes;
        const char* message; // the start of the message shown, if any
    } rows[] = {{"example.js", 3, nullptr},
                {"none.js", 1, "Unable to open the file: "},
                {"oldversion_cp1252.js", 1, "This file was not created by your current Vuvov-Ivoza software version."}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
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
        startUp.Run(QDir::toNativeSeparators(QStringLiteral(VI_SEEDS "/") + QString::fromLatin1(row.file)));
        startUp.Window()->SetQuitOnUnload(false);
        EXPECT_EQ(startUp.Document().NodeCount(), row.nodes);
        EXPECT_FALSE(startUp.Document().TreeChanged());
        EXPECT_EQ(startUp.Window()->windowIcon().availableSizes().size(), 6); // the application icon, 16 to 256 px
        ASSERT_EQ(shown.size(), row.message ? 1 : 0) << shown.join(QLatin1Char('|')).toStdString();
        if (row.message) {
            EXPECT_TRUE(shown.first().startsWith(QString::fromUtf8(row.message))) << shown.first().toStdString();
        }
    }
}

} // namespace
