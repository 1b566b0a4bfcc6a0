#include "app/PicturePicker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

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
}

void FolderPicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

QStringList PictureNameFilters()
{
    // "*.*" would hide names without a dot outside Windows.
    return {QCoreApplication::translate("PicturePicker", "All Files (*)"),
            QCoreApplication::translate("PicturePicker", "GIF Format (*.GIF)"),
            QCoreApplication::translate("PicturePicker", "JPEG Format (*.JPG)")};
}

std::optional<QString> ChoosePictureFile(QWidget* parent)
{
    const QStringList filters = PictureNameFilters();
    QFileDialog dialog(parent, QCoreApplication::translate("PicturePicker", "Choose a Picture File.."));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.at(1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace vi
