#include "ui/window_base.h"

#include <gtest/gtest.h>

#include "sample_window.h"
#include "ui/scripted_platform.h"

namespace {

class WindowBaseTest : public testing::Test {
  protected:
    ui::ScriptedPlatform platform;
    ui::ScopedPlatform installed{platform};
};

TEST_F(WindowBaseTest, ShowingTwiceWithTheRecordDoesNotCompoundScaling) {
    uitest::SampleWindow w;
    QFont f = w.edit->font();
    f.setPointSize(10);
    w.edit->setFont(f);
    const ui::GeometryRecord record = ui::GeometryRecord::capture(&w);
    ui::ShowOptions options;
    options.geometry = &record;
    options.scaleFactor = 1.25;
    for (int showing = 0; showing < 2; ++showing) {
        ui::prepareWindowForShow(&w, options);
        EXPECT_EQ(w.size(), QSize(500, 375));
        EXPECT_EQ(w.edit->geometry(), QRect(125, 150, 150, 25));
        EXPECT_EQ(w.edit->font().pointSize(), 13);  // 12.5 rounds up
        EXPECT_EQ(w.inGroup->geometry(), QRect(13, 25, 63, 20));
        EXPECT_EQ(w.bevel->geometry(), QRect(6, 313, 375, 50));
    }
    EXPECT_TRUE(platform.boxes().empty());
}

TEST_F(WindowBaseTest, ScalingWithoutRecordScalesFromTheCurrentState) {
    uitest::SampleWindow w;
    ui::scaleWindow(&w, 2.0);
    ui::scaleWindow(&w, 2.0);
    EXPECT_EQ(w.button->geometry(), QRect(40, 720, 240, 96));
}

TEST_F(WindowBaseTest, RecordKeepsTheFirst101ComponentsAndSaysSo) {
    QDialog w;
    std::vector<QLabel*> labels;
    for (int i = 0; i < 102; ++i) {
        labels.push_back(new QLabel(&w));
        labels.back()->setGeometry(0, i, 10, 10);
    }
    const ui::GeometryRecord record = ui::GeometryRecord::capture(&w);
    EXPECT_EQ(record.componentCount(), 101);
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(platform.boxes()[0].text, QStringLiteral("Too many compenents to save dimensions."));
    labels[100]->move(50, 50);
    labels[101]->move(50, 50);
    record.restore();
    EXPECT_EQ(labels[100]->pos(), QPoint(0, 100));
    EXPECT_EQ(labels[101]->pos(), QPoint(50, 50));
}

TEST_F(WindowBaseTest, ExactlyOneHundredAndOneComponentsNeedNoMessage) {
    QDialog w;
    for (int i = 0; i < 101; ++i) new QPushButton(&w);
    EXPECT_EQ(ui::GeometryRecord::capture(&w).componentCount(), 101);
    EXPECT_TRUE(platform.boxes().empty());
}

struct CentreCase {
    const char* name;
    QSize window;
    QSize screen;
    bool moveUp;
    QPoint expected;
};

class Centring : public testing::TestWithParam<CentreCase> {};

TEST_P(Centring, PlacesTheWindow) {
    const CentreCase& c = GetParam();
    EXPECT_EQ(ui::centredPosition(c.window, c.screen, c.moveUp), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, Centring,
    testing::Values(CentreCase{"Centred", {400, 300}, {1024, 768}, false, {312, 234}},
                    CentreCase{"MovedUp", {400, 300}, {1024, 768}, true, {312, 224}},
                    CentreCase{"TopOfElevenMovesToOne", {400, 746}, {1024, 768}, true, {312, 1}},
                    CentreCase{"TopOfTenStays", {400, 748}, {1024, 768}, true, {312, 10}},
                    CentreCase{"LargerThanScreen", {1300, 900}, {1024, 768}, true, {0, 0}}),
    [](const testing::TestParamInfo<CentreCase>& info) { return info.param.name; });

TEST_F(WindowBaseTest, PreparingCentresOnTheSeamsScreenAfterScaling) {
    platform.setScreenSize({1280, 1024});
    uitest::SampleWindow w;
    ui::ShowOptions options;
    options.scaleFactor = 1.6;
    options.moveUp = true;
    ui::prepareWindowForShow(&w, options);
    EXPECT_EQ(w.size(), QSize(640, 480));
    EXPECT_EQ(w.pos(), QPoint(320, 262));
}

TEST_F(WindowBaseTest, FontsAreAppliedBeforeTheRecordedSizesComeBack) {
    uitest::SampleWindow w;
    QFont f = w.label->font();
    f.setPointSize(8);
    w.label->setFont(f);
    const ui::GeometryRecord record = ui::GeometryRecord::capture(&w);
    ui::SharedFonts fonts;
    fonts.label = QFont("Label Face", 20);
    ui::ShowOptions options;
    options.fonts = &fonts;
    options.geometry = &record;
    options.scaleFactor = 2.0;
    ui::prepareWindowForShow(&w, options);
    EXPECT_EQ(w.label->font().family(), QStringLiteral("Label Face"));
    EXPECT_EQ(w.label->font().pointSize(), 16);
}

}  // namespace

namespace {

TEST(WindowPlacement, ADialogIsCentredOnTheWindowThatOpenedItInsideItsScreen) {
    const QRect screen(0, 0, 1280, 1024);
    EXPECT_EQ(ui::centredOn(QSize(200, 100), QRect(100, 100, 400, 300), screen, false),
              QPoint(200, 200));
    EXPECT_EQ(ui::centredOn(QSize(200, 100), QRect(100, 100, 400, 300), screen, true),
              QPoint(200, 190));
    // An opener near the edge: the dialog stays whole on the screen.
    EXPECT_EQ(ui::centredOn(QSize(400, 300), QRect(1200, 900, 100, 100), screen, false),
              QPoint(880, 724));
    EXPECT_EQ(ui::centredOn(QSize(400, 300), QRect(-50, -50, 100, 100), screen, false),
              QPoint(0, 0));
    // A second screen to the right keeps its own origin.
    EXPECT_EQ(ui::centredOn(QSize(200, 100), QRect(1400, 100, 400, 300), QRect(1280, 0, 1920, 1080),
                            false),
              QPoint(1500, 200));
}

TEST(WindowPlacement, ShownOverAVisibleOpenerElseOnTheScreen) {
    ui::ScriptedPlatform platform;
    ui::ScopedPlatform installed{platform};
    QWidget opener;
    opener.setGeometry(50, 60, 300, 200);
    opener.show();
    QDialog dialog(&opener);
    dialog.resize(100, 80);
    ui::prepareWindowForShow(&dialog, ui::ShowOptions{});
    EXPECT_EQ(dialog.pos(), QPoint(150, 120));  // 100 x 80 in the middle of 300 x 200 at (50, 60)
    opener.hide();
    ui::prepareWindowForShow(&dialog, ui::ShowOptions{});
    EXPECT_EQ(dialog.pos(),
              ui::centredPosition(dialog.frameGeometry().size(), QSize(1024, 768), false));
    EXPECT_TRUE(ui::onSomeScreen(QRect(10, 10, 100, 100)));
    EXPECT_FALSE(ui::onSomeScreen(QRect(90000, 10, 100, 100)));
}

}  // namespace
