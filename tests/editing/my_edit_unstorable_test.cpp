// TMyEdit: text the collection's code page cannot hold is refused at the update, naming the field
// and the characters, with the typed text kept and nothing written or added to a list.
#include "my_edit_test_fixture.h"

namespace my_edit_testing {
namespace {

TEST_F(MyEditTest, TextTheCollectionCannotStoreIsRefusedAndKept) {
    settings.field(editing::kDescription).label = QStringLiteral("Notes");
    open(1);
    const struct {
        const char* control;
        QString typed;
        QString message;
    } cases[] = {
        {"Country", QStringLiteral("Ελλάδα"),
         QStringLiteral("\"Country\" contains characters this collection's code page, Western "
                        "European (Windows-1252), cannot store: Ε λ ά δ α.  Please correct.")},
        {"Description", QStringLiteral("Łódź 日本"),
         QStringLiteral("\"Notes\" contains characters this collection's code page, Western "
                        "European (Windows-1252), cannot store: Ł ź 日 本.  Please correct.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        platform.clearRecords();
        type(c.control, c.typed);
        EXPECT_FALSE(editor().DoUpdate());
        EXPECT_EQ(platform.boxSummary(), QStringList{QStringLiteral("Error: ") + c.message});
        EXPECT_EQ(platform.boxes()[0].icon, ui::MessageIcon::Error);
        EXPECT_EQ(text(c.control), c.typed);
        QWidget* focused = editor().focusWidget();
        QWidget* box = editor().findChild<QWidget*>(c.control);
        EXPECT_TRUE(focused == box ||
                    (combo(c.control) && focused == combo(c.control)->lineEdit()));
        EXPECT_EQ(table.recordCount(), 0u);
        EXPECT_EQ(combo("Country")->count(), 0);  // no list grows with a refused record
        EXPECT_EQ(mode, 1);
        type(c.control, QString());
    }
    // Accented letters of the collection's code page are stored as typed.
    type("Country", QStringLiteral("Česko"));
    EXPECT_FALSE(editor().DoUpdate());
    type("Country", QStringLiteral("Österreich"));
    type("Description", QStringLiteral("Šumava, 1€"));
    ASSERT_TRUE(editor().DoUpdate());
    EXPECT_EQ(field("Country"), "Österreich");
    EXPECT_EQ(field("Descriptio"), "Šumava, 1€");
}

}  // namespace
}  // namespace my_edit_testing

namespace my_edit_testing {
namespace {

// Every input box is named after its field's label (as the user renamed it), so a screen reader
// says which field it is.
TEST_F(MyEditTest, EveryInputBoxIsNamedAfterItsLabel) {
    settings.field(editing::kDescription).label = QStringLiteral("Notes");
    open(1);
    EXPECT_EQ(edit("Description")->accessibleName(), QStringLiteral("Notes"));
    EXPECT_EQ(combo("Country")->accessibleName(), QStringLiteral("Country"));
    EXPECT_EQ(combo("Country")->lineEdit()->accessibleName(), QStringLiteral("Country"));
    EXPECT_EQ(dateBox()->accessibleName(), QStringLiteral("Date"));
    for (QWidget* box : editor().findChildren<QLineEdit*>()) {
        if (box->isVisibleTo(&editor())) {
            EXPECT_FALSE(box->accessibleName().isEmpty()) << box->objectName().toStdString();
        }
    }
}

}  // namespace
}  // namespace my_edit_testing
