#pragma once
#include <QLabel>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace vi {

// The small folder picture beside a picture path; a click opens the picture chooser.
class FolderPicture : public QLabel {
    Q_OBJECT
public:
    explicit FolderPicture(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// The picture chooser's filters: "All Files", "GIF Format", "JPEG Format" and
// "Images", every picture format a browser shows. "All Files" matches every
// name, with or without a dot, on every platform.
QStringList PictureNameFilters();

// The file dialog of the picture chooser, "Images" preselected; the chosen
// file's full path with native separators, nothing when the user cancelled.
std::optional<QString> ChoosePictureFile(QWidget* parent);

} // namespace vi
