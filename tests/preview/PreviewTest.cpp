#include "preview/Preview.h"

#include "document/AppInfo.h"
#include "document/TreeDocument.h"
#include "preview/PreviewFolder.h"
#include "preview/PreviewPage.h"
#include "preview/WebAddress.h"
#include "preview/WindowPlacement.h"
#include "preview/frmQuickView.h"
#include "tests/script/ExportTestSupport.h"
#include "tests/support/FakeUserInterface.h"
#include "tests/support/ScriptedOpener.h"
#include "tests/support/TestTree.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDirIterator>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace vi {
namespace {

const QString kSwitchFalse = QStringLiteral("var BrowserSwitch = false;\r\n");
const QString kSwitchTrue = QStringLiteral("var BrowserSwitch = true;\r\n");
const QString kItemTexts =
    QStringLiteral("Array.from(document.querySelectorAll('[role=treeitem]')).map(e => e.textContent.trim()).join('|')");

class Preview : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A program folder of its own, with a copy of the data folder built beside the test.
        const QString built = QCoreApplication::applicationDirPath() + QStringLiteral("/TreeData");
        QDirIterator it(built, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString relative = QDir(built).relativeFilePath(it.next());
            if (relative.startsWith(QStringLiteral("TmpTree/")))
                continue; // a preview left by an editor run from the build tree
            const QString target = program_.filePath(QStringLiteral("TreeData/") + relative);
            QDir().mkpath(QFileInfo(target).path());
            QFile::copy(it.filePath(), target);
        }
        SetProgramFolder(program_.path());
        qputenv("XDG_CACHE_HOME", temp_.path().toLocal8Bit());
        document_.NewTree();
    }

    void TearDown() override
    {
        ClosePreviewWindow();
        SetPreviewFolder({});
        SetProgramFolder({});
        qunsetenv("XDG_CACHE_HOME");
    }

    void AddItem(const QString& text) { test::AddItem(document_, document_.Root(), text); }

    static QString CustomJs()
    {
        QFile f(PreviewFolder() + QStringLiteral("/custom.js"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    // Waits until a script in the preview page gives the expected value; the page loads on its own.
    static bool PageShows(const QString& script, const QVariant& expected)
    {
        return QTest::qWaitFor(
            [&] {
                bool done = false;
                QVariant result;
                PreviewWindow()->Browser()->page()->runJavaScript(script,
                                                                  [&](const QVariant& v) { result = v, done = true; });
                return QTest::qWaitFor([&] { return done; }, 20000) && result == expected;
            },
            60000);
    }

    template <typename T> static T* Control(const QString& name) { return PreviewWindow()->findChild<T*>(name); }

    QTemporaryDir program_;
    QTemporaryDir temp_;
    TreeDocument document_;
    test::FakeUserInterface ui_;
};

TEST_F(Preview, ShowsTheTreeWithTheChosenSwitchUntilClosed)
{
    ViewTreeCommand(document_, ui_); // only the root: no message
    AddItem(QStringLiteral("Alpha"));
    for (const bool changed : {true, false}) {
        SCOPED_TRACE(changed ? "changed" : "unchanged");
        document_.SetTreeChanged(changed);
        ViewTreeCommand(document_, ui_);
        EXPECT_EQ(document_.TreeChanged(), changed);
    }
    EXPECT_TRUE(ui_.Messages.empty());
    frmQuickView* window = PreviewWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible() && !window->parentWidget());
    EXPECT_EQ(PreviewFolder(), TmpTreePath());
    EXPECT_TRUE(PageShows(QStringLiteral("window.BrowserSwitch"), false)); // as custom.js sets it

    Control<QRadioButton>(QStringLiteral("Option1_1"))->click();
    EXPECT_TRUE(PageShows(QStringLiteral("window.BrowserSwitch"), true)); // the page was loaded again
    AddItem(QStringLiteral("Beta"));
    ViewTreeCommand(document_, ui_); // a second view reuses the window and its option
    EXPECT_EQ(PreviewWindow(), window);
    EXPECT_TRUE(CustomJs().contains(kSwitchTrue));
    AddItem(QStringLiteral("Gamma"));
    Control<QPushButton>(QStringLiteral("Command1_0"))->click(); // Refresh shows the edited tree
    EXPECT_TRUE(PageShows(kItemTexts, QStringLiteral("Alpha|Beta|Gamma")));
    const QPointer<frmQuickView> closed(window);
    Control<QPushButton>(QStringLiteral("Command1_1"))->click();
    EXPECT_EQ(PreviewWindow(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return closed.isNull(); }));
    ViewTreeCommand(document_, ui_);
    EXPECT_TRUE(Control<QRadioButton>(QStringLiteral("Option1_0"))->isChecked());
    EXPECT_TRUE(CustomJs().contains(kSwitchFalse));
}

