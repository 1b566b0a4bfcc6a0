#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "preview/Preview.h"
#include "preview/PreviewFolder.h"
#include "preview/WebAddress.h"
#include "preview/frmAbout.h"
#include "preview/frmQuickView.h"
#include "tests/support/FakeUserInterface.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace vi {
namespace {

// Copies the built data folder beside the test into a scratch program folder.
void CopyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString target = to + QDir(from).relativeFilePath(path).prepend(QLatin1Char('/'));
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            QFile::copy(path, target);
    }
}

QString ReadFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class Preview : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString builtData = QCoreApplication::applicationDirPath() + QStringLiteral("/TreeData");
        ASSERT_TRUE(QFile::exists(builtData + QStringLiteral("/tree.html")));
        CopyFolder(builtData, program_.filePath(QStringLiteral("TreeData")));
        SetProgramFolder(program_.path());
        qputenv("TMPDIR", temp_.path().toLocal8Bit());
        document_.NewTree();
        AddItem(QStringLiteral("Alpha"));
        AddItem(QStringLiteral("Beta"));
    }

    void TearDown() override
    {
        ClosePreviewWindow();
        SetPreviewFolder({});
        SetProgramFolder({});
        qunsetenv("TMPDIR");
    }

    void AddItem(const QString& text)
    {
        const int index = *document_.AddItemRecord();
        document_.InitItemRecord(index);
        ItemRecord& r = document_.Record(index);
        r.ItemType = kLeaf;
        r.FriendlyName = r.ItemText = text;
        document_.AddNode(document_.Root(), text, index);
    }

    QString CustomJs() const { return ReadFile(PreviewFolder() + QStringLiteral("/custom.js")); }

    // Evaluates a script in the preview page.
    static QVariant Evaluate(frmQuickView* window, const QString& script)
    {
        QVariant result;
        bool done = false;
        window->Browser()->page()->runJavaScript(script, [&](const QVariant& v) {
            result = v;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 20000));
        return result;
    }

    // Waits until the page's script gives the expected value (the page loads on its own).
    static bool PageShows(frmQuickView* window, const QString& script, const QVariant& expected)
    {
        return QTest::qWaitFor([&] { return Evaluate(window, script) == expected; }, 20000);
    }

    static QRadioButton* Option(frmQuickView* w, int i)
    {
        return w->findChild<QRadioButton*>(QStringLiteral("Option1_%1").arg(i));
    }

    QTemporaryDir program_;
    QTemporaryDir temp_;
    TreeDocument document_;
    test::FakeUserInterface ui_;
};

constexpr auto kItemTexts =
    "Array.from(document.querySelectorAll('[role=treeitem]')).map(e => e.textContent.trim()).join('|')";

TEST_F(Preview, ShowsTheExportedTreeAndKeepsTreeChanged)
{
    for (const bool changed : {true, false}) {
        document_.SetTreeChanged(changed);
        ViewTreeCommand(document_, ui_);
        EXPECT_EQ(document_.TreeChanged(), changed);
    }
    frmQuickView* window = PreviewWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Actual Tree View"));
    EXPECT_EQ(window->parentWidget(), nullptr);
    EXPECT_EQ(window->size(), QSize(391, 340));
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("WebBrowser1"))->geometry(), QRect(5, 5, 381, 300));
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("Command1_1"))->geometry(), QRect(302, 310, 84, 25));
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("Option1_0"))->pos(), QPoint(69, 310));
    EXPECT_TRUE(Option(window, 0)->isChecked());
    EXPECT_EQ(PreviewFolder(), TmpTreePath());
    EXPECT_TRUE(CustomJs().contains(QStringLiteral("var BrowserSwitch = false;\r\n")));
    EXPECT_TRUE(ui_.Messages.empty());

    const QUrl page = QUrl::fromLocalFile(TmpTreePath() + QStringLiteral("/tree.html"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->Browser()->url() == page; }));
    EXPECT_TRUE(PageShows(window, QString::fromLatin1(kItemTexts), QStringLiteral("Alpha|Beta")));

    window->resize(600, 400);
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("WebBrowser1"))->geometry(), QRect(5, 5, 590, 360));
    EXPECT_EQ(window->findChild<QWidget*>(QStringLiteral("Command1_1"))->pos(), QPoint(511, 370));
}

