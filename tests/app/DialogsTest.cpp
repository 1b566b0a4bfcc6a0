#include "app/FolderDialog.h"
#include "app/ItemPropDialog.h"
#include "app/MainWindow.h"
#include "app/PicturePicker.h"
#include "app/PropertyDialogControls.h"
#include "app/PropertyDialogs.h"
#include "app/RecentFolder.h"
#include "app/ThirdPartyNotices.h"
#include "app/TreePropDialog.h"
#include "app/frmAbout.h"
#include "document/TreeDocument.h"
#include "preview/Twips.h"
#include "tests/support/FakeUserInterface.h"
#include "tests/support/ScriptedOpener.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeView>
#include <QUrl>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <functional>
#include <gtest/gtest.h>

// Records name only the fields a case needs.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace vi;

namespace {

template <class Widget> Widget* Find(QWidget* dialog, const QByteArray& name)
{
    auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name.constData();
    return widget;
}

// Plays the user in the next modal window.
template <class Window> void InNextModal(std::function<void(Window*)> play)
{
    QTimer::singleShot(0, qApp, [play]() {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        play(window);
    });
}

TEST(ItemPropDialog, TypingReachesTheModelAndAFailingOkShowsItsMessageAndStaysOpen)
{
    ItemPropDialog dialog(TreeSettings{});
    // An item text longer than a line edit's default limit must not be cut by typing; the
    // default label follows what is typed.
    ItemRecord record{
        .ItemType = kBranch, .FriendlyName = kNoneSpecified, .ItemText = QString(40000, QLatin1Char('x'))};
    dialog.Model().Load(record);
    dialog.show();
    auto* text = Find<QLineEdit>(&dialog, "Text1");
    text->end(false);
    QTest::keyClick(text, Qt::Key_Y);
    EXPECT_EQ(dialog.Model().ItemText().Text.size(), 40001);

    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("Home"));
    EXPECT_EQ(Find<QLineEdit>(&dialog, "Text3")->text(), QStringLiteral("Home"));

    Find<QCheckBox>(&dialog, "Check1_0")->click();
    // The message box the shared dialog code shows, answered with OK as "caption|icon|text".
    QString shown;
    InNextModal<QMessageBox>([&shown](QMessageBox* box) {
        shown = QStringList{box->windowTitle(), QString::number(box->icon()), box->text()}.join(QLatin1Char('|'));
        box->button(QMessageBox::Ok)->click();
    });
    Find<QPushButton>(&dialog, "Command1_1")->click();
    EXPECT_EQ(shown,
              QStringLiteral("Vuvov-Ivoza|1|You must specify the SRC for the 'Non-Expanded Bullet'.  Click the "
                             "folder to locate one on your system, or you can unclick the check box next to it."));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.Model().Tag(), DialogTag::None);
}

TEST(ItemPropDialog, RunStoresOnOkOnly)
{
    ItemRecord record{.ItemType = kLeaf, .FriendlyName = QStringLiteral("Page")};
    const ItemRecord before = record;
    const auto typeAndLeave = [&](const char* button) { // nullptr: the close box
        InNextModal<QDialog>([button](QDialog* dialog) {
            auto* label = Find<QLineEdit>(dialog, "Text3");
            label->selectAll();
            QTest::keyClicks(label, QStringLiteral("About us"));
            button ? Find<QPushButton>(dialog, button)->click() : (void)dialog->close();
        });
        return RunItemPropDialog(nullptr, record, TreeSettings{});
    };
    EXPECT_FALSE(typeAndLeave("Command1_0"));
    EXPECT_FALSE(typeAndLeave(nullptr));
    EXPECT_EQ(record, before);
    EXPECT_TRUE(typeAndLeave("Command1_1"));
    EXPECT_EQ(record.FriendlyName, QStringLiteral("About us"));
}

TEST(TreePropDialog, Binding)
{
    QTemporaryDir lines;
    QDir(lines.path()).mkdir(QStringLiteral("navy"));
    TreePropDialog dialog(nullptr, lines.path());
    auto* lineColour = Find<QComboBox>(&dialog, "Combo1_0");
    EXPECT_EQ(lineColour->itemText(0), QStringLiteral("Navy"));

    dialog.show();
    Find<QRadioButton>(&dialog, "Option1_0")->click();
    EXPECT_FALSE(lineColour->isEnabled());
}

