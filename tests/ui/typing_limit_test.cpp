// Typing limits that never cut what the program shows, and labels that show their text whole.
#include "ui/typing_limit.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontMetricsF>
#include <QLineEdit>
#include <QTest>

#include "ui/fitting_label.h"

namespace {

TEST(TypingLimit, TypingAndPastingStopAtTheWidth) {
    QLineEdit box;
    ui::limitTyping(&box, 5);
    EXPECT_EQ(ui::typingLimit(&box), 5);
    QTest::keyClicks(&box, QStringLiteral("1234567"));
    EXPECT_EQ(box.text(), QStringLiteral("12345"));
    box.clear();
    box.insert(QStringLiteral("ab"));
    box.setCursorPosition(1);
    box.insert(QStringLiteral("XYZW"));  // only as much as fits, from the start of the paste
    EXPECT_EQ(box.text(), QStringLiteral("aXYZb"));
}

TEST(TypingLimit, TextTheProgramShowsIsKeptWholeAndTypingDoesNotLengthenIt) {
    QLineEdit box;
    ui::limitTyping(&box, 5);
    ui::showText(&box, QStringLiteral("12,000"));
    EXPECT_EQ(box.text(), QStringLiteral("12,000"));
    QTest::keyClicks(&box, QStringLiteral("7"));
    EXPECT_EQ(box.text(), QStringLiteral("12,000"));
    box.setSelection(0, 1);
    QTest::keyClicks(&box, QStringLiteral("3"));  // typing over a character keeps the length
    EXPECT_EQ(box.text(), QStringLiteral("32,000"));
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClicks(&box, QStringLiteral("45"));
    EXPECT_EQ(box.text(), QStringLiteral("2,000"));  // back within the width: the limit holds
    // Text the program sets without showText is cut as typed text would be.
    box.setText(QStringLiteral("123456"));
    EXPECT_EQ(box.text(), QStringLiteral("12345"));

    QComboBox combo;
    combo.setEditable(true);
    ui::limitTyping(combo.lineEdit(), 5);
    ui::showText(&combo, QStringLiteral("Switzerland"));
    EXPECT_EQ(combo.currentText(), QStringLiteral("Switzerland"));
}

TEST(FittingLabel, ShowsAWideTextWholeInASmallerFont) {
    ui::FittingLabel label;
    const QFont own = label.font();
    label.resize(90, 20);
    label.setText(QStringLiteral("1.00 "));
    EXPECT_EQ(label.shownFont(), label.font());
    label.setText(QStringLiteral("99,998,999,999,900,000.00 "));
    const QFont shown = label.shownFont();
    EXPECT_LT(shown.pointSizeF(), QFontInfo(label.font()).pointSizeF());
    EXPECT_LE(QFontMetricsF(shown).horizontalAdvance(label.text()), 90);
    EXPECT_EQ(label.font(), own);  // the label's own font is left alone
}

}  // namespace