// Item texts hold HTML; one from a hand-made file must not read the user's
// files through the preview by any route the page or its workers have.
TEST_F(Preview, ThePageAndItsWorkersReadNoFileOutsideThePreviewFolder)
{
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(temp_.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        return QUrl::fromLocalFile(file.fileName()).toString();
    };
    const QString secret = write("secret.txt", "secret");
    QFile gif(DataFolder() + QStringLiteral("/TreeLines/2x2.gif"));
    ASSERT_TRUE(gif.open(QIODevice::ReadOnly));
    const QString picture = write("outside.gif", gif.readAll());
    // Each route stores what it read, or "refused", in a variable of the page.
    const QString read = QStringLiteral("try{var x=new XMLHttpRequest();x.open('GET','%1',false);x.send();"
                                        "r=x.responseText||'refused'}catch(e){r='refused'}")
                             .arg(secret);
    const QString workerCode = QStringLiteral("var r;") + read;
    const std::pair<const char*, QString> routes[] = {
        {"pageRequest", QStringLiteral("var r;%1;window.pageRequest=r").arg(read)},
        {"pageFetch",
         QStringLiteral("fetch('%1').then(r=>r.text()).then(t=>window.pageFetch=t,()=>window.pageFetch='refused')")
             .arg(secret)},
        {"worker",
         QStringLiteral("var w=new Worker(window.URL.createObjectURL(new Blob([&quot;%1;postMessage(r)&quot;])));"
                        "w.onmessage=m=>window.worker=m.data;w.onerror=()=>window.worker='refused'")
             .arg(workerCode)},
        {"sharedWorker",
         QStringLiteral(
             "var w=new SharedWorker(window.URL.createObjectURL(new "
             "Blob([&quot;onconnect=e=>{%1;e.ports[0].postMessage(r)}"
             "&quot;])));w.port.onmessage=m=>window.sharedWorker=m.data;w.onerror=()=>window.sharedWorker='refused'")
             .arg(workerCode)},
        {"serviceWorker", QStringLiteral("var s=navigator.serviceWorker;s?s.register('custom.js').then(()=>"
                                         "window.serviceWorker='registered',()=>window.serviceWorker='refused'):"
                                         "window.serviceWorker='refused'")},
        {"frame", QStringLiteral("var f=document.createElement('iframe');f.src='%1';document.body.appendChild(f);"
                                 "setTimeout(()=>{try{window.frame=f.contentDocument.body.textContent.includes("
                                 "'secret')?'secret':'refused'}catch(e){window.frame='refused'}},3000)")
                      .arg(secret)},
        {"picture",
         QStringLiteral("var i=new Image();i.onload=()=>window.picture='loaded';i.onerror=()=>window.picture="
                        "'refused';i.src='%1'")
             .arg(picture)},
        {"ownPicture", QStringLiteral("var i=new Image();i.onload=()=>window.ownPicture='loaded';i.onerror=()=>window."
                                      "ownPicture='refused';i.src='treePics/2x2.gif'")},
    };
    for (const auto& [name, code] : routes)
        AddItem(QStringLiteral("<img src=\"none.gif\" onerror=\"") + code + QStringLiteral("\">"));
    ViewTreeCommand(document_, ui_);
    for (const auto& [name, code] : routes) {
        const bool own = QLatin1String(name) == QLatin1String("ownPicture");
        EXPECT_TRUE(PageShows(QStringLiteral("String(window.%1)").arg(QLatin1String(name)),
                              own ? QStringLiteral("loaded") : QStringLiteral("refused")))
            << name;
    }
}

