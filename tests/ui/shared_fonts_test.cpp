#include "ui/shared_fonts.h"

#include <gtest/gtest.h>

#include "sample_window.h"

namespace {

using ui::ControlKind;

TEST(ControlKind, KindsOfTheSampleWindowInComponentOrder) {
    uitest::SampleWindow w;
    std::vector<std::pair<QString, ControlKind>> seen;
    for (QWidget* c : ui::windowComponents(&w))
        seen.emplace_back(c->objectName(), ui::controlKindOf(c));
    const std::vector<std::pair<QString, ControlKind>> expected = {
        {"Heading", ControlKind::Label},
        {"FieldLabel", ControlKind::Label},
        {"TheList", ControlKind::ListBox},
        {"TheGrid", ControlKind::StringGrid},
        {"WantedBox", ControlKind::CheckBox},
        {"Description", ControlKind::EditBox},
        {"Comments", ControlKind::EditBox},
        {"LeftButton", ControlKind::RadioButton},
        {"PurchDate", ControlKind::MaskedEdit},
        {"PlainMasked", ControlKind::MaskedEdit},
        {"OkButton", ControlKind::Button},
        {"AddSpeed", ControlKind::Button},
        {"OptionsBox", ControlKind::GroupBox},
        {"InsideLabel", ControlKind::Label},
        {"MyComboCountry", ControlKind::ComboBox},
        {"Bevel1", ControlKind::Frame},
        {"Copies", ControlKind::None},
    };
    EXPECT_EQ(seen, expected);
}

TEST(ControlKind, MaskedEditWithoutMaskIsStillAMaskedEditBox) {
    ui::MaskedEdit edit;
    EXPECT_EQ(ui::controlKindOf(&edit), ControlKind::MaskedEdit);
}

TEST(ControlKind, TabPagesAreWalkedButAreNotComponents) {
    QDialog w;
    auto* tabs = new QTabWidget(&w);
    auto* page = new QWidget;
    auto* label = new QLabel("On page", page);
    tabs->addTab(page, "Page");
    EXPECT_EQ(ui::windowComponents(&w), (QList<QWidget*>{tabs, label}));
    EXPECT_EQ(ui::controlKindOf(tabs), ControlKind::TabbedNotebook);
}

TEST(SharedFonts, EachKindTakesItsFontFaceAndKeepsItsSize) {
    uitest::SampleWindow w;
    for (QWidget* c : ui::windowComponents(&w)) {
        QFont f = c->font();
        f.setPointSize(9);
        c->setFont(f);
    }
    ui::SharedFonts fonts;
    fonts.label = QFont("Label Face", 14);
    fonts.label.setUnderline(true);
    fonts.edit = QFont("Edit Face", 20);
    fonts.edit.setItalic(true);
    fonts.button = QFont("Button Face", 30);
    fonts.button.setBold(true);
    fonts.button.setStrikeOut(true);
    const QFont spinBefore = w.spin->font();
    ui::applySharedFonts(&w, fonts);

    const std::vector<std::pair<QWidget*, const QFont*>> expected = {
        {w.label, &fonts.label},   {w.list, &fonts.label},       {w.check, &fonts.label},
        {w.radio, &fonts.label},   {w.group, &fonts.label},      {w.inGroup, &fonts.label},
        {w.grid, &fonts.edit},     {w.edit, &fonts.edit},        {w.memo, &fonts.edit},
        {w.masked, &fonts.edit},   {w.maskedPlain, &fonts.edit}, {w.combo, &fonts.edit},
        {w.button, &fonts.button}, {w.speed, &fonts.button},
    };
    for (const auto& [widget, shared] : expected) {
        SCOPED_TRACE(widget->objectName().toStdString());
        const QFont f = widget->font();
        EXPECT_EQ(f.family(), shared->family());
        EXPECT_EQ(f.bold(), shared->bold());
        EXPECT_EQ(f.italic(), shared->italic());
        EXPECT_EQ(f.underline(), shared->underline());
        EXPECT_EQ(f.strikeOut(), shared->strikeOut());
        EXPECT_EQ(f.pointSize(), 9);
    }
    EXPECT_EQ(w.spin->font(), spinBefore);
}

}  // namespace
