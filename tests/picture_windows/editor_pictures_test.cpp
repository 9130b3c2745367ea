// The record editor hosting the picture strip: the strip follows the editor's record through
// New, Update, Next and Copy, and a new record's pictures are kept only when it is updated.
#include <QImage>
#include <QPushButton>

#include "editing/my_edit_test_fixture.h"
#include "picture_windows/picture_strip.h"
#include "pictures/picture_store.h"

namespace my_edit_testing {
namespace {

class EditorPicturesTest : public MyEditTest {
  protected:
    void SetUp() override {
        MyEditTest::SetUp();
        for (const char* name : {"front.png", "back.png"}) {
            QImage image(20, 20, QImage::Format_RGB32);
            image.fill(name[0] == 'f' ? Qt::red : Qt::blue);
            image.save(program.path(name));
        }
        strip = new picture_windows::PictureStrip;
        strip->setCollection(dbfPath(), &table);
        editor().addSidePanel(strip);
        QObject::connect(&editor(), &editing::TMyEdit::editedRecordChanged, strip,
                         &picture_windows::PictureStrip::showRecord);
        QObject::connect(&editor(), &editing::TMyEdit::recordPosted, strip,
                         &picture_windows::PictureStrip::recordPosted);
    }
    int stored(std::uint32_t recno) { return pictures::PictureStore(dbfPath()).count(recno); }

    picture_windows::PictureStrip* strip = nullptr;  // owned by the editor
};

TEST_F(EditorPicturesTest, ANewRecordKeepsItsPicturesOnlyWhenUpdated) {
    open(1);
    type("Country", QStringLiteral("Norway"));
    strip->addFiles({program.path("front.png"), program.path("back.png")});
    EXPECT_EQ(strip->waiting(), 2);
    editor().DoAnUpdate();
    ASSERT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(stored(1), 2);
    EXPECT_EQ(strip->record(), 1u);

    // Copy: a new record with the same fields and none of the pictures.
    editor().MenuCopyRecordClick();
    EXPECT_EQ(strip->record(), 0u);
    EXPECT_TRUE(strip->names().isEmpty());
    strip->addFiles({program.path("front.png")});
    // Closed without updating: the copy and its picture are not kept.
    platform.queueAnswer(ui::MessageAnswer::Yes);  // "exit without updating?"
    editor().DoExit();
    EXPECT_EQ(table.recordCount(), 1u);
    EXPECT_EQ(pictures::PictureStore(dbfPath()).all().size(), 2u);

    // The next Add starts with an empty strip.
    open(1);
    EXPECT_EQ(strip->waiting(), 0);
    EXPECT_TRUE(strip->names().isEmpty());
}

TEST_F(EditorPicturesTest, TheStripFollowsTheRecordAsTheEditorMoves) {
    addRecord("A1", "Spain");
    addRecord("B2", "Chile");
    pictures::PictureStore(dbfPath()).add(1, {program.path("front.png")}, {});
    table.first();
    open(2);
    EXPECT_EQ(strip->record(), 1u);
    EXPECT_EQ(strip->names(), QStringList{"front.png"});
    editor().DoNextRecord();
    EXPECT_EQ(strip->record(), 2u);
    EXPECT_TRUE(strip->names().isEmpty());
    // An existing record's pictures are kept at once, and an update refreshes their link.
    strip->addFiles({program.path("back.png")});
    EXPECT_EQ(stored(2), 1);
    type("Country", QStringLiteral("Peru"));
    editor().DoAnUpdate();
    EXPECT_EQ(pictures::PictureStore(dbfPath()).pictures(2)[0].fingerprint,
              pictures::fingerprintOf(table.record(2)));
}

}  // namespace
}  // namespace my_edit_testing
