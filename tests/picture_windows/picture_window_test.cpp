#include "picture_windows/picture_window.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "picture_windows/picture_canvas.h"

namespace {

using picture_windows::PictureWindow;

TEST(PictureWindowTest, ZoomsFitsTurnsAndStepsThroughTheStampsPictures) {
    QTemporaryDir dir;
    std::vector<pictures::Picture> list;
    for (const char* name : {"front.png", "back.png"}) {
        QImage image(name[0] == 'f' ? 1600 : 300, 1000, QImage::Format_RGB32);
        image.fill(Qt::gray);
        image.save(dir.filePath(name));
        pictures::Picture p;
        p.path = dir.filePath(name);
        p.originalName = name;
        list.push_back(p);
    }
    PictureWindow window;
    window.resize(820, 640);
    window.show();
    window.showPictures(list, 0);
    QTRY_VERIFY_WITH_TIMEOUT(window.loaded(), 5000);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Picture 1 of 2 - front.png"));
    EXPECT_TRUE(window.fitting());
    EXPECT_LT(window.zoom(), 1.0);  // a 1600-pixel picture fits an 820-pixel window

    window.actualSize();
    EXPECT_DOUBLE_EQ(window.zoom(), 1.0);
    for (int i = 0; i < 20; ++i) window.zoomBy(1);
    EXPECT_DOUBLE_EQ(window.zoom(), picture_windows::kMaxZoom);  // 800 % at most
    auto* canvas = window.findChild<picture_windows::PictureCanvas*>();
    EXPECT_EQ(canvas->width(), 1600 * 8);  // painted in parts, never made whole
    window.fitToWindow();

    window.rotate();
    EXPECT_EQ(window.rotation(), 90);
    EXPECT_EQ(canvas->image().size(), QSize(1000, 1600));

    window.nextPicture();
    QTRY_VERIFY_WITH_TIMEOUT(window.loaded(), 5000);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Picture 2 of 2 - back.png"));
    EXPECT_EQ(window.rotation(), 0);
    EXPECT_FALSE(window.findChild<QPushButton*>("PictureNext")->isEnabled());
    window.nextPicture();  // at the end: stays
    EXPECT_EQ(window.position(), 1);
    window.previousPicture();
    EXPECT_EQ(window.position(), 0);
}

TEST(PictureWindowTest, AMissingPictureShowsItsReason) {
    pictures::Picture p;
    p.path = QStringLiteral("/nonexistent/gone.jpg");
    p.originalName = QStringLiteral("gone.jpg");
    PictureWindow window;
    window.showPictures({p}, 0);
    QTRY_VERIFY_WITH_TIMEOUT(window.loaded(), 5000);
    EXPECT_EQ(window.reason(), QStringLiteral("The picture file is missing."));
}

}  // namespace