TEST_F(Preview, OptionsReExportAtOnceAndAreKeptUntilClose)
{
    ViewTreeCommand(document_, ui_);
    frmQuickView* window = PreviewWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(PageShows(window, QStringLiteral("window.BrowserSwitch"), false));

    Option(window, 1)->click();
    EXPECT_TRUE(CustomJs().contains(QStringLiteral("var BrowserSwitch = true;\r\n")));
    EXPECT_TRUE(PageShows(window, QStringLiteral("window.BrowserSwitch"), true)); // loaded again

    AddItem(QStringLiteral("Gamma"));
    ViewTreeCommand(document_, ui_); // a second view: same window, same option
    EXPECT_EQ(PreviewWindow(), window);
    EXPECT_TRUE(Option(window, 1)->isChecked());
    EXPECT_TRUE(CustomJs().contains(QStringLiteral("var BrowserSwitch = true;\r\n")));

    AddItem(QStringLiteral("Delta"));
    window->findChild<QPushButton*>(QStringLiteral("Command1_0"))->click(); // Refresh shows the edited tree
    EXPECT_TRUE(PageShows(window, QString::fromLatin1(kItemTexts), QStringLiteral("Alpha|Beta|Gamma|Delta")));

    Option(window, 0)->click();
    EXPECT_TRUE(CustomJs().contains(QStringLiteral("var BrowserSwitch = false;\r\n")));
    Option(window, 1)->click();

    QPointer<frmQuickView> closed(window);
    window->findChild<QPushButton*>(QStringLiteral("Command1_1"))->click();
    EXPECT_EQ(PreviewWindow(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed.isNull(); }));

    ViewTreeCommand(document_, ui_);
    ASSERT_NE(PreviewWindow(), nullptr);
    EXPECT_TRUE(Option(PreviewWindow(), 0)->isChecked());
    EXPECT_TRUE(CustomJs().contains(QStringLiteral("var BrowserSwitch = false;\r\n")));
}

TEST_F(Preview, UsesTheUserTemporaryFolderWhenThePreviewFolderCannotBeMade)
{
    QFile blocker(TmpTreePath()); // stands where the preview folder should be made
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    ViewTreeCommand(document_, ui_);
    EXPECT_EQ(PreviewFolder(), FallbackPreviewPath());
    EXPECT_TRUE(PreviewFolder().startsWith(temp_.path()));
    EXPECT_TRUE(CustomJs().contains(QStringLiteral("var BrowserSwitch = false;\r\n")));
    EXPECT_TRUE(ui_.Messages.empty());

    RemovePreviewFolder();
    EXPECT_FALSE(QFileInfo::exists(FallbackPreviewPath()));
}

class ScriptedOpener final : public WebOpener {
public:
    bool Open(const QUrl& address) override
    {
        Opened << address;
        return false;
    }
    QList<QUrl> Opened;
};

TEST(AboutBox, ShowsTheProgramAndOpensTheAddress)
{
    test::FakeUserInterface ui;
    ScriptedOpener opener;
    frmAbout about(nullptr, ui, opener);
    about.show();

    EXPECT_EQ(about.windowTitle(), QStringLiteral("About..."));
    EXPECT_EQ(about.size(), QSize(506, 256));
    EXPECT_EQ(about.minimumSize(), about.maximumSize());
    EXPECT_FALSE(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    const auto text = [&](const char* name) {
        return about.findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    EXPECT_EQ(text("Label2"), QStringLiteral("Version: ") + AppVersion());
    EXPECT_EQ(text("Label3"), MakerCopyright());
    EXPECT_EQ(text("Label4"), MakerWebAddress());
    EXPECT_EQ(about.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().size(), QSize(258, 52));
    EXPECT_EQ(about.findChild<QPushButton*>(QStringLiteral("Command1"))->text(), QStringLiteral("&OK"));

    QTest::mouseClick(about.findChild<QLabel*>(QStringLiteral("Label4")), Qt::LeftButton);
    ASSERT_EQ(opener.Opened.size(), 1);
    EXPECT_EQ(opener.Opened[0], QUrl(MakerWebAddress()));
    EXPECT_EQ(ui.MessageTexts(), QStringList{kNoBrowserMessage});
    EXPECT_TRUE(about.isVisible());

    about.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_FALSE(about.isVisible());
}

} // namespace
} // namespace vi
