// TMyEdit: updates (checks, what is written, the lists that grow), the questions before leaving
// a record, New and Copy Record, and the record defaults.
#include <QFile>
#include <QProcess>
#include <QPushButton>

#include "collection/data_list_files.h"
#include "collection/profile_file.h"
#include "collection/settings_paths.h"
#include "engine/error.h"
#include "my_edit_test_fixture.h"

namespace my_edit_testing {
namespace {

using ui::MessageAnswer;

const QString kNotUpdatedPrevious = QStringLiteral(
    "This record has not been updated yet.  Update this record before moving to the previous "
    "record?");

TEST_F(MyEditTest, RefusedUpdateShowsTheMessageFocusesAndWritesNothing) {
    open(1);
    type("Country", QStringLiteral("Norway"));
    type("Year", QStringLiteral("19a5"));
    const editing::RecordTexts before = editor().controlTexts();
    EXPECT_FALSE(editor().DoUpdate());
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(platform.boxes()[0].text, QStringLiteral("Invalid year specified.  Please correct."));
    EXPECT_EQ(platform.boxes()[0].sound, ui::MessageIcon::Error);
    EXPECT_EQ(editor().focusWidget(), edit("Year"));
    EXPECT_EQ(table.recordCount(), 0u);
    EXPECT_EQ(editor().controlTexts(), before);
    EXPECT_EQ(combo("Country")->count(), 0);  // lists grow only with a written record
    EXPECT_EQ(mode, 1);
}

TEST_F(MyEditTest, ImpossibleDateIsRefusedWithTheDateMessage) {
    collection::applyDateFormat(7, true);
    open(1);
    type("PurchDate", QStringLiteral("13/45/1999"));
    EXPECT_FALSE(editor().DoUpdate());
    EXPECT_EQ(platform.boxSummary(),
              QStringList{"Error: Invalid acquired date specified.  Please correct."});
    EXPECT_EQ(editor().focusWidget(), dateBox());
}

TEST_F(MyEditTest, UpdateInsertsThenEditsTheSameRecord) {
    open(1);
    type("AlphaCatalog", QStringLiteral("SG 1"));
    type("Year", QStringLiteral("    "));
    type("UserDef1", QStringLiteral("  padded  "));
    editor().DoAnUpdate();
    EXPECT_TRUE(platform.boxes().empty());
    ASSERT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(mode, 2);
    EXPECT_EQ(field("Catalog"), "SG 1");
    EXPECT_EQ(field("Year"), "0");
    EXPECT_EQ(field("UserDef1"), "padded");
    EXPECT_EQ(field("Date"), "");  // the box showed only its separators
    EXPECT_EQ(field("Quantity"), "1");
    EXPECT_EQ(field("Wanted"), "No");
    EXPECT_FALSE(editor().ValuesChanged());

    type("AlphaCatalog", QStringLiteral("SG 2"));
    editor().DoAnUpdate();
    EXPECT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(field("Catalog"), "SG 2");
}

TEST_F(MyEditTest, UpdateWhileWantedWritesQuantityZeroAndYes) {
    open(1);
    type("Quantity", QStringLiteral("7"));
    wanted()->click();
    ASSERT_TRUE(editor().DoUpdate());
    EXPECT_EQ(field("Quantity"), "0");
    EXPECT_EQ(field("Wanted"), "Yes");
}

TEST_F(MyEditTest, UntouchedTwoDigitYearDateIsWrittenBackAsStored) {
    table.append();
    table.setDate(table.requireField("Date"), engine::Date{1925, 5, 6});
    table.post();
    open(2);  // shown as 5/6/25, which would read as 2025
    ASSERT_TRUE(editor().DoUpdate());
    EXPECT_EQ(field("Date"), "19250506");
    type("PurchDate", QStringLiteral(" 5/ 7/25"));  // a typed date: the century window decides
    ASSERT_TRUE(editor().DoUpdate());
    EXPECT_EQ(field("Date"), "20250507");
}

TEST_F(MyEditTest, NewCountryTopicAndConditionGrowTheirListsOnce) {
    open(1);
    type("Country", QStringLiteral("France "));
    type("Topic", QStringLiteral("Ships"));
    type("Condition", QStringLiteral("Mint"));
    type("Gum", QStringLiteral("Original"));
    ASSERT_TRUE(editor().DoUpdate());
    ASSERT_TRUE(editor().DoUpdate());
    type("Country", QStringLiteral("france"));
    ASSERT_TRUE(editor().DoUpdate());
    const auto items = [](const QComboBox* box) {
        QStringList list;
        for (int i = 0; i < box->count(); ++i) list.append(box->itemText(i));
        return list;
    };
    EXPECT_EQ(items(combo("Country")), (QStringList{"France", "france"}));
    EXPECT_EQ(items(mainBoxes.comboForField(editing::kCountry)), (QStringList{"France", "france"}));
    EXPECT_EQ(items(combo("Topic")), QStringList{"Ships"});
    EXPECT_EQ(items(mainBoxes.comboForField(editing::kCondition)), QStringList{"Mint"});
    EXPECT_EQ(combo("Gum")->count(), 0);
    EXPECT_EQ(mainBoxes.comboForField(editing::kGum)->count(), 0);
    // Closing the window writes the collection's lists.
    editor().done(0);
    EXPECT_EQ(collection::readListFile(collection::collectionListPath(program.base(), 1)),
              (QStringList{"France", "france"}));
}

TEST_F(MyEditTest, PreviousRightAfterNewRecordAsksTheNotUpdatedQuestion) {
    addRecord("A");
    open(2);
    editor().MenuNewClick();
    EXPECT_EQ(editor().windowTitle(), QStringLiteral("Edit (New Record)"));
    EXPECT_EQ(mode, 1);
    platform.queueAnswer(MessageAnswer::Cancel);
    editor().DoPreviousRecord();
    ASSERT_EQ(platform.boxes().size(), 1u);
    const ui::ShownBox& box = platform.boxes()[0];
    EXPECT_EQ(box.title, QStringLiteral("Warning"));
    EXPECT_EQ(box.text, kNotUpdatedPrevious);
    EXPECT_EQ(box.buttons, ui::MessageButtons::YesNoCancel);
    EXPECT_EQ(box.defaultAnswer, MessageAnswer::No);
    EXPECT_EQ(box.sound, ui::MessageIcon::Question);
    EXPECT_EQ(mode, 1);  // Cancel stays

    platform.queueAnswer(MessageAnswer::No);
    editor().DoPreviousRecord();  // goes on without writing: record A again
    EXPECT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(text("AlphaCatalog"), QStringLiteral("A"));
    EXPECT_EQ(mode, 2);
}

TEST_F(MyEditTest, YesUpdatesBeforeMovingAndAFailedUpdateStays) {
    addRecord("A");
    addRecord("B");
    table.first();
    open(2);
    type("Year", QStringLiteral("x"));
    platform.queueAnswer(MessageAnswer::Yes);
    editor().DoNextRecord();
    EXPECT_EQ(platform.boxSummary(),
              (QStringList{"Warning: Data has changed.  Update this record before moving to the "
                           "next record?",
                           "Error: Invalid year specified.  Please correct."}));
    EXPECT_EQ(text("AlphaCatalog"), QStringLiteral("A"));

    type("Year", QStringLiteral("1901"));
    platform.queueAnswer(MessageAnswer::Yes);
    editor().DoNextRecord();
    EXPECT_EQ(text("AlphaCatalog"), QStringLiteral("B"));
    editor().DoNextRecord();  // at the end: B again, no question
    EXPECT_EQ(text("AlphaCatalog"), QStringLiteral("B"));
    editor().DoPreviousRecord();
    EXPECT_EQ(text("Year"), QStringLiteral("1901"));
    EXPECT_EQ(platform.boxes().size(), 3u);
}

TEST_F(MyEditTest, BrowseModeNeverAsks) {
    browse = true;
    addRecord("A");
    addRecord("B");
    open(1);
    type("Description", QStringLiteral("changed"));
    editor().DoPreviousRecord();
    type("Description", QStringLiteral("changed"));
    editor().DoNextRecord();
    type("Description", QStringLiteral("changed"));
    editor().DoExit();
    EXPECT_TRUE(platform.boxes().empty());
    EXPECT_FALSE(editor().isVisible());
}

TEST_F(MyEditTest, ExitAsksOnlyWhenDataChanged) {
    open(1);
    type("Description", QStringLiteral("changed"));
    editor().DoExit();  // scripted default answer: No
    EXPECT_TRUE(editor().isVisible());
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].text,
              QStringLiteral("Data has changed.  Do you want to exit without updating?"));
    EXPECT_EQ(platform.boxes()[0].buttons, ui::MessageButtons::YesNo);
    EXPECT_EQ(platform.boxes()[0].sound, ui::MessageIcon::Question);
    type("Description", QString());
    editor().DoExit();
    EXPECT_FALSE(editor().isVisible());
    EXPECT_EQ(platform.boxes().size(), 1u);
}

