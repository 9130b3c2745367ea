// TMyEdit: opening in each mode, record defaults, totals, leaving the number boxes, Wanted,
// the Enter order, labels and the Edit menu.
#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

#include "collection/data_list_files.h"
#include "editing/my_miscellaneous.h"
#include "my_edit_test_fixture.h"
#include "ui/typing_limit.h"

namespace my_edit_testing {
namespace {

using editing::kInputFieldCount;

TEST_F(MyEditTest, AddWithoutDefaultsShowsAnEmptyRecord) {
    global.defaults.values[editing::kCountry - 1] = QStringLiteral("France");  // not loaded
    open(1);
    EXPECT_EQ(text("Country"), QString());
    EXPECT_EQ(text("Description"), QString());
    EXPECT_EQ(text("Quantity"), QStringLiteral("1"));
    EXPECT_EQ(text("PurchPrice"), QStringLiteral("0"));
    EXPECT_EQ(text("MarketValue"), QStringLiteral("0"));
    EXPECT_EQ(text("PurchDate").trimmed(), QStringLiteral("/  /"));
    EXPECT_FALSE(wanted()->isChecked());
    EXPECT_EQ(label("TotalPPriceLabel"), QStringLiteral("0.00 "));
    EXPECT_EQ(label("TotalMValueLabel"), QStringLiteral("0.00 "));
    EXPECT_EQ(editor().windowTitle(), QStringLiteral("Input Stamps"));
    EXPECT_FALSE(editor().ValuesChanged());
}

TEST_F(MyEditTest, AddWithDefaultsLoadsThemAndWantedHidesTheQuantity) {
    global.defaults.loadWithAdd = true;
    global.defaults.values[editing::kCountry - 1] = QStringLiteral("France");
    global.defaults.values[editing::kQuantity - 1] = QStringLiteral("4");
    global.defaults.values[editing::kPurchPrice - 1] = QStringLiteral("2.5");
    global.defaults.wanted = true;
    open(1);
    EXPECT_EQ(text("Country"), QStringLiteral("France"));
    EXPECT_EQ(text("Quantity"), QStringLiteral("0"));
    EXPECT_FALSE(edit("Quantity")->isEnabled());
    EXPECT_EQ(label("TotalPPriceLabel"), QStringLiteral("0.00 "));
    wanted()->click();
    EXPECT_EQ(text("Quantity"), QStringLiteral("4"));
    EXPECT_EQ(label("TotalPPriceLabel"), QStringLiteral("10.00 "));
}

TEST_F(MyEditTest, EditLoadsTheCurrentRecordInDisplayFormats) {
    table.append();
    table.setText("Catalog", "A-1");
    table.setText("Country", "Austria");
    table.setNumber(table.requireField("Cost"), 1234.5);
    table.setNumber(table.requireField("MarketValu"), 2);
    table.setInteger(table.requireField("Quantity"), 1200);
    table.setInteger(table.requireField("Year"), 1850);
    table.setDate(table.requireField("Date"), engine::Date{1997, 7, 3});
    table.setText("Wanted", "No");
    table.post();
    open(2);
    EXPECT_EQ(text("AlphaCatalog"), QStringLiteral("A-1"));
    EXPECT_EQ(text("Country"), QStringLiteral("Austria"));
    EXPECT_EQ(text("PurchPrice"), QStringLiteral("1,234.50"));
    EXPECT_EQ(text("MarketValue"), QStringLiteral("2.00"));
    EXPECT_EQ(text("Quantity"), QStringLiteral("1,200"));
    EXPECT_EQ(text("Year"), QStringLiteral("1850"));
    EXPECT_EQ(text("PurchDate"), QStringLiteral("07/03/1997"));
    EXPECT_EQ(label("TotalPPriceLabel"), QStringLiteral("1,481,400.00 "));
    EXPECT_FALSE(editor().ValuesChanged());
}

TEST_F(MyEditTest, TotalsFollowQuantityAndPrice) {
    open(1);
    type("Quantity", QStringLiteral("3"));
    type("PurchPrice", QStringLiteral("1234.5"));
    editor().CalcTotals();
    EXPECT_EQ(label("TotalPPriceLabel"), QStringLiteral("3,703.50 "));
    EXPECT_EQ(label("TotalMValueLabel"), QStringLiteral("0.00 "));
}

TEST_F(MyEditTest, LeavingAnAmountReformatsItUnlessEmpty) {
    open(1);
    type("PurchPrice", QStringLiteral("1234.5"));
    editor().PurchPriceExit();
    EXPECT_EQ(text("PurchPrice"), QStringLiteral("1,234.50"));
    type("MarketValue", QString());
    editor().MarketValueExit();
    EXPECT_EQ(text("MarketValue"), QString());
    type("Quantity", QStringLiteral("1234"));
    editor().QuantityExit();
    EXPECT_EQ(text("Quantity"), QStringLiteral("1,234"));
    EXPECT_EQ(label("TotalPPriceLabel"), QStringLiteral("1,523,373.00 "));
}

TEST_F(MyEditTest, LosingFocusToAnotherControlRunsTheLeavingHandler) {
    open(1);
    type("PurchPrice", QStringLiteral("7"));
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(edit("PurchPrice"), &out);
    EXPECT_EQ(text("PurchPrice"), QStringLiteral("7.00"));
}

TEST_F(MyEditTest, WantedShowsZeroAndUncheckingRestoresTheQuantity) {
    open(1);
    type("Quantity", QStringLiteral("5"));
    type("MarketValue", QStringLiteral("2"));
    editor().QuantityExit();
    EXPECT_EQ(label("TotalMValueLabel"), QStringLiteral("10.00 "));
    wanted()->click();
    EXPECT_EQ(text("Quantity"), QStringLiteral("0"));
    EXPECT_FALSE(edit("Quantity")->isEnabled());
    EXPECT_EQ(label("TotalMValueLabel"), QStringLiteral("0.00 "));
    wanted()->click();
    EXPECT_EQ(text("Quantity"), QStringLiteral("5"));
    EXPECT_TRUE(edit("Quantity")->isEnabled());
    EXPECT_EQ(label("TotalMValueLabel"), QStringLiteral("10.00 "));
}

TEST_F(MyEditTest, EnterMovesAlongTheEnterOrder) {
    open(1);
    const auto pressEnter = [this](QWidget* target) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
        return editor().focusWidget();
    };
    EXPECT_EQ(pressEnter(dateBox()), combo("Topic"));
    EXPECT_EQ(pressEnter(combo("Topic")->lineEdit()), edit("Misc"));
    EXPECT_EQ(pressEnter(edit("UserDef3")), edit("Quantity"));
    EXPECT_EQ(pressEnter(edit("MarketValue")), combo("Country"));
    wanted()->click();
    EXPECT_EQ(pressEnter(edit("UserDef3")), edit("PurchPrice"));
    EXPECT_EQ(pressEnter(wanted()), edit("UserDef1"));

