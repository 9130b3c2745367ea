// The record editor through the main window: Add, Edit (grid double-click) and Copy show the one
// editor made at start-up, and the table, the count, the grid and both Country lists follow
// what was written; a refused update loses nothing; engine failures inside the editor are shown
// by the main window; browse mode opens the editor read-only.
#include <QFileInfo>
#include <QLabel>
#include <QProcess>

#include "app_test_env.h"
#include "collection/data_list_files.h"
#include "engine/table.h"
#include "record_editor_driver.h"

namespace app::testing {
namespace {

class RecordEditorFlowTest : public AppTest {
  protected:
    void SetUp() override {
        AppTest::SetUp();
        collection::writeListFile(programDir() + QStringLiteral("/COUNTRY.LST"),
                                  {QStringLiteral("Italy")});
    }
    // Starts the program with the grid's columns in place, as showing the window does.
    TMain& startShowing(const QStringList& arguments = {}) {
        // The dates typed below are in the two-digit format "m/d/yy".
        setGlobal("Misc", "Date Format", "1");
        TMain& w = start(arguments);
        w.SetViewerOptions();
        return w;
    }
    QString count() { return main_->findChild<QLabel*>(QStringLiteral("CountLabel"))->text(); }
    std::string field(const char* name) { return main_->MyTable.text(name); }
    std::optional<std::int64_t> year() {
        return main_->MyTable.integer(main_->MyTable.requireField("Year"));
    }
};

TEST_F(RecordEditorFlowTest, AddWritesTheRecordAndGrowsBothCountryListsOnce) {
    makeCollection(masterPath(), {QStringLiteral("A1")});
    TMain& w = startShowing();
    EXPECT_EQ(mainListItems(w, "MyComboCountry"), QStringList{QStringLiteral("Italy")});

    platform_.queueModal([](QDialog& d) {
        EXPECT_EQ(shownIn(d, "Country"), QString());  // a new record starts cleared
        typeInto(d, "Country", QStringLiteral("France "));
        typeInto(d, "Year", QStringLiteral("1950"));
        press(d, "UpdateExitButton");
    });
    trigger("AddSpeed");
    ASSERT_TRUE(platform_.boxes().empty()) << platform_.boxSummary().join(u'\n').toStdString();
    ASSERT_EQ(platform_.modals().size(), 1u);
    EXPECT_EQ(platform_.modals()[0].className, QStringLiteral("editing::TMyEdit"));

    EXPECT_EQ(w.MyTable.recordCount(), 2u);
    EXPECT_EQ(count(), QStringLiteral("2"));
    EXPECT_EQ(field("Country"), "France");
    EXPECT_EQ(year(), 1950);
    // The grid has reloaded and stands on the new record.
    const int row = viewerGrid(w)->currentIndex().row();
    EXPECT_EQ(w.findChild<ui::StampTableModel*>(QStringLiteral("MyDataSource"))->rowCount(), 2);
    EXPECT_EQ(gridText(w, row, 3), QStringLiteral("France"));

    const QStringList grown = {QStringLiteral("Italy"), QStringLiteral("France")};
    EXPECT_EQ(editorListItems(w, 1), grown);
    EXPECT_EQ(mainListItems(w, "MyComboCountry"), grown);
    // Closing the editor wrote the collection's lists.
    EXPECT_EQ(collection::readListFile(programDir() + QStringLiteral("/MASTER.001")), grown);

    // The same word again adds nothing; the editor is the same window as before.
    platform_.queueModal([](QDialog& d) {
        typeInto(d, "Country", QStringLiteral("France"));
        press(d, "UpdateExitButton");
    });
    trigger("MenuAdd");
    EXPECT_EQ(count(), QStringLiteral("3"));
    EXPECT_EQ(mainListItems(w, "MyComboCountry"), grown);
    EXPECT_EQ(w.findChildren<editing::TMyEdit*>().size(), 1);
}

TEST_F(RecordEditorFlowTest, GridDoubleClickEditsTheChosenRecord) {
    makeCollection(masterPath(),
                   {QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("C3")});
    TMain& w = startShowing();
    ui::DataGrid* grid = viewerGrid(w);
    grid->setCurrentIndex(grid->model()->index(1, 0));
    ASSERT_EQ(field("Catalog"), "B2");

    platform_.queueModal([](QDialog& d) {
        EXPECT_EQ(shownIn(d, "AlphaCatalog"), QStringLiteral("B2"));
        typeInto(d, "Description", QStringLiteral("Changed"));
        press(d, "UpdateExitButton");
    });
    emit grid->recordActivated();
    ASSERT_TRUE(platform_.boxes().empty()) << platform_.boxSummary().join(u'\n').toStdString();
    EXPECT_EQ(w.editorMode(), 2);
    EXPECT_EQ(count(), QStringLiteral("3"));
    EXPECT_EQ(field("Catalog"), "B2");
    EXPECT_EQ(field("Descriptio"), "Changed");
    EXPECT_EQ(grid->currentIndex().row(), 1);
    EXPECT_EQ(gridText(w, 1, 2), QStringLiteral("Changed"));
    w.MyTable.first();
    EXPECT_EQ(field("Descriptio"), "");  // A1 untouched
}

TEST_F(RecordEditorFlowTest, CopyInsertsACopyOfTheCurrentRecord) {
    makeCollection(masterPath(), {QStringLiteral("A1")});
    TMain& w = startShowing();
    platform_.queueModal([](QDialog& d) {
        EXPECT_EQ(shownIn(d, "AlphaCatalog"), QStringLiteral("A1"));
        typeInto(d, "Year", QStringLiteral("1901"));
        press(d, "UpdateExitButton");
    });
    trigger("CopySpeed");
    EXPECT_EQ(count(), QStringLiteral("2"));
    w.MyTable.first();
    EXPECT_EQ(field("Catalog"), "A1");
    EXPECT_EQ(year(), std::nullopt);  // blank in the original
    w.MyTable.next();
    EXPECT_EQ(field("Catalog"), "A1");
    EXPECT_EQ(year(), 1901);
}

// A record the navigator or grid is still inserting keeps what was typed into it: it is posted
// before the editor starts, and Copy then copies it.
TEST_F(RecordEditorFlowTest, PendingGridInsertIsPostedBeforeTheEditorOpens) {
    makeCollection(masterPath(), {QStringLiteral("A1")});
    TMain& w = startShowing();
    w.MyTable.insert();
    w.MyTable.setText("Catalog", "P7");
    platform_.queueModal([](QDialog& d) {
        EXPECT_EQ(shownIn(d, "AlphaCatalog"), QStringLiteral("P7"));
        press(d, "UpdateExitButton");
    });
    trigger("MenuCopy");
    EXPECT_TRUE(platform_.boxes().empty()) << platform_.boxSummary().join(u'\n').toStdString();
    EXPECT_EQ(w.MyTable.recordCount(), 3u);
    EXPECT_EQ(count(), QStringLiteral("3"));
}

TEST_F(RecordEditorFlowTest, RefusedYearKeepsEveryTypedControl) {
    makeCollection(masterPath());
    TMain& w = startShowing();
    platform_.queueModal([this](QDialog& d) {
        editing::TMyEdit& editor = asEditor(d);
        typeInto(d, "Country", QStringLiteral("Peru"));
        typeInto(d, "Description", QStringLiteral("Llama"));
        typeInto(d, "Topic", QStringLiteral("Animals"));
        typeInto(d, "PurchDate", QStringLiteral("12/24/1999"));
        typeInto(d, "Year", QStringLiteral("19a5"));
        typeInto(d, "Misc", QStringLiteral("Perfin"));
        const editing::RecordTexts typed = editor.controlTexts();
        press(d, "UpdateButton");
        EXPECT_EQ(platform_.boxSummary(),
                  QStringList{QStringLiteral("Error: Invalid year specified.  Please correct.")});
        EXPECT_EQ(editor.controlTexts(), typed);
        EXPECT_EQ(d.focusWidget(), editor.control(7));
        EXPECT_TRUE(d.isVisible());
        // Nothing grew and nothing was written.
        EXPECT_EQ(editing::DataListSet::itemsOf(editor.dataLists().editorBox(1)),
                  QStringList{QStringLiteral("Italy")});
        EXPECT_EQ(main_->MyTable.recordCount(), 0u);

        typeInto(d, "Year", QStringLiteral("1955"));
        press(d, "UpdateExitButton");
    });
    trigger("MenuAdd");
    EXPECT_EQ(platform_.boxes().size(), 1u);
    ASSERT_EQ(w.MyTable.recordCount(), 1u);
    EXPECT_EQ(field("Country"), "Peru");
    EXPECT_EQ(field("Descriptio"), "Llama");
    EXPECT_EQ(field("Miscellane"), "Perfin");
    EXPECT_EQ(year(), 1955);
}

// A record deleted while the editor shows it cannot be changed: the engine's refusal is shown by
// the main window, the editor stays open on what was typed, and the program goes on.
TEST_F(RecordEditorFlowTest, EngineFailureInsideTheEditorIsShownAndKeepsTheWindow) {
    makeCollection(masterPath(), {QStringLiteral("A1")});
    TMain& w = startShowing();
    platform_.queueModal([&w](QDialog& d) {
        w.MyTable.deleteRecord();
        typeInto(d, "Country", QStringLiteral("Chile"));
        press(d, "UpdateButton");
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(shownIn(d, "Country"), QStringLiteral("Chile"));
    });
    trigger("MenuEdit");
    EXPECT_EQ(platform_.boxSummary(),
              QStringList{QStringLiteral("Error: There is no current record to edit.")});
    EXPECT_EQ(w.MyTable.recordCount(), 0u);
    EXPECT_EQ(w.editorMode(), 2);  // put back after the failed write
    EXPECT_EQ(count(), QStringLiteral("0"));
}

TEST_F(RecordEditorFlowTest, BrowseModeOpensTheEditorReadOnly) {
    makeCollection(masterPath(), {QStringLiteral("A1")});
    TMain& w = startShowing({QStringLiteral("/BROWSE")});
    ASSERT_TRUE(w.recordEditor()->browseMode());
    for (const char* name : {"MenuAdd", "MenuCopy"})
        EXPECT_FALSE(w.findChild<QAction*>(QString::fromLatin1(name))->isEnabled()) << name;
    platform_.queueModal([](QDialog& d) {
        EXPECT_EQ(shownIn(d, "AlphaCatalog"), QStringLiteral("A1"));
        for (const char* name : {"UpdateExitButton", "UpdateButton", "ClearButton"})
            EXPECT_FALSE(d.findChild<QPushButton*>(name)->isEnabled()) << name;
        typeInto(d, "AlphaCatalog", QStringLiteral("Z9"));
        press(d, "ExitButton");  // no "data has changed" question in browse mode
        EXPECT_FALSE(d.isVisible());
    });
    trigger("EditSpeed");
    EXPECT_TRUE(platform_.boxes().empty());
    EXPECT_EQ(field("Catalog"), "A1");
}

// A record added through the main window's editor, read back by Python's dbf package.
TEST_F(RecordEditorFlowTest, AddedRecordReadsBackInPythonDbf) {
    if (QProcess::execute(QStringLiteral("/usr/bin/python3"),
                          {QStringLiteral("-c"), QStringLiteral("import dbf")}) != 0)
        GTEST_SKIP() << "/usr/bin/python3 has no dbf package";
    makeCollection(masterPath());
    start();
    platform_.queueModal([](QDialog& d) {
        const std::pair<const char*, const char*> typed[] = {{"AlphaCatalog", "SG 2"},
                                                             {"Description", "Two pence blue"},
                                                             {"Country", "Great Britain"},
                                                             {"FaceValue", "2d"},
                                                             {"MarketValue", "1,250.75"},
                                                             {"Quantity", "3"},
                                                             {"Year", "1840"},
                                                             {"Comments", "Fine"},
                                                             {"Condition", "Used"},
                                                             {"Group", "Line engraved"},
                                                             {"StampType", "Definitive"},
                                                             {"Cancellation", "Maltese Cross"},
                                                             {"Topic", "Royalty"},
                                                             {"PurchDate", "12/24/2001"},
                                                             {"PurchPrice", "99.5"},
                                                             {"Gum", "None"},
                                                             {"ColorBox", "Blue"},
                                                             {"Faults", "Short perf"},
                                                             {"Hinged", "No"},
                                                             {"Misc", "Plate 4"},
                                                             {"NumericCatalog", "2"},
                                                             {"UserDef1", "u1"},
                                                             {"UserDef2", "u2"},
                                                             {"UserDef3", "u3"}};
        for (const auto& [name, text] : typed) typeInto(d, name, QString::fromLatin1(text));
        press(d, "UpdateExitButton");
    });
    trigger("MenuAdd");
    ASSERT_TRUE(platform_.boxes().empty()) << platform_.boxSummary().join(u'\n').toStdString();
    main_->close();

    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QStringLiteral(R"PY(
import sys, datetime, dbf
t = dbf.Table(sys.argv[1])
t.open(dbf.READ_ONLY)
print(len(t))
r = t[0]
for name in t.field_names:
    v = r[name]
    if isinstance(v, datetime.date): v = v.strftime('%Y%m%d')
    elif isinstance(v, float): v = '%.2f' % v
    elif v is None: v = ''
    print('%s=%s' % (name.upper(), str(v).rstrip()))
t.close()
)PY"),
                                                      masterPath()});
    ASSERT_TRUE(python.waitForFinished(30000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QStringList lines =
        QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    const QStringList expected = {"1",
                                  "CATALOG=SG 2",
                                  "DESCRIPTIO=Two pence blue",
                                  "COUNTRY=Great Britain",
                                  "FACEVALUE=2d",
                                  "MARKETVALU=1250.75",
                                  "QUANTITY=3",
                                  "YEAR=1840",
                                  "COMMENTS=Fine",
                                  "CONDITION=Used",
                                  "GROUP=Line engraved",
                                  "STAMPTYPE=Definitive",
                                  "CANCELLATI=Maltese Cross",
                                  "TOPIC=Royalty",
                                  "DATE=20011224",
                                  "COST=99.50",
                                  "GUM=None",
                                  "COLOR=Blue",
                                  "FAULTS=Short perf",
                                  "HINGED=No",
                                  "MISCELLANE=Plate 4",
                                  "CATALOGI=2",
                                  "USERDEF1=u1",
                                  "USERDEF2=u2",
                                  "USERDEF3=u3",
                                  "WANTED=No"};
    EXPECT_EQ(lines, expected);
}

TEST_F(RecordEditorFlowTest, GridShowsEveryUpdateWhileTheEditorStaysOpen) {
    makeCollection(masterPath(), {QStringLiteral("A1")});
    TMain& w = startShowing();
    auto* model = w.findChild<ui::StampTableModel*>(QStringLiteral("MyDataSource"));
    platform_.queueModal([&](QDialog& d) {
        typeInto(d, "AlphaCatalog", QStringLiteral("B2"));
        press(d, "UpdateButton");
        EXPECT_EQ(model->rowCount(), 2);
        EXPECT_EQ(count(), QStringLiteral("2"));
        EXPECT_EQ(gridText(w, viewerGrid(w)->currentIndex().row(), 1), QStringLiteral("B2"));
        typeInto(d, "AlphaCatalog", QStringLiteral("B3"));
        press(d, "UpdateButton");
        EXPECT_EQ(model->rowCount(), 2);
        EXPECT_EQ(gridText(w, viewerGrid(w)->currentIndex().row(), 1), QStringLiteral("B3"));
        press(d, "ExitButton");
    });
    trigger("MenuAdd");
    ASSERT_TRUE(platform_.boxes().empty()) << platform_.boxSummary().join(u'\n').toStdString();
    EXPECT_EQ(w.MyTable.recordCount(), 2u);
}

}  // namespace
}  // namespace app::testing