TEST_F(MyEditTest, CopyRecordInsertsTheShownTextsAsANewRecord) {
    addRecord("A", "Chile", 2);
    open(2);
    editor().MenuCopyRecordClick();
    EXPECT_EQ(editor().windowTitle(), QStringLiteral("Edit (New Copied Record)"));
    EXPECT_FALSE(editor().ValuesChanged());
    editor().findChild<QPushButton*>("UpdateExitButton")->click();
    EXPECT_FALSE(editor().isVisible());
    EXPECT_EQ(table.recordCount(), 2u);
    EXPECT_EQ(field("Country"), "Chile");
    EXPECT_EQ(field("Quantity"), "2");
}

TEST_F(MyEditTest, EngineFailureCancelsThePendingInsertAndKeepsTheMode) {
    // A collection whose Year field holds two digits: the engine refuses 1999 while writing.
    table.close();
    std::vector<engine::FieldDef> defs;
    for (const collection::SchemaField& f : collection::stampSchema()) {
        engine::FieldDef def{std::string(f.name), engine::FieldType::Character, f.length, 0};
        if (f.kind == collection::FieldKind::Integer)
            def = {def.name, engine::FieldType::Numeric, 11};
        if (f.kind == collection::FieldKind::Float)
            def = {def.name, engine::FieldType::Numeric, 20, 4};
        if (f.kind == collection::FieldKind::Date) def = {def.name, engine::FieldType::Date, 8};
        if (f.number == editing::kYear) def.length = 2;
        defs.push_back(def);
    }
    engine::Table::create(dbfPath().toStdString(), defs);
    table.open(dbfPath().toStdString(), engine::OpenMode::Shared);
    open(1);
    type("Year", QStringLiteral("1999"));
    EXPECT_THROW(editor().DoUpdate(), engine::EngineError);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(table.state(), engine::EditState::Browse);
    type("Year", QStringLiteral("99"));
    ASSERT_TRUE(editor().DoUpdate());
    EXPECT_EQ(table.recordCount(), 1u);
}

