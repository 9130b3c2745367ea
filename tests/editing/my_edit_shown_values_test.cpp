// TMyEdit: what the program shows in the boxes is shown whole and reads back as shown. Large
// numbers in boxes narrower than their grouped text, totals wider than their labels, stored dates
// in the date box's mask, and an empty collection opened for editing.
#include <QFontMetricsF>
#include <QTest>

#include "my_edit_test_fixture.h"
#include "ui/fitting_label.h"

namespace my_edit_testing {
namespace {

// Replaces the box's text by typing, as the user would.
void typeKeys(QLineEdit* box, const QString& keys) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, keys);
}

void expectShownWhole(QLabel* label) {
    auto* fitting = qobject_cast<ui::FittingLabel*>(label);
    ASSERT_NE(fitting, nullptr) << label->objectName().toStdString();
    EXPECT_LE(QFontMetricsF(fitting->shownFont()).horizontalAdvance(fitting->text()),
              fitting->contentsRect().width())
        << fitting->text().toStdString();
}

TEST_F(MyEditTest, LargeStoredNumbersShowWholeAndAreWrittenBackUnchanged) {
    table.append();
    table.setInteger(table.requireField("Quantity"), 12000);
    table.setNumber(table.requireField("Cost"), 999999999999.0);
    table.setNumber(table.requireField("MarketValu"), 12345678.91);
    table.post();
    open(2);
    EXPECT_EQ(text("Quantity"), QStringLiteral("12,000"));
    EXPECT_EQ(text("PurchPrice"), QStringLiteral("999,999,999,999.00"));
    EXPECT_EQ(text("MarketValue"), QStringLiteral("12,345,678.91"));
    EXPECT_FALSE(editor().ValuesChanged());
    expectShownWhole(editor().findChild<QLabel*>("TotalPPriceLabel"));
    expectShownWhole(editor().findChild<QLabel*>("TotalMValueLabel"));

    ASSERT_TRUE(editor().DoUpdate());
    EXPECT_EQ(table.integer(table.requireField("Quantity")), 12000);
    EXPECT_EQ(table.number(table.requireField("Cost")), 999999999999.0);
    EXPECT_EQ(table.number(table.requireField("MarketValu")), 12345678.91);
}

TEST_F(MyEditTest, TypingStopsAtTheWidthButTheReformattedNumberIsKept) {
    open(1);
    typeKeys(edit("Quantity"), QStringLiteral("999999"));  // one digit more than the box takes
    EXPECT_EQ(text("Quantity"), QStringLiteral("99999"));
    editor().QuantityExit();
    EXPECT_EQ(text("Quantity"), QStringLiteral("99,999"));
    typeKeys(edit("PurchPrice"), QStringLiteral("999999999999"));
    editor().PurchPriceExit();
    EXPECT_EQ(text("PurchPrice"), QStringLiteral("999,999,999,999.00"));
    // The box still takes no more than its width from the keyboard.
    QTest::keyClicks(edit("PurchPrice"), QStringLiteral("5"));
    EXPECT_EQ(text("PurchPrice"), QStringLiteral("999,999,999,999.00"));
    expectShownWhole(editor().findChild<QLabel*>("TotalPPriceLabel"));

    ASSERT_TRUE(editor().DoUpdate());
    EXPECT_EQ(table.integer(table.requireField("Quantity")), 99999);
    EXPECT_EQ(table.number(table.requireField("Cost")), 999999999999.0);
}

TEST_F(MyEditTest, StoredDateShowsInTheMaskAndReadsBackAsTheUserChangedIt) {
    const struct {
        int type;
        bool zeros;
        engine::Date stored;
        QString shown;
        int at;  // cursor position where the user types
        const char* keys;
        QString changed;
        const char* written;
    } cases[] = {
        // The last digit of the year replaced (backspace, then the new digit).
        {1, false, {1998, 3, 15}, "03/15/1998", 10, "\b7", "03/15/1997", "19970315"},
        // The day typed over; a year of another century stays in it.
        {4, true, {1898, 7, 3}, "03/07/1898", 0, "04", "04/07/1898", "18980704"},
        {8, false, {2003, 11, 5}, "11-05-2003", 3, "06", "11-06-2003", "20031106"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown.toStdString());
        collection::applyDateFormat(c.type, c.zeros);
        table.append();
        table.setDate(table.requireField("Date"), c.stored);
        table.post();
        open(2);
        ui::MaskedEdit* box = dateBox();
        EXPECT_EQ(box->displayText(), c.shown);
        box->setCursorPosition(c.at);
        for (const char key : std::string_view(c.keys)) {
            if (key == '\b')
                QTest::keyClick(box, Qt::Key_Backspace);
            else
                QTest::keyClicks(box, QString(QChar(key)));
        }
        EXPECT_EQ(box->displayText(), c.changed);
        ASSERT_TRUE(editor().DoUpdate());
        EXPECT_EQ(field("Date"), c.written);
        editor().done(0);
    }
}

TEST_F(MyEditTest, EditOnAnEmptyCollectionAddsTheRecord) {
    open(2);
    EXPECT_EQ(mode, 1);
    type("AlphaCatalog", QStringLiteral("SG 1"));
    editor().DoAnUpdate();
    EXPECT_TRUE(platform.boxes().empty()) << platform.boxSummary().join(u'\n').toStdString();
    ASSERT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(field("Catalog"), "SG 1");
    EXPECT_EQ(mode, 2);
    // Next on the one record stays on it and edits it.
    editor().DoNextRecord();
    type("AlphaCatalog", QStringLiteral("SG 2"));
    ASSERT_TRUE(editor().DoUpdate());
    EXPECT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(field("Catalog"), "SG 2");
}

}  // namespace
}  // namespace my_edit_testing