// Each folder picture follows its path box in the tab order and opens the
// picture chooser from the keyboard, on the filter that shows every picture;
// "All Files" shows names without a dot too.
TEST(PicturePicker, TheFolderPicturesAreInTheTabOrderAndOpenTheChooser)
{
    EXPECT_EQ(PictureNameFilters(),
              (QStringList{QStringLiteral("All Files (*)"), QStringLiteral("GIF Format (*.GIF)"),
                           QStringLiteral("JPEG Format (*.JPG)"),
                           QStringLiteral("Images (*.GIF *.JPG *.JPEG *.PNG *.SVG *.WEBP *.ICO)")}));
    QTemporaryDir lines;
    ItemPropDialog itemDialog(TreeSettings{});
    TreePropDialog treeDialog(nullptr, lines.path());
    for (auto [dialog, pictures] : {std::pair<QDialog*, int>{&itemDialog, 4}, {&treeDialog, 3}}) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        dialog->show();
        QApplication::setActiveWindow(dialog);
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        for (int i = 0; i < pictures; ++i) {
            const auto name = [i](const char* control) { return control + QByteArray::number(i); };
            Find<QCheckBox>(dialog, name("Check1_"))->click();
            auto* path = Find<QLineEdit>(dialog, name("Text2_"));
            path->setFocus();
            QTest::keyClick(path, Qt::Key_Tab);
            QWidget* picture = Find<QWidget>(dialog, name("Image1_"));
            ASSERT_EQ(dialog->focusWidget(), picture) << i;
            QString filter;
            InNextModal<QFileDialog>([&filter](QFileDialog* chooser) {
                filter = chooser->selectedNameFilter();
                chooser->reject();
            });
            QTest::keyClick(picture, Qt::Key_Space);
            EXPECT_EQ(filter, PictureNameFilters().constLast()) << i;
        }
        dialog->hide();
    }
}

TEST(RecentFolder, FallsBackToTheDocumentsFolderNeverTheProgramFolder)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString fallback = QDir::toNativeSeparators(QDir(documents).exists() ? documents : QDir::homePath());
    QTemporaryDir tmp;
    const QString kept = QDir::toNativeSeparators(tmp.path());
    RememberFolder(kept);
    EXPECT_EQ(LastUsedFolder(), kept);
    RememberFolder(tmp.filePath(QStringLiteral("gone")));
    EXPECT_EQ(LastUsedFolder(), fallback) << "a folder since removed";
    QSettings(QStringLiteral("Vevadev"), QStringLiteral("Vuvov-Ivoza")).clear();
    EXPECT_EQ(LastUsedFolder(), fallback) << "the first start";
}

// Every shown control of a window that is cut off or drawn over, as "name why": a caption
// outside its control or its parent or under a shown sibling drawn after it, another
// control outside its parent, a text box lower than its line of text, a caption shrunk
// below the window's font.
QStringList ClippedOrCovered(QWidget* window)
{
    QStringList faults;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisible() || widget->window() != window || widget->objectName().isEmpty()
            || widget->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QString name = widget->objectName();
        if (widget->font().family() == window->font().family()
            && widget->font().pointSizeF() < window->font().pointSizeF())
            faults << name + QStringLiteral(" in a smaller font");
        const QRect shown = widget->geometry() & widget->parentWidget()->rect();
        if ((qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget))
            && widget->height() < widget->fontMetrics().height())
            faults << name + QStringLiteral(" lower than its text");
        const auto* label = qobject_cast<QLabel*>(widget);
        const QRect text = CaptionTextRect(widget, widget->font(), label && label->wordWrap());
        if (text.isEmpty()) {
            if (shown != widget->geometry())
                faults << name + QStringLiteral(" outside its parent");
            continue;
        }
        if (!shown.contains(text))
            faults << name + QStringLiteral(" clipped");
        const QObjectList& siblings = widget->parent()->children();
        for (auto it = siblings.begin() + siblings.indexOf(widget) + 1; it != siblings.end(); ++it) {
            auto* sibling = qobject_cast<QWidget*>(*it);
            if (sibling && sibling->isVisible() && !sibling->isWindow() && sibling->geometry().intersects(text))
                faults << name + QStringLiteral(" under ") + sibling->objectName();
        }
    }
    return faults;
}