TEST_F(MyEditTest, SavedDefaultsAreWrittenToTheSettingsFileAndLoadedWithAdd) {
    open(1);
    type("Country", QStringLiteral("Italy"));
    type("ColorBox", QStringLiteral("Sixteen chars xx"));
    type("Quantity", QStringLiteral("3"));
    editor().findChild<QAction*>("MenuSaveDefaults")->trigger();
    editor().findChild<QAction*>("MenuLoadWithAdd")->trigger();
    EXPECT_TRUE(global.defaults.loadWithAdd);
    editor().done(0);

    const collection::GlobalSettings stored = collection::readGlobal(QString());
    EXPECT_EQ(stored.defaults.values[editing::kCountry - 1], QStringLiteral("Italy"));
    EXPECT_EQ(stored.defaults.values[editing::kColorBox - 1], QStringLiteral("Sixteen chars x"));
    EXPECT_TRUE(QFile::exists(collection::globalSettingsPath()));

    global = stored;
    global.defaults.loadWithAdd = true;
    open(1);
    EXPECT_EQ(text("Country"), QStringLiteral("Italy"));
    EXPECT_EQ(text("Quantity"), QStringLiteral("3"));
    editor().ClearClick();  // Clear without its flag empties
    EXPECT_EQ(text("Country"), QString());
    editor().LoadDefaultsClick();
    EXPECT_EQ(text("Country"), QStringLiteral("Italy"));
}

