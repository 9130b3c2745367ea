// The pick-list boxes keep what the user types: no inline completion, and no listed spelling
// taking the place of a typed one when the box is left.
#include "ui/list_combo_box.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

namespace {

TEST(ListComboBox, TypedTextIsNeverCompletedOrReplacedByAnItem) {
    QWidget window;
    auto* box = new ui::ListComboBox(&window);
    auto* other = new QLineEdit(&window);
    box->setItems({QStringLiteral("Congo (Brazzaville)"), QStringLiteral("France")});
    window.show();
    for (const QString& typed : {QStringLiteral("Congo"), QStringLiteral("france")}) {
        SCOPED_TRACE(typed.toStdString());
        box->setEditText(QString());
        box->setFocus();
        QTest::keyClicks(box->lineEdit(), typed);
        EXPECT_EQ(box->currentText(), typed);
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(box->currentText(), typed);
        other->setFocus();  // leaving the box
        box->lineEdit()->clearFocus();
        emit box->lineEdit()->editingFinished();
        EXPECT_EQ(box->currentText(), typed);
        EXPECT_EQ(box->count(), 2);
    }
    // Choosing an item from the list still puts it into the box.
    box->setCurrentIndex(1);
    EXPECT_EQ(box->currentText(), QStringLiteral("France"));
}

}  // namespace
