// TReportFonts: the "Report Fonts" window, where the user picks the fonts of a report's title
// lines, column headers, body and footnotes.
//
// Each of the four boxes shows its font as name, a space, the point size and "pt" ("Arial
// 8pt") and has a "New Font" and a "Font Color" button. "New Font" opens the system font
// dialog (through the platform seam) preset with the font's name, size, colour and styles; a
// confirmed choice is written straight into the caller's definition buffer (name cut to 50
// characters) and shown.
// The dialog opens on the family the stored name resolves to and keeps the stored name when that
// family is confirmed. "Font Color" opens the system colour dialog on the font's colour.
// "&Ok" closes. Nothing here writes a file.
#pragma once

#include <QDialog>
#include <array>

#include "reports/report_definition.h"
#include "ui/window_base.h"

class QLineEdit;
class QPushButton;

namespace reports {

// "Arial 8pt".
QString fontCaption(const ReportFont& font);

class TReportFonts : public QDialog {
    Q_OBJECT
  public:
    TReportFonts(ReportDefinition& buffer, ui::ShowOptions show, QWidget* parent = nullptr);

    // Opens the font dialog for a font kind (kTitleFont, kColumnHeaderFont, kBodyFont,
    // kFootnoteFont), as its "New Font" button does.
    void NewFont(int kind);
    // Opens the colour dialog for a font kind's colour, as its "Font Color" button does.
    void NewColor(int kind);

    QLineEdit* TitleFont = nullptr;
    QLineEdit* HeaderFont = nullptr;
    QLineEdit* BodyFont = nullptr;
    QLineEdit* FootFont = nullptr;
    std::array<QPushButton*, 4> NewFontButtons{};
    QPushButton* OkButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QLineEdit* fieldOf(int kind) const;

    ReportDefinition& buffer_;
    ui::ShowOptions show_;
};

}  // namespace reports