TEST(PreviewFolder, ServesOnlyFilesInsideIt)
{
    QTemporaryDir root;
    const auto path = [&](const char* name) { return root.filePath(QString::fromLatin1(name)); };
    QDir().mkpath(path("TmpTree/treePics"));
    for (const char* name : {"TmpTree/tree.html", "TmpTree/treePics/a b.gif", "secret.txt"})
        QFile(path(name)).open(QIODevice::WriteOnly);
    QFile::link(path("secret.txt"), path("TmpTree/treePics/link.gif"));
    const QString folder = path("TmpTree");
    for (const auto& [address, served] : {std::pair{"vi-preview://tree/tree.html", "TmpTree/tree.html"},
                                          {"vi-preview://tree/treePics/a%20b.gif", "TmpTree/treePics/a b.gif"},
                                          {"vi-preview://tree/treePics/../../secret.txt", ""},
                                          {"vi-preview://tree/%2E%2E/secret.txt", ""},
                                          {"vi-preview://tree/treePics/link.gif", ""},
                                          {"vi-preview://tree/treePics", ""},
                                          {"vi-preview://other/tree.html", ""},
                                          {"file:///TmpTree/tree.html", ""}}) {
        const QString expected = *served ? QFileInfo(path(served)).canonicalFilePath() : QString();
        EXPECT_EQ(PreviewFileOf(QUrl(QString::fromLatin1(address)), folder), expected) << address;
    }
    for (const auto& [address, allowed] : {std::pair{"vi-preview://tree/tree.html", true},
                                           {"https://example.com/a.gif", true},
                                           {"data:text/plain,a", true},
                                           {"file:///tmp/TmpTree/tree.html", false},
                                           {"qrc:/i18n/x.qm", false}}) {
        EXPECT_EQ(PreviewMayLoad(QUrl(QString::fromLatin1(address))), allowed) << address;
    }
}

// Stands in for the user's web browser: records what the desktop hands it.
class BrowserStandIn final : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
public slots:
    void open(const QUrl& url) { Opened << url; }
};

// Following a link leaves the preview on the menu: addresses outside the
// preview folder open in the user's browser, whatever window or frame the
// link targets; pages of the preview folder stay in the preview.
TEST_F(Preview, LinksOpenInTheUsersBrowserAndThePreviewStaysOnTheMenu)
{
    BrowserStandIn browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    const std::pair<const char*, const char*> links[] = {{"https://example.com/same", ""},
                                                         {"https://example.com/blank", "_blank"},
                                                         {"https://example.com/frame", "main"},
                                                         {"tree.html", ""}};
    for (const auto& [href, target] : links) {
        test::AddItem(document_, document_.Root(), QString::fromLatin1(href), [&](ItemRecord& record) {
            record.LinkHref = QString::fromLatin1(href);
            record.LinkTarget = QString::fromLatin1(target);
        });
    }
    ViewTreeCommand(document_, ui_);
    const QString menu = QStringLiteral("https://example.com/same|https://example.com/blank|https://example.com/"
                                        "frame|tree.html");
    ASSERT_TRUE(PageShows(kItemTexts, menu));
    const QUrl page = PreviewWindow()->Browser()->url();
    for (const auto& [href, target] : links) {
        SCOPED_TRACE(href);
        const qsizetype opened = browser.Opened.size();
        PreviewWindow()->Browser()->page()->runJavaScript(
            QStringLiteral("document.querySelector('a[href=\"%1\"]').click()").arg(QString::fromLatin1(href)));
        if (QString::fromLatin1(href).startsWith(QStringLiteral("https:"))) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return browser.Opened.size() > opened; }, 20000));
            EXPECT_EQ(browser.Opened.value(opened), QUrl(QString::fromLatin1(href)));
        } else {
            QTest::qWait(500);
        }
        EXPECT_TRUE(PageShows(kItemTexts, menu));
        EXPECT_EQ(PreviewWindow()->Browser()->url(), page);
    }
    EXPECT_EQ(browser.Opened.size(), 3);
    EXPECT_TRUE(ui_.Messages.empty());
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

