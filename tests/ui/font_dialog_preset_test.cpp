// Font dialogs open on the family a stored name is drawn with, and confirming that family keeps
// the stored name (needs the Liberation fonts, which stand in for Arial and Courier New).
#include "ui/font_dialog_preset.h"

#include <gtest/gtest.h>

namespace {

TEST(FontDialogPreset, StoredNamesOpenOnTheirStandInWithSizeAndStyles) {
    QFont stored(QStringLiteral("Courier New"), 10);
    stored.setBold(true);
    stored.setUnderline(true);
    const QFont preset = ui::fontDialogPreset(stored);
    EXPECT_EQ(preset.family(), "Liberation Mono");
    EXPECT_EQ(preset.pointSize(), 10);
    EXPECT_TRUE(preset.bold());
    EXPECT_TRUE(preset.underline());
    EXPECT_FALSE(preset.italic());
    EXPECT_EQ(ui::fontDialogPreset(QFont(QStringLiteral("Arial"))).family(), "Liberation Sans");
    // An installed family is its own.
    EXPECT_EQ(ui::resolvedFamily(QStringLiteral("Liberation Serif")), "Liberation Serif");
}

TEST(FontDialogPreset, ConfirmingTheStandInKeepsTheStoredName) {
    EXPECT_EQ(ui::keptFontName("Courier New", QFont("Liberation Mono")), "Courier New");
    EXPECT_EQ(ui::keptFontName("Arial", QFont("Liberation Sans")), "Arial");
    EXPECT_EQ(ui::keptFontName("Arial", QFont("arial")), "Arial");
    // Another family is a change.
    EXPECT_EQ(ui::keptFontName("Arial", QFont("Liberation Mono")), "Liberation Mono");
    EXPECT_EQ(ui::keptFontName("Courier New", QFont("Liberation Sans")), "Liberation Sans");
}

}  // namespace
