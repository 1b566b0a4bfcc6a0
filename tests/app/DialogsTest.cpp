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
#include "tests/support/FakeUserInterface.h"
#include "tests/support/ScriptedOpener.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
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

template <class Widget> Widget* Find(QWidget* dialog, const char* name)
{
    auto* widget = dialog->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QColor BaseOf(QWidget* widget) { return widget->palette().color(QPalette::Base); }
QColor ButtonFace() { return QApplication::palette().color(QPalette::Button); }

// Plays the user in the next modal window.
template <class Window> void InNextModal(std::function<void(Window*)> play)
{
    QTimer::singleShot(0, qApp, [play]() {
        auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        play(window);
    });
}

TEST(ItemPropDialog, ClicksReachTheModelAndTheWidgetsFollowIt)
{
    ItemPropDialog dialog(TreeSettings{});
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Item Properties"));
    EXPECT_FALSE(Find<QComboBox>(&dialog, "Combo1_1")->isEditable());
    // An item text longer than a line edit's default limit must not be cut by typing.
    ItemRecord record{
        .ItemType = kBranch, .FriendlyName = QStringLiteral("Menu"), .ItemText = QString(40000, QLatin1Char('x'))};
    dialog.Model().ExchangeItemRecord(record, true);
    dialog.show();
    auto* text = Find<QLineEdit>(&dialog, "Text1");
    text->end(false);
    QTest::keyClick(text, Qt::Key_Y);
    EXPECT_EQ(dialog.Model().Text1().Text.size(), 40001);

    auto* mouseOut = Find<QCheckBox>(&dialog, "Check1_2");
    auto* path = Find<QLineEdit>(&dialog, "Text2_2");
    EXPECT_TRUE(path->isReadOnly());
    EXPECT_EQ(BaseOf(path), ButtonFace());
    QTest::mouseClick(mouseOut, Qt::LeftButton, {}, QPoint(6, mouseOut->height() / 2));
    EXPECT_TRUE(dialog.Model().Check1(2).Value);
    EXPECT_FALSE(path->isReadOnly());
    EXPECT_NE(BaseOf(path), ButtonFace());

    auto* link = Find<QCheckBox>(&dialog, "Check1_4");
    EXPECT_FALSE(link->isEnabled());
    QTest::mouseClick(Find<QRadioButton>(&dialog, "Option1_1"), Qt::LeftButton, {}, QPoint(6, 8));
    EXPECT_TRUE(dialog.Model().Option1(1));
    EXPECT_TRUE(link->isEnabled());

    text->selectAll();
    QTest::keyClicks(text, QStringLiteral("Home"));
    EXPECT_EQ(Find<QLineEdit>(&dialog, "Text3")->text(), QStringLiteral("Home"));
}

TEST(ItemPropDialog, RunStoresOnOkOnly)
{
    ItemRecord record{.ItemType = kLeaf, .FriendlyName = QStringLiteral("Page")};
    const ItemRecord before = record;

    InNextModal<QDialog>([](QDialog* dialog) {
        Find<QLineEdit>(dialog, "Text3")->setText(QString()); // not typed: the model keeps "Page"
        Find<QPushButton>(dialog, "Command1_0")->click();
    });
    EXPECT_FALSE(RunItemPropDialog(nullptr, record, TreeSettings{}));
    EXPECT_EQ(record, before);

    InNextModal<QDialog>([](QDialog* dialog) { dialog->close(); });
    EXPECT_FALSE(RunItemPropDialog(nullptr, record, TreeSettings{}));
    EXPECT_EQ(record, before);

    InNextModal<QDialog>([](QDialog* dialog) {
        auto* label = Find<QLineEdit>(dialog, "Text3");
        label->selectAll();
        QTest::keyClicks(label, QStringLiteral("About us"));
        Find<QPushButton>(dialog, "Command1_1")->click();
    });
    EXPECT_TRUE(RunItemPropDialog(nullptr, record, TreeSettings{}));
    EXPECT_EQ(record.FriendlyName, QStringLiteral("About us"));
}

TEST(ItemPropDialog, AFailingOkShowsItsMessageAndStaysOpen)
{
    ItemPropDialog dialog(TreeSettings{});
    dialog.show();
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

TEST(TreePropDialog, Binding)
{
    QTemporaryDir lines;
    QDir(lines.path()).mkdir(QStringLiteral("navy"));
    TreePropDialog dialog(nullptr, lines.path());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Tree Properties"));
    auto* upper = Find<QLineEdit>(&dialog, "Text1_1");
    auto* lineColour = Find<QComboBox>(&dialog, "Combo1_0");
    EXPECT_EQ(lineColour->itemText(0), QStringLiteral("Navy"));

    dialog.show();
    Find<QRadioButton>(&dialog, "Option1_0")->click();
    EXPECT_FALSE(lineColour->isEnabled());
    EXPECT_EQ(BaseOf(lineColour), ButtonFace());

    upper->selectAll();
    QTest::keyClicks(upper, QStringLiteral("abc"));
    EXPECT_EQ(dialog.Model().Text1(1).Text, QStringLiteral("abc"));
}

// Every shown caption whose text a shown sibling drawn over it covers, as "name under sibling".
QStringList CoveredCaptions(QWidget* window)
{
    QStringList covered;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        const auto* label = qobject_cast<QLabel*>(widget);
        const QRect text = CaptionTextRect(widget, widget->font(), label && label->wordWrap());
        if (text.isEmpty())
            continue;
        const QObjectList& siblings = widget->parent()->children();
        for (auto it = siblings.begin() + siblings.indexOf(widget) + 1; it != siblings.end(); ++it) {
            auto* sibling = qobject_cast<QWidget*>(*it);
            if (sibling && sibling->isVisible() && sibling->geometry().intersects(text))
                covered << widget->objectName() + QStringLiteral(" under ") + sibling->objectName();
        }
    }
    return covered;
}

TEST(Captions, NoShownCaptionIsCoveredByANeighbour)
{
    // Tree-wide values show every "Use Global" box; a branch shows the expanded bullet's.
    const TreeSettings everythingSet{.TreeBNonExpanded = QStringLiteral("b.gif"),
                                     .TreeBExpanded = QStringLiteral("e.gif"),
                                     .TreeLeaf = QStringLiteral("l.gif"),
                                     .TreeTarget = QStringLiteral("main"),
                                     .TreeFontSize = QStringLiteral("2"),
                                     .TreeFontColor = QStringLiteral("Black")};
    ItemPropDialog itemDialog(everythingSet);
    ItemRecord branch{.ItemType = kBranch, .FriendlyName = QStringLiteral("Menu")};
    itemDialog.Model().ExchangeItemRecord(branch, true);
    QTemporaryDir lines;
    TreePropDialog treeDialog(nullptr, lines.path());
    TreeDocument document;
    test::FakeUserInterface ui;
    MainWindow mainWindow(document, ui);
    mainWindow.SetQuitOnUnload(false);

    for (QWidget* window : std::initializer_list<QWidget*>{&itemDialog, &treeDialog, &mainWindow}) {
        SCOPED_TRACE(window->objectName().toStdString());
        window->show();
        EXPECT_EQ(CoveredCaptions(window).join(QLatin1Char(',')).toStdString(), "");
        window->hide();
    }
}

TEST(FolderDialog, OpensOnTheFolderLastUsedAndShowsIt)
{
    // Enough sibling folders that the chosen one, last in order, lies below the fold.
    QTemporaryDir tmp;
    for (int i = 0; i < 60; ++i)
        ASSERT_TRUE(QDir(tmp.path()).mkdir(QStringLiteral("d%1").arg(i, 2, 10, QLatin1Char('0'))));
    const QString chosen = QDir::toNativeSeparators(tmp.filePath(QStringLiteral("d59")));
    RememberFolder(chosen);

    FolderDialog dialog;
    auto* dir1 = Find<QTreeView>(&dialog, "Dir1");
    auto* folders = static_cast<QFileSystemModel*>(dir1->model());
    QTimer::singleShot(0, &dialog, [&] {
        EXPECT_EQ(Find<QLineEdit>(&dialog, "Text1")->text(), chosen);
        const QModelIndex parent = folders->index(tmp.path());
        EXPECT_TRUE(QTest::qWaitFor([&] { return folders->rowCount(parent) == 60; }, 10000));
        QTest::qWait(100); // let the view lay out the rows that came in
        const QModelIndex current = dir1->currentIndex();
        EXPECT_EQ(QDir::toNativeSeparators(folders->filePath(current)), chosen);
        EXPECT_TRUE(dir1->viewport()->rect().contains(dir1->visualRect(current)))
            << "the chosen folder is scrolled out of view";
        Find<QPushButton>(&dialog, "Command1_0")->click();
    });
    EXPECT_EQ(dialog.Run(), std::nullopt);
}

TEST(PicturePicker, AllFilesShowsNamesWithoutADot)
{
    EXPECT_EQ(PictureNameFilters(), (QStringList{QStringLiteral("All Files (*)"), QStringLiteral("GIF Format (*.GIF)"),
                                                 QStringLiteral("JPEG Format (*.JPG)")}));
}

TEST(RecentFolder, FallsBackToTheDocumentsFolderNeverTheProgramFolder)
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString fallback = QDir::toNativeSeparators(QDir(documents).exists() ? documents : QDir::homePath());
    QTemporaryDir tmp;
    struct Row {
        const char* name;
        QString remembered;
        QString expected;
    };
    for (const Row& row :
         {Row{"a folder that exists", QDir::toNativeSeparators(tmp.path()), QDir::toNativeSeparators(tmp.path())},
          Row{"a folder since removed", tmp.filePath(QStringLiteral("gone")), fallback}}) {
        SCOPED_TRACE(row.name);
        RememberFolder(row.remembered);
        EXPECT_EQ(LastUsedFolder(), row.expected);
    }
    QSettings(QStringLiteral("Vevadev"), QStringLiteral("Vuvov-Ivoza")).clear();
    EXPECT_EQ(LastUsedFolder(), fallback) << "the first start";
}