TEST(PreviewNavigation, FollowsOnlyWhatTheUserChoseAndNothingLeavesThePreviewUnasked)
{
    QTemporaryDir folder;
    QFile(folder.filePath(QStringLiteral("tree.html"))).open(QIODevice::WriteOnly);
    const QString inside = QStringLiteral("vi-preview://tree/tree.html");
    const QString missing = QStringLiteral("vi-preview://tree/about.html");
    const QString local = QUrl::fromLocalFile(folder.filePath(QStringLiteral("tree.html"))).toString();
    using P = QWebEnginePage;
    using N = PreviewNavigation;
    struct Row {
        QString Url;
        P::NavigationType Type;
        bool MainFrame;
        N Expected;
    };
    for (const Row& row : {Row{inside, P::NavigationTypeLinkClicked, true, N::Stay},
                           {QStringLiteral("https://example.com/"), P::NavigationTypeLinkClicked, true, N::Browser},
                           {QStringLiteral("mailto:web@example.com"), P::NavigationTypeLinkClicked, false, N::Browser},
                           {missing, P::NavigationTypeLinkClicked, true, N::Refuse},
                           {local, P::NavigationTypeLinkClicked, true, N::Refuse},
                           {QStringLiteral("file:///etc/passwd"), P::NavigationTypeLinkClicked, true, N::Refuse},
                           {QStringLiteral("javascript:alert(1)"), P::NavigationTypeLinkClicked, true, N::Refuse},
                           {QStringLiteral("https://example.com/"), P::NavigationTypeOther, true, N::Refuse},
                           {QStringLiteral("https://example.com/video"), P::NavigationTypeOther, false, N::Stay},
                           {inside, P::NavigationTypeTyped, true, N::Stay}}) {
        EXPECT_EQ(PreviewNavigationFor(QUrl(row.Url), row.Type, row.MainFrame, folder.path()), row.Expected)
            << row.Url.toStdString() << " " << row.Type;
    }
}

// Silently, and the stand-in goes when the preview folder is removed.
TEST_F(Preview, UsesTheUserCacheFolderWhenThePreviewFolderCannotBeMade)
{
    QFile blocker(TmpTreePath());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    ViewTreeCommand(document_, ui_);
    EXPECT_TRUE(PreviewFolder().startsWith(temp_.path()));
    EXPECT_TRUE(CustomJs().contains(kSwitchFalse));
    EXPECT_TRUE(ui_.Messages.empty());
    RemovePreviewFolder();
    EXPECT_FALSE(QFileInfo::exists(FallbackPreviewPath()));
}

TEST(QuickView, TheSwitchesAndButtonsGrowWithTheFontAndStayApart)
{
    TreeDocument document;
    test::FakeUserInterface ui;
    const QFont standard = QApplication::font();
    QFont large = standard;
    large.setPointSizeF(14);
    QApplication::setFont(large);
    frmQuickView window(document, ui);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    QApplication::setFont(standard);
    QStringList faults;
    QRect taken;
    for (const char* name : {"Option1_0", "Option1_1", "Command1_0", "Command1_1"}) {
        const auto* control = window.findChild<QWidget*>(QString::fromLatin1(name));
        const QSize needed = control->sizeHint();
        if (control->width() < needed.width() || control->height() < needed.height())
            faults << QString::fromLatin1(name) + QStringLiteral(" clipped");
        if (control->geometry().intersects(taken) || !window.rect().contains(control->geometry()))
            faults << QString::fromLatin1(name) + QStringLiteral(" covered");
        taken |= control->geometry();
    }
    EXPECT_EQ(faults.join(QLatin1Char(',')).toStdString(), "");
}

