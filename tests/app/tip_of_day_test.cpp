// The tip window and when it comes up.
#include "app/tip_of_day.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <set>

#include "app_test_env.h"

namespace app::testing {
namespace {

TEST(TipOfDayTest, StepsThroughTheTwentyFourTipsAndWraps) {
    ASSERT_EQ(TTipOfDay::tips().size(), 24);
    EXPECT_EQ(TTipOfDay::tips().first(),
              QStringLiteral("You can rename database fields to your liking."));
    EXPECT_EQ(TTipOfDay::tips().last(),
              QStringLiteral("A \"Browse Mode\" is available where a user has access to the data, "
                             "but cannot change it."));
    TTipOfDay tips(true, 1.0, nullptr, 22);
    EXPECT_EQ(tips.windowTitle(), QStringLiteral("Tip of the Day"));
    EXPECT_EQ(tips.findChild<QLabel*>(QStringLiteral("HeadingLabel"))->text(),
              QStringLiteral("Did you know?"));
    auto* next = tips.findChild<QPushButton*>(QStringLiteral("NextTipButton"));
    EXPECT_EQ(next->text(), QStringLiteral("&Next Tip"));
    next->click();
    EXPECT_EQ(tips.currentTip(), 23);
    next->click();
    EXPECT_EQ(tips.currentTip(), 0);
    EXPECT_EQ(tips.findChild<QLabel*>(QStringLiteral("TipLabel"))->text(),
              TTipOfDay::tips().first());
    EXPECT_TRUE(tips.showTipsChecked());
}

TEST(TipOfDayTest, StartsAtARandomTip) {
    std::set<int> starts;
    for (int i = 0; i < 60; ++i) starts.insert(TTipOfDay(false, 1.0).currentTip());
    EXPECT_GT(starts.size(), 1u);
    for (int tip : starts) EXPECT_TRUE(tip >= 0 && tip < 24);
}

using TipsAtStartTest = AppTest;

TEST_F(TipsAtStartTest, FirstActivationShowsTipsAndTheCheckBoxDecidesNextTime) {
    TMain& w = start();
    platform_.queueModal([](QDialog& dialog) {
        auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("ShowTipsCheck"));
        EXPECT_EQ(box->text(), QStringLiteral("&Show Tips at Startup"));
        EXPECT_TRUE(box->isChecked());
        box->setChecked(false);
    });
    w.FormActivate();
    w.FormActivate();  // only the first activation counts
    QCoreApplication::processEvents();
    ASSERT_EQ(platform_.modals().size(), 1u);
    EXPECT_EQ(platform_.modals()[0].title, QStringLiteral("Tip of the Day"));
    EXPECT_FALSE(w.globalSettings().misc.showTips);
}

TEST_F(TipsAtStartTest, NoTipsWhenSwitchedOff) {
    setGlobal("Misc", "Show Tips", "no");
    TMain& w = start();
    w.FormActivate();
    QCoreApplication::processEvents();
    EXPECT_TRUE(platform_.modals().empty());
}

}  // namespace
}  // namespace app::testing
