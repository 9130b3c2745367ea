// TUserReport: the "Report Definition" window, where the user shapes one report layout: name,
// width, fonts, titles, grouping, lines, margins and totals, and from it the body layout.
//
// The window edits the caller's definition buffer (the Reports window's shared one), which holds
// either the new-report template (`record` < 0) or report `record` of TESSELON.URP. The width
// buttons refit the body lines at once; the font window and the layout window write into the
// buffer too. Only "&Update" and "&Delete" touch the file: Update appends a new report or writes
// an existing one back at its record number (or appends it when the user renamed it and chose
// to save as new), Delete removes the record. `savedPosition()` then names the record written
// and `deleted()` says the record went; "&Cancel" leaves the file as it was, although the buffer
// may already hold edits (every report run or edit reads its record afresh).
//
// A file that cannot be written is reported in an "Error" box and the window stays open, so no
// edit is lost silently.
#pragma once

#include <QDialog>
#include <QStringList>
#include <optional>

#include "reports/report_definition.h"
#include "ui/window_base.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace reports {

inline const QString kNumLinesRange =
    QStringLiteral("Number of lines must be in range of 0 to 12.  Please correct.");
inline const QString kTitleChanged = QStringLiteral(
    "Report Title has changed!  Do you wish to save this as a new report?   (YES saves as new "
    "report.  NO overwrites old report.  CANCEL aborts.)");
inline const QString kDeleteReport = QStringLiteral("Are you sure you want to delete this report?");
inline const QString kTo90Question = QStringLiteral(
    "Switching to 90 characters from 120 or 150 will truncate the current defined lines.  In "
    "addition, the font size will be reset to a 10 point as a default.  Are you sure you wish to "
    "do this?");
inline const QString kTo120Question = QStringLiteral(
    "Switching to 120 characters from 150 will truncate the current defined lines.  In addition, "
    "the font size will be reset to a 8 point as a default.  Are you sure you wish to do this?");
inline const QString kTo120Notice =
    QStringLiteral("The Report Body font size has been set to a 8 Point default size as.");
inline const QString kTo150Notice = QStringLiteral(
    "The Report Body font size has been set to a 6 Point default size as a result of switching to "
    "150 characters per line.");

// Margins that are not numbers or leave no room on the page (report_margins.h) are refused;
// %1 names the margin, or gives the largest sum in inches and %2 the orientation.
inline const QString kMarginNotNumber =
    QStringLiteral("The %1 margin must be a number of inches, 0 or more.  Please correct.");
inline const QString kMarginsAcross = QStringLiteral(
    "The Left and Right margins leave no room on the page: together they may take at most %1 "
    "inches of Letter paper in %2.  Please correct.");
inline const QString kMarginsDown = QStringLiteral(
    "The Top and Bottom margins leave no room for the report body: together they may take at "
    "most %1 inches of Letter paper in %2.  Please correct.");

class TUserReport : public QDialog {
    Q_OBJECT
  public:
    // `record` < 0 edits a new report. `fieldLabels` are the 25 labels the layout shows.
    TUserReport(ReportDefinition& buffer, int record, QString programDirectory,
                QStringList fieldLabels, ui::ShowOptions show, QWidget* parent = nullptr);

    int savedPosition() const { return savedPosition_; }
    bool deleted() const { return deleted_; }

    void FormShow();
    void ReportNameExit();
    void NumLinesExit();
    bool NumLinesOk();
    // The four typed margins are numbers that leave room on the page; else a message, the
    // offending box focused, and false.
    bool MarginsOk();
    void SaveOutVars();
    void UpdateButtonClick();
    void DeleteButtonClick();
    void SpecifyButtonClick();
    void SetFontsClick();
    void Chars90Click();
    void Chars120Click();
    void Chars150Click();
    void Level1GroupClick();
    void HelpButtonClick();

    QLineEdit* ReportName = nullptr;
    QRadioButton* Chars90 = nullptr;
    QRadioButton* Chars120 = nullptr;
    QRadioButton* Chars150 = nullptr;
    QLineEdit* TitleLineFont = nullptr;
    QLineEdit* ColumnHeaderFont = nullptr;
    QLineEdit* RepBodyDataFont = nullptr;
    QLineEdit* FootnoteFont = nullptr;
    QPushButton* SetFonts = nullptr;
    QLineEdit* Title1 = nullptr;
    QLineEdit* Title2 = nullptr;
    QLineEdit* Title3 = nullptr;
    QCheckBox* Level1Group = nullptr;
    QCheckBox* Level2Group = nullptr;
    QCheckBox* ColumnHeaders = nullptr;
    QCheckBox* HorzLines = nullptr;
    QCheckBox* VertLines = nullptr;
    QCheckBox* DateOnPage = nullptr;
    QCheckBox* PageNumbers = nullptr;
    QCheckBox* LandOrient = nullptr;
    QLineEdit* NumLines = nullptr;
    QCheckBox* UseTotals = nullptr;
    QLineEdit* TopMargin = nullptr;
    QLineEdit* BottomMargin = nullptr;
    QLineEdit* LeftMargin = nullptr;
    QLineEdit* RightMargin = nullptr;
    QPushButton* SpecifyButton = nullptr;
    QPushButton* UpdateButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* DeleteButton = nullptr;
    QPushButton* HelpButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void fitWidthButtons();
    // The width the buttons show: 90, 120 or 150.
    int selectedWidth() const;
    void selectWidthButton(int width);
    // Switches to `width` after the question (when `question` is not empty), refits the body
    // lines and resets the body font to `fontSize`, then shows `notice` when not empty.
    void changeWidth(int width, const QString& question, int fontSize, const QString& notice);
    void showFonts();
    void enableLineOptions(int lines);
    // The typed number of lines, spaces removed; nothing when it is not a whole number.
    std::optional<int> typedLines() const;

    ReportDefinition& buffer_;
    int record_;
    QString openingName_;
    QString programDirectory_;
    QStringList fieldLabels_;
    ui::ShowOptions show_;
    int savedPosition_ = -1;
    bool deleted_ = false;
};

// How the designer's windows are shown: the Reports window's fonts, scale and colours, centred,
// with no remembered bounds.
ui::ShowOptions designerShowOptions(ui::ShowOptions show);

// The refusal of a text a report layout cannot keep: TESSELON.URP stores its texts in
// Windows-1252, so the box's characters outside it would come back as something else. Shows an
// "Error" box naming `caption` and the characters, focuses `box` and answers false; true when
// the whole text can be stored.
bool reportTextStorable(QWidget* parent, QLineEdit* box, const QString& caption);

// The width buttons' reading of a stored width: 150, 120, anything else 90.
int widthChoice(int storedWidth);

}  // namespace reports
