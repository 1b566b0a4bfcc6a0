#include "preview/WindowPlacement.h"

#include <gtest/gtest.h>

namespace vi {
namespace {

TEST(CentredFramePosition, CentresTheFrameNotTheClientArea)
{
    struct Row {
        const char* name;
        QRect available;
        QSize client;
        QMargins frame;
        QPoint expected;
    };
    const QSize mainWindow(638, 400);
    for (const Row& row : {
             Row{"no frame yet", {0, 0, 1280, 800}, mainWindow, {}, {321, 200}},
             // A 20-pixel title bar and 1-pixel borders: the frame, 640 by 421, is centred.
             Row{"title bar and borders", {0, 0, 1280, 800}, mainWindow, {1, 20, 1, 1}, {320, 189}},
             Row{"a panel above the available area", {0, 30, 1280, 770}, mainWindow, {1, 20, 1, 1}, {320, 204}},
             Row{"a second screen to the right", {1280, 0, 1920, 1080}, {493, 241}, {4, 24, 4, 4}, {1989, 405}},
         }) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CentredFramePosition(row.available, row.client, row.frame), row.expected);
    }
}

} // namespace
} // namespace vi