// Run again by ctest at a screen scale of 150 and 200 per cent (QT_SCALE_FACTOR).
TEST(Captions, EveryWindowGrowsWithTheFontSoNothingIsClippedOrCovered)
{
    // Tree-wide values show every "Use Global" box; a branch shows the expanded bullet's.
    const TreeSettings everythingSet{.TreeBNonExpanded = QStringLiteral("b.gif"),
                                     .TreeBExpanded = QStringLiteral("e.gif"),
                                     .TreeLeaf = QStringLiteral("l.gif"),
                                     .TreeTarget = QStringLiteral("main"),
                                     .TreeFontSize = QStringLiteral("2"),
                                     .TreeFontColor = QStringLiteral("Black")};
    const QFont standard = QApplication::font();
    QFont large = standard;
    large.setPointSizeF(14);
    for (const QFont& font : {standard, large}) {
        SCOPED_TRACE(font.toString().toStdString());
        QApplication::setFont(font);
        ItemPropDialog itemDialog(everythingSet);
        itemDialog.Model().Load({.ItemType = kBranch, .FriendlyName = QStringLiteral("Menu")});
        QTemporaryDir lines;
        TreePropDialog treeDialog(nullptr, lines.path());
        FolderDialog folderDialog;
        test::FakeUserInterface ui;
        test::ScriptedOpener opener(false);
        frmAbout about(nullptr, ui, opener);
        TreeDocument document;
        MainWindow mainWindow(document, ui);
        mainWindow.SetQuitOnUnload(false);
        for (QWidget* window :
             std::initializer_list<QWidget*>{&itemDialog, &treeDialog, &folderDialog, &about, &mainWindow}) {
            SCOPED_TRACE(window->objectName().toStdString());
            window->show();
            EXPECT_EQ(ClippedOrCovered(window).join(QLatin1Char(',')).toStdString(), "");
            window->hide();
        }
    }
    QApplication::setFont(standard);
}

TEST(Captions, ALargerFontScalesTheDrawnArrangementAsAWhole)
{
    const QFont standard = QApplication::font();
    std::vector<double> scales;
    for (const qreal points : {standard.pointSizeF(), 2 * standard.pointSizeF()}) {
        QFont font = standard;
        font.setPointSizeF(points);
        QApplication::setFont(font);
        ItemPropDialog dialog(TreeSettings{});
        dialog.show();
        const double scale = double(dialog.width()) / ItemPropDialog::kClientWidth;
        EXPECT_NEAR(double(dialog.height()) / ItemPropDialog::kClientHeight, scale, 0.01);
        // OK keeps its drawn place, scaled as the window is.
        const QRectF ok = Find<QPushButton>(&dialog, "Command1_1")->geometry();
        const QRectF drawn(Twips(4320, 6765, 1140, 390));
        EXPECT_NEAR(ok.left() / scale, drawn.left(), 1.5);
        EXPECT_NEAR(ok.bottom() / scale, drawn.bottom(), 1.5);
        scales.push_back(scale);
    }
    QApplication::setFont(standard);
    EXPECT_GE(scales[1], 1.9 * scales[0]) << "twice the font, about twice the window";
}

// Runs the chooser modally on a folder and plays the user in it: play's
// checks, then the button (nullptr: the close box).
std::optional<QString> RunChooser(FolderDialog& dialog, const QString& initialFolder, const char* button,
                                  std::function<void()> play = {})
{
    QTimer::singleShot(0, &dialog, [&dialog, button, play] {
        if (play)
            play();
        if (dialog.isVisible())
            button ? Find<QPushButton>(&dialog, button)->click() : (void)dialog.close();
    });
    return dialog.Run(initialFolder);
}