    // The whole order, from Country round to Country.
    const char* order[] = {"FaceValue", "AlphaCatalog", "NumericCatalog", "Year",
                           "Condition", "StampType",    "Group",          "Cancellation",
                           "Gum",       "Description",  "Comments",       "Hinged",
                           "ColorBox",  "PurchDate",    "Topic",          "Misc",
                           "Faults",    "Wanted",       "UserDef1",       "UserDef2",
                           "UserDef3",  "PurchPrice",   "MarketValue",    "Country"};
    int field = editing::kCountry;
    for (const char* name : order) {
        field = editor().nextInEnterOrder(field);
        EXPECT_EQ(editor().control(field)->objectName(), QString::fromLatin1(name));
    }
    // Enter on a button does not move the focus.
    auto* button = editor().findChild<QPushButton*>("BlankDate");
    button->setFocus();
    EXPECT_EQ(pressEnter(button), button);
}

TEST_F(MyEditTest, LabelsComeFromTheFieldLabelsAtEveryShowing) {
    settings.field(editing::kCountry).label = QStringLiteral("Land");
    settings.field(editing::kWanted).label = QStringLiteral("Desired");
    open(1);
    EXPECT_EQ(label("CountryLabel"), QStringLiteral("Land"));
    EXPECT_EQ(wanted()->text(), QStringLiteral("Desired"));
    editor().done(0);
    settings.field(editing::kCountry).label = QStringLiteral("Nation");
    editor().show();
    EXPECT_EQ(label("CountryLabel"), QStringLiteral("Nation"));
}

TEST_F(MyEditTest, InputWidthsAndDateSeparatorFollowTheFormat) {
    open(1);
    EXPECT_EQ(ui::typingLimit(edit("Year")), 4);
    EXPECT_EQ(ui::typingLimit(edit("Quantity")), 5);
    EXPECT_EQ(ui::typingLimit(combo("ColorBox")->lineEdit()), 16);
    EXPECT_EQ(ui::typingLimit(edit("Description")), 110);
    editor().done(0);
    collection::applyDateFormat(5, true);
    editor().show();
    EXPECT_EQ(text("PurchDate").trimmed(), QStringLiteral("-  -"));
}

TEST_F(MyEditTest, BrowseModeDisablesTheChangingCommands) {
    browse = true;
    open(2);
    for (const char* name : {"MenuNew", "MenuClear", "MenuUpdate", "MenuUpdateExit", "MenuCut",
                             "MenuCopy", "MenuPaste", "MenuDelete", "MenuSaveDefaults",
                             "MenuLoadDefaults", "MenuLoadWithAdd", "MenuLoadWithClear"})
        EXPECT_FALSE(editor().findChild<QAction*>(name)->isEnabled()) << name;
    for (const char* name :
         {"MenuCopyRecord", "MenuPrintRecord", "MenuPrevious", "MenuNext", "MenuExit"})
        EXPECT_TRUE(editor().findChild<QAction*>(name)->isEnabled()) << name;
    for (const char* name : {"UpdateExitButton", "UpdateButton", "ClearButton"})
        EXPECT_FALSE(editor().findChild<QPushButton*>(name)->isEnabled()) << name;
    EXPECT_TRUE(editor().findChild<QPushButton*>("NextButton")->isEnabled());
}

TEST_F(MyEditTest, EditMenuWorksOnTheFocusedBoxThroughTheClipboard) {
    open(1);
    type("Description", QStringLiteral("Penny Black"));
    edit("Description")->setFocus();
    edit("Description")->setSelection(0, 5);
    editor().EditCut();
    EXPECT_EQ(platform.clipboardText(), QStringLiteral("Penny"));
    EXPECT_EQ(text("Description"), QStringLiteral(" Black"));
    combo("Country")->setFocus();
    editor().EditPaste();
    EXPECT_EQ(text("Country"), QStringLiteral("Penny"));
    combo("Country")->lineEdit()->selectAll();
    editor().EditDelete();
    EXPECT_EQ(text("Country"), QString());
    wanted()->setFocus();
    editor().EditPaste();  // not a text box: nothing happens
    EXPECT_FALSE(wanted()->isChecked());
}

TEST_F(MyEditTest, SelectButtonRewritesTheMiscellaneousText) {
    testing_support::writeDefaultList(collection::kMiscList, {"Perfin", "Coil"});
    open(1);
    type("Misc", QStringLiteral("Perfin"));
    platform.queueModal([](QDialog& dialog) {
        auto& window = dynamic_cast<editing::TMyMiscellaneous&>(dialog);
        window.MiscList->item(0)->setSelected(true);  // "Coil", sorted first
        window.OkButton->click();
    });
    editor().findChild<QPushButton*>("MiscSelect")->click();
    EXPECT_EQ(text("Misc"), QStringLiteral("Coil, Perfin"));
    platform.queueModal([](QDialog& dialog) {
        dynamic_cast<editing::TMyMiscellaneous&>(dialog).CancelButton->click();
    });
    editor().findChild<QPushButton*>("FaultsSelect")->click();
    EXPECT_EQ(platform.modals().back().title, QStringLiteral("Faults"));
    EXPECT_EQ(text("Faults"), QString());
}

TEST_F(MyEditTest, ShowingAgainAtAScaleDoesNotCompound) {
    const double factor = 1.25;
    scale = &factor;
    open(1);
    const QSize first = editor().size();
    editor().done(0);
    editor().show();
    EXPECT_EQ(editor().size(), first);
    EXPECT_EQ(edit("Year")->width(), 110);  // 88 design pixels x 1.25
}

TEST_F(MyEditTest, HelpOpensTheInputWindowKeyword) {
    open(1);
    editor().findChild<QAction*>("MenuHelp")->trigger();
    ASSERT_EQ(platform.helpRequests().size(), 1u);
    EXPECT_EQ(platform.helpRequests()[0].keyword, QStringLiteral("Input Window"));
}

}  // namespace
}  // namespace my_edit_testing
