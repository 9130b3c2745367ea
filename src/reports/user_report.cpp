#include "reports/user_report.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <algorithm>
#include <cmath>

#include "reports/line_refit.h"
#include "reports/rep_layout.h"
#include "reports/report_file.h"
#include "reports/report_fonts.h"
#include "reports/report_margins.h"
#include "ui/messages.h"
#include "ui/platform.h"
#include "ui/typing_limit.h"
#include "ui/unstorable_text.h"

namespace reports {

namespace {

QString twoDecimals(double value) {
    return QString::number(value, 'f', 2);
}

// A typed margin in inches; nothing when the text is not a finite number.
std::optional<double> typedMargin(const QLineEdit* box) {
    QString text = box->text().trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

double typedMargin(const QLineEdit* box, double previous) {
    return typedMargin(box).value_or(previous);
}

}  // namespace

ui::ShowOptions designerShowOptions(ui::ShowOptions show) {
    show.geometry = nullptr;
    show.centre = true;
    show.moveUp = false;
    return show;
}

bool reportTextStorable(QWidget* parent, QLineEdit* box, const QString& caption) {
    const QString characters = ui::unstorableCharacters(box->text(), engine::CodePage::Cp1252);
    if (characters.isEmpty()) return true;
    ui::showError(parent,
                  QStringLiteral("\"%1\" contains characters a report layout cannot store: %2.  "
                                 "Please correct.")
                      .arg(caption, characters));
    box->setFocus();
    return false;
}

int widthChoice(int storedWidth) {
    return storedWidth == 150 || storedWidth == 120 ? storedWidth : 90;
}

TUserReport::TUserReport(ReportDefinition& buffer, int record, QString programDirectory,
                         QStringList fieldLabels, ui::ShowOptions show, QWidget* parent)
    : QDialog(parent),
      buffer_(buffer),
      record_(record),
      openingName_(buffer.name.trimmed()),
      programDirectory_(std::move(programDirectory)),
      fieldLabels_(std::move(fieldLabels)),
      show_(std::move(show)) {
    setObjectName(QStringLiteral("UserReport"));
    setWindowTitle(QStringLiteral("Report Definition"));
    buildControls();
    FormShow();
}

void TUserReport::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    ui::prepareWindowForShow(this, designerShowOptions(show_));
    fitWidthButtons();  // the window's fonts may have changed
    ReportName->setFocus();
}

void TUserReport::FormShow() {
    ui::showText(ReportName, buffer_.name);
    selectWidthButton(widthChoice(buffer_.width));
    showFonts();
    QLineEdit* titles[3] = {Title1, Title2, Title3};
    for (int i = 0; i < 3; ++i) ui::showText(titles[i], buffer_.titles[i]);
    Level1Group->setChecked(buffer_.groupLevel1);
    Level2Group->setChecked(buffer_.groupLevel2);
    Level2Group->setEnabled(buffer_.groupLevel1);
    ColumnHeaders->setChecked(buffer_.columnHeaders);
    HorzLines->setChecked(buffer_.horizontalLines);
    VertLines->setChecked(buffer_.verticalLines);
    DateOnPage->setChecked(buffer_.dateOnPages);
    PageNumbers->setChecked(buffer_.pageNumbers);
    LandOrient->setChecked(buffer_.landscape);
    UseTotals->setChecked(buffer_.useTotals);
    ui::showText(NumLines, QString::number(buffer_.numberOfLines));
    enableLineOptions(buffer_.numberOfLines);
    ui::showText(TopMargin, twoDecimals(buffer_.topMargin));
    ui::showText(BottomMargin, twoDecimals(buffer_.bottomMargin));
    ui::showText(LeftMargin, twoDecimals(buffer_.leftMargin));
    ui::showText(RightMargin, twoDecimals(buffer_.rightMargin));
    DeleteButton->setEnabled(record_ >= 0);
    ReportName->setFocus();
}

void TUserReport::showFonts() {
    TitleLineFont->setText(fontCaption(buffer_.font(kTitleFont)));
    ColumnHeaderFont->setText(fontCaption(buffer_.font(kColumnHeaderFont)));
    RepBodyDataFont->setText(fontCaption(buffer_.font(kBodyFont)));
    FootnoteFont->setText(fontCaption(buffer_.font(kFootnoteFont)));
}

void TUserReport::enableLineOptions(int lines) {
    const bool few = lines < 2;
    ColumnHeaders->setEnabled(few);
    HorzLines->setEnabled(few);
    VertLines->setEnabled(few);
}

int TUserReport::selectedWidth() const {
    if (Chars150->isChecked()) return 150;
    if (Chars120->isChecked()) return 120;
    return 90;
}

void TUserReport::selectWidthButton(int width) {
    (width == 150 ? Chars150 : width == 120 ? Chars120 : Chars90)->setChecked(true);
}

void TUserReport::ReportNameExit() {
    if (record_ < 0) return;
    buffer_.name = ReportName->text().trimmed().left(kReportNameLength);
    DeleteButton->setEnabled(buffer_.name == openingName_);
}

std::optional<int> TUserReport::typedLines() const {
    QString text = NumLines->text();
    text.remove(QLatin1Char(' '));
    bool ok = false;
    const int lines = text.toInt(&ok);
    if (!ok) return std::nullopt;
    return lines;
}

void TUserReport::NumLinesExit() {
    const std::optional<int> lines = typedLines();
    // Only a number the report can hold goes into the buffer; anything else stays typed for
    // NumLinesOk to refuse.
    if (!lines) return;
    ui::showText(NumLines, QString::number(*lines));
    if (*lines >= 0 && *lines <= kMaxBodyLines) buffer_.numberOfLines = *lines;
    enableLineOptions(*lines);
}

bool TUserReport::NumLinesOk() {
    const std::optional<int> lines = typedLines();
    if (!lines || *lines < 0 || *lines > kMaxBodyLines) {
        ui::showNotice(this, kNumLinesRange, ui::Alert::None, ui::MessageIcon::Warning);
        NumLines->setFocus();
        return false;
    }
    buffer_.numberOfLines = *lines;
    return true;
}

bool TUserReport::MarginsOk() {
    const auto refuse = [this](QLineEdit* box, const QString& message) {
        ui::showError(this, message);
        box->setFocus();
        return false;
    };
    const std::pair<QLineEdit*, const char*> boxes[] = {
        {TopMargin, "Top"}, {BottomMargin, "Bottom"}, {LeftMargin, "Left"}, {RightMargin, "Right"}};
    double typed[4] = {};
    for (int i = 0; i < 4; ++i) {
        const std::optional<double> margin = typedMargin(boxes[i].first);
        if (!margin || *margin < 0)
            return refuse(boxes[i].first, kMarginNotNumber.arg(QLatin1String(boxes[i].second)));
        typed[i] = *margin;
    }
    const bool landscape = LandOrient->isChecked();
    const MarginRoom room = marginRoom(letterSize(landscape));
    const QString orientation =
        landscape ? QStringLiteral("landscape") : QStringLiteral("portrait");
    if (typed[2] + typed[3] > room.across)
        return refuse(LeftMargin, kMarginsAcross.arg(twoDecimals(room.across), orientation));
    if (typed[0] + typed[1] > room.down)
        return refuse(BottomMargin, kMarginsDown.arg(twoDecimals(room.down), orientation));
    return true;
}

void TUserReport::SaveOutVars() {
    buffer_.name = ReportName->text().trimmed().left(kReportNameLength);
    buffer_.width = selectedWidth();
    QLineEdit* titles[3] = {Title1, Title2, Title3};
    for (int i = 0; i < 3; ++i) buffer_.titles[i] = titles[i]->text().trimmed().left(kTitleLength);
    buffer_.groupLevel1 = Level1Group->isChecked();
    buffer_.groupLevel2 = buffer_.groupLevel1 && Level2Group->isChecked();
    buffer_.columnHeaders = ColumnHeaders->isChecked();
    buffer_.horizontalLines = HorzLines->isChecked();
    buffer_.verticalLines = VertLines->isChecked();
    buffer_.dateOnPages = DateOnPage->isChecked();
    buffer_.pageNumbers = PageNumbers->isChecked();
    buffer_.landscape = LandOrient->isChecked();
    buffer_.useTotals = UseTotals->isChecked();
    if (const auto lines = typedLines(); lines && *lines >= 0 && *lines <= kMaxBodyLines)
        buffer_.numberOfLines = *lines;
    buffer_.topMargin = typedMargin(TopMargin, buffer_.topMargin);
    buffer_.bottomMargin = typedMargin(BottomMargin, buffer_.bottomMargin);
    buffer_.leftMargin = typedMargin(LeftMargin, buffer_.leftMargin);
    buffer_.rightMargin = typedMargin(RightMargin, buffer_.rightMargin);
}

void TUserReport::UpdateButtonClick() {
    if (!NumLinesOk() || !MarginsOk()) return;
    if (!reportTextStorable(this, ReportName, QStringLiteral("Report Name"))) return;
    QLineEdit* titles[3] = {Title1, Title2, Title3};
    for (int i = 0; i < 3; ++i)
        if (!reportTextStorable(this, titles[i], QStringLiteral("Title %1").arg(i + 1))) return;
    SaveOutVars();
    bool asNew = record_ < 0;
    if (!asNew && buffer_.name != openingName_) {
        const ui::MessageAnswer answer =
            ui::askWarning(this, kTitleChanged, true, ui::Alert::Beep, ui::MessageIcon::Warning);
        if (answer == ui::MessageAnswer::Cancel) return;
        asNew = answer == ui::MessageAnswer::Yes;
    }
    const ReportFile file = ReportFile::inFolder(programDirectory_);
    const bool written = asNew ? file.append(buffer_) : file.replace(record_, buffer_);
    if (!written) {
        ui::showError(this, QStringLiteral("The report could not be saved in \"%1\".  Check that "
                                           "the file and its folder can be written.")
                                .arg(file.path()));
        return;
    }
    savedPosition_ = asNew ? file.count() - 1 : record_;
    accept();
}

void TUserReport::DeleteButtonClick() {
    if (record_ < 0) return;
    if (ui::askWarning(this, kDeleteReport, false, ui::Alert::Beep, ui::MessageIcon::Question) !=
        ui::MessageAnswer::Yes)
        return;
    const ReportFile file = ReportFile::inFolder(programDirectory_);
    if (!file.remove(record_)) {
        ui::showError(this, QStringLiteral("The report could not be deleted from \"%1\".  Check "
                                           "that the file and its folder can be written.")
                                .arg(file.path()));
        return;
    }
    deleted_ = true;
    accept();
}

void TUserReport::SpecifyButtonClick() {
    if (!NumLinesOk()) return;
    TRepLayout layout(buffer_, ReportName->text().trimmed(), selectedWidth(),
                      UseTotals->isChecked(), fieldLabels_, show_, this);
    ui::platform().execModal(layout);
}

void TUserReport::SetFontsClick() {
    TReportFonts fonts(buffer_, show_, this);
    ui::platform().execModal(fonts);
    showFonts();
}

void TUserReport::changeWidth(int width, const QString& question, int fontSize,
                              const QString& notice) {
    const int current = widthChoice(buffer_.width);
    if (width == current) return;
    if (!question.isEmpty() && ui::askWarning(this, question, false, ui::Alert::Beep,
                                              ui::MessageIcon::Warning) != ui::MessageAnswer::Yes) {
        selectWidthButton(current);
        return;
    }
    selectWidthButton(width);
    buffer_.width = width;
    const int lines = std::clamp(buffer_.numberOfLines, 0, kMaxBodyLines);
    for (int n = 1; n <= lines; ++n) refitLine(buffer_.line(n), width);
    buffer_.font(kBodyFont).size = fontSize;
    RepBodyDataFont->setText(fontCaption(buffer_.font(kBodyFont)));
    if (!notice.isEmpty()) ui::showNotice(this, notice);
}

void TUserReport::Chars90Click() {
    changeWidth(90, kTo90Question, 10, QString());
}

void TUserReport::Chars120Click() {
    const bool from150 = widthChoice(buffer_.width) == 150;
    changeWidth(120, from150 ? kTo120Question : QString(), 8, kTo120Notice);
}

void TUserReport::Chars150Click() {
    changeWidth(150, QString(), 6, kTo150Notice);
}

void TUserReport::Level1GroupClick() {
    Level2Group->setEnabled(Level1Group->isChecked());
}

void TUserReport::HelpButtonClick() {
    ui::platform().showHelpKeyword(this, QStringLiteral("User Defined Reports"));
}

}  // namespace reports
