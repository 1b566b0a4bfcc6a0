#include "app/frmAbout.h"

#include "app/DesignLayout.h"
#include "app/ThirdPartyNotices.h"
#include "document/AppInfo.h"
#include "preview/WebAddress.h"
#include "preview/WindowPlacement.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>

// The resources live in a static library, so they are registered by hand.
static void InitAppResources() { Q_INIT_RESOURCE(App); }

namespace vi {

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const QRect& place, const QFont& font, const QColor& colour,
                 const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    SetDesignPlace(label, place);
    SetDesignFont(label, font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    return label;
}

QFont LabelFont(const QString& family, qreal points, bool bold, bool underline)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

} // namespace

frmAbout::frmAbout(QWidget* parent, UserInterface& ui, WebOpener& opener)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      ui_(ui), opener_(opener)
{
    InitAppResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(tr("About..."));
    auto* layout = new DesignLayout(this, QSize(506, 256));

    auto* picture1 = new QFrame(this);
    picture1->setObjectName(QStringLiteral("Picture1"));
    picture1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetDesignPlace(picture1, {4, 4, 499, 249});

    auto* image1 = new QLabel(picture1);
    image1->setObjectName(QStringLiteral("Image1"));
    SetDesignPlace(image1, {117, 12, 258, 52});
    image1->setAlignment(Qt::AlignCenter); // the logo keeps its size in a window grown for a larger font
    image1->setPixmap(QPixmap(QStringLiteral(":/app/AboutLogo.png")));

    AddLabel(picture1, "Label2", {-1, 67, 493, 18}, LabelFont(QStringLiteral("Times New Roman"), 9, true, false),
             QColor(192, 192, 192), tr("Version: %1").arg(AppVersion()));
    AddLabel(picture1, "Label3", {1, 94, 491, 31}, LabelFont(QStringLiteral("Times New Roman"), 11.25, true, false),
             QColor(192, 0, 0), MakerCopyright());
    webAddress_ =
        AddLabel(picture1, "Label4", {4, 152, 488, 16}, LabelFont(QStringLiteral("MS Sans Serif"), 8.25, false, true),
                 QColor(0, 0, 255), MakerWebAddress());
    webAddress_->setCursor(Qt::PointingHandCursor);
    webAddress_->installEventFilter(this);

    auto* command1 = new QPushButton(tr("&OK"), picture1);
    command1->setObjectName(QStringLiteral("Command1"));
    SetDesignPlace(command1, {206, 205, 82, 27});
    command1->setDefault(true);
    connect(command1, &QPushButton::clicked, this, &QDialog::accept);

    // Beside the described content: the libraries' versions and licences, and "About Qt".
    auto* notices = new QPushButton(tr("&Notices..."), picture1);
    notices->setObjectName(QStringLiteral("Notices"));
    SetDesignPlace(notices, {392, 205, 90, 27});
    connect(notices, &QPushButton::clicked, this, [this] { ThirdPartyNotices(this).exec(); });

    layout->activate(); // the size the font needs, before it is centred
    CentreOnScreen(this);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == webAddress_ && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        WebAddressClicked();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::WebAddressClicked() { OpenWebAddress(this, webAddress_->text(), false, ui_, opener_); }

void ShowAboutBox(QWidget* parent, UserInterface& ui) { ShowAboutBox(parent, ui, DefaultWebOpener()); }

void ShowAboutBox(QWidget* parent, UserInterface& ui, WebOpener& opener)
{
    frmAbout about(parent, ui, opener);
    about.exec();
}

} // namespace vi
