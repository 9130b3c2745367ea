#include "reports/report_fonts.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "reports/user_report.h"
#include "ui/font_dialog_preset.h"
#include "ui/messages.h"
#include "ui/platform.h"
#include "ui/unstorable_text.h"
#include "ui/window_base.h"

namespace reports {

namespace {

constexpr int kKinds[4] = {kTitleFont, kColumnHeaderFont, kBodyFont, kFootnoteFont};

}  // namespace

QString fontCaption(const ReportFont& font) {
    return font.name + QLatin1Char(' ') + QString::number(font.size) + QStringLiteral("pt");
}

TReportFonts::TReportFonts(ReportDefinition& buffer, ui::ShowOptions show, QWidget* parent)
    : QDialog(parent), buffer_(buffer), show_(std::move(show)) {
    setObjectName(QStringLiteral("ReportFonts"));
    setWindowTitle(QStringLiteral("Report Fonts"));
    resize(480, 300);
    const QString captions[4] = {
        QStringLiteral("Titles Font"), QStringLiteral("Column Header Font"),
        QStringLiteral("Report Body Font"), QStringLiteral("Footnote Font")};
    const char* names[4] = {"TitleFont", "HeaderFont", "BodyFont", "FootFont"};
    QLineEdit** fields[4] = {&TitleFont, &HeaderFont, &BodyFont, &FootFont};
    for (int i = 0; i < 4; ++i) {
        auto* box = new QGroupBox(captions[i], this);
        box->setGeometry(12, 12 + 56 * i, 456, 50);
        auto* field = new QLineEdit(box);
        field->setObjectName(QLatin1String(names[i]));
        field->setReadOnly(true);
        field->setGeometry(10, 20, 230, 24);
        *fields[i] = field;
        auto* button = new QPushButton(QStringLiteral("New Font"), box);
        button->setObjectName(QStringLiteral("NewFont%1").arg(i + 1));
        button->setAccessibleName(QStringLiteral("New ") + captions[i]);
        button->setGeometry(252, 18, 94, 28);
        const int kind = kKinds[i];
        connect(button, &QPushButton::clicked, this, [this, kind] { NewFont(kind); });
        NewFontButtons[i] = button;
        // The font dialog has no colour: the colour is chosen beside it.
        auto* color = new QPushButton(QStringLiteral("Font Color"), box);
        color->setObjectName(QStringLiteral("FontColor%1").arg(i + 1));
        color->setAccessibleName(captions[i] + QStringLiteral(" Color"));
        color->setGeometry(352, 18, 94, 28);
        connect(color, &QPushButton::clicked, this, [this, kind] { NewColor(kind); });
    }
    OkButton = new QPushButton(QStringLiteral("&Ok"), this);
    OkButton->setObjectName(QStringLiteral("OkButton"));
    OkButton->setGeometry(196, 250, 88, 28);
    OkButton->setDefault(true);
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    for (int kind : kKinds) fieldOf(kind)->setText(fontCaption(buffer_.font(kind)));
}

QLineEdit* TReportFonts::fieldOf(int kind) const {
    switch (kind) {
        case kTitleFont:
            return TitleFont;
        case kColumnHeaderFont:
            return HeaderFont;
        case kBodyFont:
            return BodyFont;
        default:
            return FootFont;
    }
}

void TReportFonts::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) ui::prepareWindowForShow(this, designerShowOptions(show_));
}

void TReportFonts::NewFont(int kind) {
    ReportFont& current = buffer_.font(kind);
    QFont preset(current.name);
    preset.setPointSize(std::max(1, current.size));
    preset.setBold(current.bold);
    preset.setItalic(current.italic);
    preset.setUnderline(current.underline);
    preset.setStrikeOut(current.strikeOut);
    const auto chosen = ui::platform().chooseFont(
        this, {ui::fontDialogPreset(preset), colorFromWindows(current.color)});
    if (!chosen) return;
    const QFont& f = chosen->font;
    // TESSELON.URP keeps font names in Windows-1252; a name outside it could not be found again.
    if (!ui::unstorableCharacters(f.family(), engine::CodePage::Cp1252).isEmpty()) {
        ui::showError(this,
                      QStringLiteral("The name of the font \"%1\" cannot be stored in a report "
                                     "layout.  Please choose another font.")
                          .arg(f.family()));
        return;
    }
    current.name = ui::keptFontName(current.name, f).left(kFontNameLength);
    if (f.pointSize() > 0) current.size = f.pointSize();
    current.color = colorToWindows(chosen->color);
    current.bold = f.bold();
    current.italic = f.italic();
    current.underline = f.underline();
    current.strikeOut = f.strikeOut();
    fieldOf(kind)->setText(fontCaption(current));
}

void TReportFonts::NewColor(int kind) {
    ReportFont& current = buffer_.font(kind);
    const auto chosen = ui::platform().chooseColor(this, colorFromWindows(current.color));
    if (chosen) current.color = colorToWindows(*chosen);
}

}  // namespace reports
