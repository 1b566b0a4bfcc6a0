#include "app/StartUp.h"

#include "app/MainWindow.h"
#include "document/TreeDocument.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vi;

namespace {

struct OpenCase {
    const char* Name;
    const char* File; // under the seeds folder
    int Nodes;
    const char* Message; // the start of the message shown, if any
    friend void PrintTo(const OpenCase& c, std::ostream* os) { *os << c.Name; }
};

class StartUpOpens : public ::testing::TestWithParam<OpenCase> {};

// The file named on the command line goes through the load command: its
// messages, and a failed load keeps the new tree.
TEST_P(StartUpOpens, TheFileNamedOnTheCommandLine)
{
    const OpenCase& c = GetParam();
    QStringList shown;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, &answerer, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown << box->text();
            if (QAbstractButton* no = box->button(QMessageBox::No))
                no->click(); // declines to load a file of another version
            else
                box->accept();
        }
    });
    answerer.start(20);

    StartUp startUp;
    startUp.Run(QDir::toNativeSeparators(QStringLiteral(VI_SEEDS "/") + QString::fromLatin1(c.File)));
    startUp.Window()->SetQuitOnUnload(false);
    EXPECT_EQ(startUp.Document().NodeCount(), c.Nodes);
    EXPECT_FALSE(startUp.Document().TreeChanged());
    EXPECT_EQ(startUp.Window()->windowIcon().availableSizes().size(), 6); // the application icon, 16 to 256 pixels
    ASSERT_EQ(shown.size(), c.Message ? 1 : 0) << shown.join(QLatin1Char('|')).toStdString();
    if (c.Message) {
        EXPECT_TRUE(shown.first().startsWith(QString::fromUtf8(c.Message))) << shown.first().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, StartUpOpens,
    ::testing::Values(OpenCase{"Readable", "example.js", 3, nullptr},
                      OpenCase{"Missing", "none.js", 1, "Unable to open the file: "},
                      OpenCase{"OtherVersionAsks", "oldversion_cp1252.js", 1,
                               "This file was not created by your current Vuvov-Ivoza software version."}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
