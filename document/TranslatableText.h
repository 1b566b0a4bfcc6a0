#pragma once
#include <QCoreApplication>
#include <QString>

namespace vi {

// A user-visible text of the core. Its source text is marked for the
// translation catalogue where it is defined (QT_TRANSLATE_NOOP) and translated
// where it is used, so that the translator the editor installs at start-up
// applies; without one it is the English text as written.
struct TranslatableText {
    const char* Context;
    const char* Source;

    QString Text() const { return QCoreApplication::translate(Context, Source); }
    operator QString() const { return Text(); }
};

} // namespace vi