TEST(FolderDialog, KeepsTheChosenFolderUntilTheCloseBox)
{
    FolderDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Export to Folder"));

    QTemporaryDir tmp;
    const QString site = QDir::toNativeSeparators(tmp.path());
    auto* dir1 = Find<QTreeView>(&dialog, "Dir1");
    auto* text1 = Find<QLineEdit>(&dialog, "Text1");
    auto runWhile = [&](std::function<void()> act) {
        QTimer::singleShot(0, &dialog, std::move(act));
        return dialog.Run();
    };
    // The user opens a folder and confirms; the next show opens on it; the close box answers Cancel.
    EXPECT_EQ(runWhile([&] {
                  dir1->setCurrentIndex(static_cast<QFileSystemModel*>(dir1->model())->index(tmp.path()));
                  EXPECT_EQ(text1->text(), site);
                  Find<QPushButton>(&dialog, "Command1_1")->click();
              }),
              std::optional<QString>(site));
    EXPECT_EQ(runWhile([&] {
                  EXPECT_EQ(text1->text(), site);
                  dialog.close();
              }),
              std::nullopt);
    // Afresh after the close box, on the folder last used.
    EXPECT_EQ(runWhile([&] {
                  EXPECT_EQ(text1->text(), LastUsedFolder());
                  Find<QPushButton>(&dialog, "Command1_0")->click();
              }),
              std::nullopt);
}

TEST(AboutBox, ShowsTheProgramAndOpensTheAddress)
{
    test::FakeUserInterface ui;
    test::ScriptedOpener opener(false);
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
    test::ScriptedOpener opener(true);
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
