// Picture links keep up with changes made in the main window: two search and replace runs that
// each change one part of a stamp's fingerprint (together enough to flag the link as moved) leave
// the link matching its record, and so does undoing them.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QImage>
#include <QPushButton>

#include "app_test_env.h"
#include "pictures/picture_store.h"
#include "ui/masked_edit.h"

namespace app::testing {
namespace {

class PictureLinksFlowTest : public AppTest {
  protected:
    void replace(int field, const char* search, const char* replacement) {
        platform_.queueModal([=](QDialog& d) {
            d.findChild<QComboBox*>(QStringLiteral("FieldBox"))->setCurrentIndex(field);
            d.findChild<ui::MaskedEdit*>(QStringLiteral("SearchText"))->setMaskedText(search);
            d.findChild<ui::MaskedEdit*>(QStringLiteral("ReplaceText"))->setMaskedText(replacement);
            d.findChild<QCheckBox*>(QStringLiteral("ConfirmBox"))->setChecked(false);
            d.findChild<QPushButton*>(QStringLiteral("StartButton"))->click();
        });
        trigger("MenuSearchReplace");
        QApplication::processEvents();  // the links are updated once the command has run
    }
    std::size_t flagged() {
        return pictures::PictureStore(masterPath()).checkLinks(main_->MyTable).size();
    }
};

TEST_F(PictureLinksFlowTest, ReplaceAndUndoKeepTheLinksWithTheirRecords) {
    makeCollection(masterPath(), {QStringLiteral("A1"), QStringLiteral("B2")});
    TMain& w = start();
    w.SetViewerOptions();
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::green);
    const QString png = path(QStringLiteral("front.png"));
    ASSERT_TRUE(image.save(png));
    pictures::PictureStore(masterPath())
        .add(1, {png}, pictures::fingerprintOf(w.MyTable.record(1)));

    replace(2, "A1", "Chile");  // Country
    replace(0, "A1", "CH-1");   // Catalogue
    EXPECT_EQ(pictures::PictureStore(masterPath()).pictures(1).at(0).fingerprint,
              pictures::fingerprintOf(w.MyTable.record(1)));
    EXPECT_EQ(flagged(), 0u);

    trigger("MenuUndo");
    trigger("MenuUndo");
    QApplication::processEvents();
    EXPECT_EQ(w.MyTable.record(1).text(0), "A1");
    EXPECT_EQ(flagged(), 0u);
    // Only the two runs' completion messages: no error from the store.
    EXPECT_EQ(platform_.boxes().size(), 2u) << platform_.boxSummary().join(u'\n').toStdString();
}

}  // namespace
}  // namespace app::testing