TEST(PreviewFolder, IsMadeAfreshOrFallsBackToARealUserFolder)
{
    QTemporaryDir root;
    const auto path = [&](const char* name) { return root.filePath(QString::fromLatin1(name)); };
    QDir().mkpath(path("TreeData/TmpTree/treePics"));
    QFile(path("TreeData/TmpTree/stale.js")).open(QIODevice::WriteOnly);
    EXPECT_EQ(PreparePreviewFolder(path("TreeData/TmpTree"), path("user/TmpTree")), path("TreeData/TmpTree"));
    EXPECT_TRUE(QDir(path("TreeData/TmpTree")).isEmpty());

    EXPECT_EQ(PreparePreviewFolder(path("NoTreeData/TmpTree"), path("user/TmpTree")), path("user/TmpTree"));
    EXPECT_EQ(QFileInfo(path("user")).permissions() & 0x7777, QFileDevice::Permissions(0x7700)); // owner only
    // A user folder that is a link, maybe planted by someone else, is replaced
    // by a folder of the user's own; one open to others is closed.
    QDir().mkpath(path("elsewhere"));
    QFile::link(path("elsewhere"), path("linked"));
    EXPECT_EQ(PreparePreviewFolder(path("NoTreeData/TmpTree"), path("linked/TmpTree")), path("linked/TmpTree"));
    EXPECT_FALSE(QFileInfo(path("linked")).isSymLink());
    EXPECT_TRUE(QDir(path("elsewhere")).isEmpty());
    QDir().mkpath(path("open/TmpTree"));
    QFile::setPermissions(path("open"), QFileDevice::Permissions(0x7777));
    EXPECT_EQ(PreparePreviewFolder(path("NoTreeData/TmpTree"), path("open/TmpTree")), path("open/TmpTree"));
    EXPECT_EQ(QFileInfo(path("open")).permissions() & 0x0077, QFileDevice::Permissions());
}

TEST(ExportPreview, ReportsOnlyAScriptItCouldNotWriteAndNeverTheScratchFolder)
{
    test::FakeProgramFolder program;
    TreeDocument document;
    test::AddItem(document, document.Root(), QStringLiteral("A"),
                  [](ItemRecord& r) { r.MouseOutPic = QStringLiteral("/nowhere/gone.gif"); });
    document.SetTreeChanged(true);
    QTemporaryDir scratch;
    test::FakeUserInterface ui;
    ExportPreview(document, scratch.path(), false, ui);
    EXPECT_TRUE(QFileInfo::exists(scratch.filePath(QStringLiteral("custom.js"))));
    EXPECT_TRUE(ui.MessageTexts().isEmpty()) << "the missing picture was named at the load";
    EXPECT_TRUE(document.TreeChanged());

    const QString blocked = scratch.filePath(QStringLiteral("custom.js/TmpTree"));
    ExportPreview(document, blocked, false, ui);
    ASSERT_EQ(ui.MessageTexts().size(), 1);
    EXPECT_TRUE(ui.MessageTexts()[0].startsWith(QStringLiteral("The preview could not be made.\rReason: ")))
        << ui.MessageTexts()[0].toStdString();
    EXPECT_FALSE(ui.MessageTexts()[0].contains(blocked));
}

TEST(OpenWebAddress, ReportsAMissingBrowserUnlessQuiet)
{
    const QString address = QStringLiteral("https://example.org/a?b=1");
    for (const auto& [started, quiet] : {std::pair{true, false}, {false, false}, {false, true}}) {
        SCOPED_TRACE(std::string(started ? "browser starts" : "no browser") + (quiet ? ", quiet" : ""));
        test::FakeUserInterface ui;
        test::ScriptedOpener opener(started);
        EXPECT_EQ(OpenWebAddress(nullptr, address, quiet, ui, opener), started);
        EXPECT_EQ(opener.Opened, QList<QUrl>{QUrl(address)});
        EXPECT_EQ(ui.MessageTexts(), started || quiet ? QStringList() : QStringList{kNoBrowserMessage});
    }
}

} // namespace
} // namespace vi

TEST(CentredFramePosition, CentresTheFrameOnTheAvailableArea)
{
    EXPECT_EQ(vi::CentredFramePosition({0, 30, 1280, 770}, {638, 400}, {1, 20, 1, 1}), QPoint(320, 204));
    EXPECT_EQ(vi::CentredFramePosition({1280, 0, 1920, 1080}, {493, 241}, {4, 24, 4, 4}), QPoint(1989, 405));
}

#include "PreviewTest.moc"