// A record added through the editor, read back field by field by Python's dbf package.
TEST_F(MyEditTest, RecordAddedThroughTheEditorReadsBackInPythonDbf) {
    if (QProcess::execute(QStringLiteral("/usr/bin/python3"),
                          {QStringLiteral("-c"), QStringLiteral("import dbf")}) != 0)
        GTEST_SKIP() << "/usr/bin/python3 has no dbf package";
    collection::applyDateFormat(10, true);
    open(1);
    type("AlphaCatalog", QStringLiteral("SG 1a"));
    type("Description", QStringLiteral("Penny Black, plate 1a"));
    type("Country", QStringLiteral("Great Britain"));
    type("FaceValue", QStringLiteral("1d"));
    type("MarketValue", QStringLiteral("3,500.25"));
    type("Quantity", QStringLiteral("2"));
    type("Year", QStringLiteral("1840"));
    type("Comments", QStringLiteral("Four margins"));
    type("Condition", QStringLiteral("Used"));
    type("Group", QStringLiteral("Line engraved"));
    type("StampType", QStringLiteral("Definitive"));
    type("Cancellation", QStringLiteral("Maltese Cross"));
    type("Topic", QStringLiteral("Royalty"));
    type("PurchDate", QStringLiteral("06/05/1999"));
    type("PurchPrice", QStringLiteral("1234.5"));
    type("Gum", QStringLiteral("None"));
    type("ColorBox", QStringLiteral("Black"));
    type("Faults", QStringLiteral("Thin"));
    type("Hinged", QStringLiteral("No"));
    type("Misc", QStringLiteral("Perfin, Coil"));
    type("NumericCatalog", QStringLiteral("-17"));
    type("UserDef1", QStringLiteral(" one "));
    type("UserDef2", QStringLiteral("two"));
    type("UserDef3", QStringLiteral("three"));
    editor().findChild<QPushButton*>("UpdateExitButton")->click();
    ASSERT_TRUE(platform.boxes().empty()) << platform.boxSummary().join(u'\n').toStdString();
    table.close();

    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral(R"PY(
import sys, datetime, dbf
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_ONLY)
r = t[0]
for name in t.field_names:
    v = r[name]
    if isinstance(v, datetime.date): v = v.strftime('%Y%m%d')
    elif isinstance(v, float): v = '%.4f' % v
    elif v is None: v = ''
    print('%s=%s' % (name.upper(), str(v).rstrip()))
t.close()
)PY"),
                                                      dbfPath()});
    ASSERT_TRUE(python.waitForFinished(30000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QStringList lines =
        QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    const QStringList expected = {"CATALOG=SG 1a",
                                  "DESCRIPTIO=Penny Black, plate 1a",
                                  "COUNTRY=Great Britain",
                                  "FACEVALUE=1d",
                                  "MARKETVALU=3500.2500",
                                  "QUANTITY=2",
                                  "YEAR=1840",
                                  "COMMENTS=Four margins",
                                  "CONDITION=Used",
                                  "GROUP=Line engraved",
                                  "STAMPTYPE=Definitive",
                                  "CANCELLATI=Maltese Cross",
                                  "TOPIC=Royalty",
                                  "DATE=19990506",
                                  "COST=1234.5000",
                                  "GUM=None",
                                  "COLOR=Black",
                                  "FAULTS=Thin",
                                  "HINGED=No",
                                  "MISCELLANE=Perfin, Coil",
                                  "CATALOGI=-17",
                                  "USERDEF1=one",
                                  "USERDEF2=two",
                                  "USERDEF3=three",
                                  "WANTED=No"};
    EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace my_edit_testing

namespace my_edit_testing {
namespace {

// The thirteenth date format: the date box puts the year first, and what it shows reads back as
// the same date, also for years before 1950.
TEST_F(MyEditTest, IsoDatesAreShownAndTypedYearFirst) {
    collection::applyDateFormat(collection::kIsoDateType, true);
    table.append();
    table.setDate(table.requireField("Date"), engine::Date{1897, 3, 7});
    table.post();
    open(2);
    EXPECT_EQ(text("PurchDate"), QStringLiteral("1897-03-07"));
    ASSERT_TRUE(editor().DoUpdate());
    EXPECT_EQ(field("Date"), "18970307");
    type("PurchDate", QStringLiteral("1949-12-31"));
    ASSERT_TRUE(editor().DoUpdate());
    EXPECT_EQ(field("Date"), "19491231");
    collection::applyDateFormat(1, false);
}

}  // namespace
}  // namespace my_edit_testing
