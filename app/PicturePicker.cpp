#include "app/PicturePicker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace vi {

namespace {
// A closed manila folder, drawn once at 20 x 20 pixels.
QPixmap FolderPixmap()
{
    QPixmap pixmap(20, 20);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor outline(128, 96, 0);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(QColor(230, 190, 80));
    QPainterPath tab;
    tab.moveTo(2.5, 5.5);
    tab.lineTo(7.5, 5.5);
    tab.lineTo(9.5, 7.5);
    tab.lineTo(2.5, 7.5);
    tab.closeSubpath();
    painter.drawPath(tab);
    painter.setBrush(QColor(250, 215, 110));
    painter.drawRect(QRectF(2.5, 7.5, 15, 9));
    return pixmap;
}
} // namespace

FolderPicture::FolderPicture(QWidget* parent) : QLabel(parent)
{
    static const QPixmap folder = FolderPixmap();
    setPixmap(folder);
    setAlignment(Qt::AlignCenter);
    setCursor(Qt::PointingHandCursor);
    // Reached with Tab and pressed with Space or Enter, as a button is.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QCoreApplication::translate("PicturePicker", "Browse"));
}

void FolderPicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void FolderPicture::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            emit clicked();
            return;
        }
        break;
    default:
        break;
    }
    QLabel::keyPressEvent(event);
}

void FolderPicture::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QStylePainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

QStringList PictureNameFilters()
{
    // "*.*" would hide names without a dot outside Windows.
    return {QCoreApplication::translate("PicturePicker", "All Files (*)"),
            QCoreApplication::translate("PicturePicker", "GIF Format (*.GIF)"),
            QCoreApplication::translate("PicturePicker", "JPEG Format (*.JPG)"),
            QCoreApplication::translate("PicturePicker", "Images (*.GIF *.JPG *.JPEG *.PNG *.SVG *.WEBP *.ICO)")};
}

std::optional<QString> ChoosePictureFile(QWidget* parent)
{
    const QStringList filters = PictureNameFilters();
    QFileDialog dialog(parent, QCoreApplication::translate("PicturePicker", "Choose a Picture File.."));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.constLast());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace vi