TEST(FolderDialog, OpensOnTheDocumentsFolderShowsItAndKeepsTheChoiceUntilTheCloseBox)
{
    // Enough sibling folders that the document's folder, last in order, lies below the fold.
    QTemporaryDir tmp;
    for (int i = 0; i < 60; ++i)
        ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("d%1").arg(i, 2, 10, QLatin1Char('0'))));
    const QString used = QDir::toNativeSeparators(tmp.filePath(QStringLiteral("d59")));
    const QString site = QDir::toNativeSeparators(tmp.path());
    FolderDialog dialog;
    auto* dir1 = Find<QTreeView>(&dialog, "Dir1");
    auto* folders = static_cast<QFileSystemModel*>(dir1->model());
    QStringList shown; // the folder each show opens on
    const auto run = [&](const char* button, std::function<void()> play = {}) {
        return RunChooser(dialog, used, button, [&, play] {
            shown << Find<QLineEdit>(&dialog, "Text1")->text();
            if (play)
                play();
        });
    };
    const auto checkUsedInViewAndChooseSite = [&] {
        EXPECT_TRUE(QTest::qWaitFor([&] { return folders->rowCount(folders->index(tmp.path())) == 60; }, 10000));
        QTest::qWait(100); // let the view lay out the rows that came in
        const QModelIndex current = dir1->currentIndex();
        EXPECT_EQ(QDir::toNativeSeparators(folders->filePath(current)), used);
        const QRect row = dir1->visualRect(current);
        EXPECT_TRUE(row.top() >= 0 && row.bottom() <= dir1->viewport()->height()) << "scrolled out of view";
        dir1->setCurrentIndex(folders->index(tmp.path()));
    };
    EXPECT_EQ(run("Command1_1", checkUsedInViewAndChooseSite), std::optional<QString>(site));
    EXPECT_EQ(run(nullptr), std::nullopt);
    EXPECT_EQ(run("Command1_0"), std::nullopt);
    // The choice stays for the next show; after the close box, afresh on the document's folder.
    EXPECT_EQ(shown, (QStringList{used, site, used}));
}

// A tree with no folder yet: Enter must not export it wherever the chooser
// opens; typing a folder (completed as typed) or making one offers it.
TEST(FolderDialog, WithNoFolderOkWaitsForAFolderTypedOrMade)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("site")));
    const QString site = QDir::toNativeSeparators(tmp.filePath(QStringLiteral("site")));
    FolderDialog dialog;
    auto* text1 = Find<QLineEdit>(&dialog, "Text1");
    auto* ok = Find<QPushButton>(&dialog, "Command1_1");
    const auto typed = RunChooser(dialog, QString(), "Command1_1", [&] {
        EXPECT_EQ(std::pair(text1->text(), ok->isEnabled()), std::pair(QString(), false));
        text1->setFocus();
        QTest::keyClick(text1, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible()) << "Enter exported with no folder chosen";
        QTest::keyClicks(text1, QDir::toNativeSeparators(tmp.filePath(QStringLiteral("si"))));
        EXPECT_FALSE(ok->isEnabled());
        QCompleter* completer = text1->completer();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return completer->setCompletionPrefix(text1->text()), completer->completionCount() == 1; }, 10000));
        EXPECT_EQ(QDir::toNativeSeparators(completer->currentCompletion()), site);
        QTest::keyClicks(text1, QStringLiteral("te"));
        EXPECT_TRUE(ok->isEnabled());
    });
    EXPECT_EQ(typed, std::optional<QString>(site));

    const auto made = RunChooser(dialog, QString(), "Command1_1", [&] {
        EXPECT_EQ(text1->text(), QString()) << "a tree with no folder opens with none, whatever was chosen before";
        EXPECT_FALSE(Find<QPushButton>(&dialog, "NewFolder")->isEnabled()) << "no folder to make it in";
        text1->setText(site);
        InNextModal<QInputDialog>([](QInputDialog* name) {
            name->setTextValue(QStringLiteral("menu"));
            name->accept();
        });
        Find<QPushButton>(&dialog, "NewFolder")->click();
    });
    EXPECT_EQ(made, std::optional<QString>(QDir::toNativeSeparators(site + QStringLiteral("/menu"))));
    EXPECT_TRUE(QDir(site + QStringLiteral("/menu")).exists());
}

