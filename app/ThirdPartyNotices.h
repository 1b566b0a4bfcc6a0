#pragma once
#include <QDialog>

namespace vi {

// The libraries the program is distributed with, their versions and the
// notices their licences require, as rich text: Qt and Qt WebEngine (with
// Chromium) under the GNU LGPL version 3.
QString ThirdPartyNoticesText();

// Shows ThirdPartyNoticesText with the full licence texts and "About Qt";
// opened from the About box.
class ThirdPartyNotices final : public QDialog {
    Q_OBJECT
public:
    explicit ThirdPartyNotices(QWidget* parent);
};

} // namespace vi