// Each drive lists its own folders, however often the user switches; names
// are readable in full, and the window grows with the folder list.
TEST(FolderDialog, ListsEachDriveAfterSwitchingShowsLongNamesAndResizes)
{
    QTemporaryDir tmp;
    const QString longName = QString(120, QLatin1Char('n'));
    for (const char* folder : {"a/one", "a/two"})
        ASSERT_TRUE(QDir(tmp.path()).mkpath(QString::fromLatin1(folder)));
    ASSERT_TRUE(QDir(tmp.path()).mkpath(QStringLiteral("b/") + longName));
    const QString a = QDir::toNativeSeparators(tmp.filePath(QStringLiteral("a")));
    const QString b = QDir::toNativeSeparators(tmp.filePath(QStringLiteral("b")));
    FolderDialog dialog(nullptr, [&] { return std::vector<Volume>{{a, {}}, {b, QStringLiteral("Stick")}}; });
    auto* drive1 = Find<QComboBox>(&dialog, "Drive1");
    auto* dir1 = Find<QTreeView>(&dialog, "Dir1");
    auto* folders = static_cast<QFileSystemModel*>(dir1->model());
    const auto listed = [&] {
        QStringList names;
        for (int row = 0; row < folders->rowCount(dir1->rootIndex()); ++row)
            names << folders->index(row, 0, dir1->rootIndex()).data().toString();
        names.sort();
        return QDir::toNativeSeparators(folders->filePath(dir1->rootIndex())) + QLatin1Char(':')
               + names.join(QLatin1Char(','));
    };
    RunChooser(dialog, a, "Command1_0", [&] {
        for (const auto& [drive, expected] : {std::pair{1, b + QLatin1Char(':') + longName},
                                              {0, a + QStringLiteral(":one,two")},
                                              {1, b + QLatin1Char(':') + longName}}) {
            drive1->setCurrentIndex(drive);
            EXPECT_TRUE(QTest::qWaitFor([&] { return listed() == expected; }, 10000)) << listed().toStdString();
        }
        QTest::qWait(100);
        EXPECT_GE(dir1->columnWidth(0), dir1->fontMetrics().horizontalAdvance(longName)) << "the name is cut";

        const int listWidth = dir1->width();
        EXPECT_EQ(dialog.size(), QSize(FolderDialog::kClientWidth, FolderDialog::kClientHeight));
        dialog.resize(dialog.size() + QSize(300, 200));
        QTest::qWait(50);
        EXPECT_EQ(dialog.size(), QSize(FolderDialog::kClientWidth + 300, FolderDialog::kClientHeight + 200));
        EXPECT_EQ(dir1->width(), listWidth + 300);
        auto* cancel = Find<QPushButton>(&dialog, "Command1_0");
        EXPECT_LT(dialog.width() - cancel->geometry().right(), 20) << "the buttons keep to the bottom right";
        EXPECT_LT(dialog.height() - cancel->geometry().bottom(), 20);
    });
}

TEST(AboutBox, ShowsTheProgramOpensTheAddressAndNamesTheLibrariesAndLicences)
{
    test::FakeUserInterface ui;
    test::ScriptedOpener opener(false);
    frmAbout about(nullptr, ui, opener);
    const QSize centred = about.size();
    about.show();
    EXPECT_EQ(about.size(), centred) << "sized for the font before it is centred";
    const auto label = [&](const char* name) { return about.findChild<QLabel*>(QString::fromLatin1(name)); };
    EXPECT_FALSE(label("Image1")->pixmap().isNull()); // the logo resource is built in

    QTest::mouseClick(label("Label4"), Qt::LeftButton);
    EXPECT_EQ(opener.Opened, QList<QUrl>{QUrl(label("Label4")->text())}) << "the address shown is the one opened";
    ASSERT_EQ(ui.Messages.size(), 1u);
    EXPECT_EQ(ui.Messages[0].Kind, UserInterface::Icon::Exclamation);

    QString licences;
    InNextModal<ThirdPartyNotices>([&licences](ThirdPartyNotices* notices) {
        licences = notices->findChild<QTextBrowser*>()->toPlainText();
        notices->reject();
    });
    about.findChild<QPushButton*>(QStringLiteral("Notices"))->click();
    EXPECT_TRUE(licences.contains(QStringLiteral("GNU LESSER GENERAL PUBLIC LICENSE")));
    for (const QString& part : {QStringLiteral("Qt ") + QString::fromLatin1(qVersion()),
                                QStringLiteral("Qt WebEngine ") + QString::fromLatin1(qWebEngineVersion()),
                                QString::fromLatin1(qWebEngineChromiumVersion())}) {
        EXPECT_TRUE(licences.contains(part)) << part.toStdString();
    }
    EXPECT_TRUE(about.isVisible());
    about.findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    EXPECT_FALSE(about.isVisible());
}

} // namespace
