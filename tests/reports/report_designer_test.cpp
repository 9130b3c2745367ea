// The report designer's windows driven offscreen through the scripted platform: the definition
// window's width changes, saving and deleting, the layout and entry windows, and the fonts.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <limits>

#include "report_test_collection.h"
#include "reports/my_report.h"
#include "reports/rep_layout.h"
#include "reports/report_file.h"
#include "reports/report_fonts.h"
#include "reports/report_part.h"
#include "reports/report_renderer.h"
#include "reports/user_report.h"
#include "ui/scripted_platform.h"

using namespace reports;
using ui::MessageAnswer;

namespace {

QStringList fieldLabels() {
    QStringList labels;
    for (const QString& label : defaultFieldLabels()) labels << label;
    return labels;
}

ReportLine widths(std::initializer_list<int> list) {
    ReportLine line = fillerLine(0);
    int i = 0;
    for (int w : list) line[i++].width = w;
    return line;
}

class ReportDesignerTest : public ::testing::Test {
  protected:
    void SetUp() override { ensureReportFile(program.path()); }

    ReportFile file() const { return ReportFile::inFolder(program.path()); }

    std::unique_ptr<TUserReport> designer(ReportDefinition& buffer, int record) {
        return std::make_unique<TUserReport>(buffer, record, program.path(), fieldLabels(),
                                             ui::ShowOptions());
    }

    // The Reports window's context over a test collection.
    ReportContext reportsOver(report_testing::ReportCollection& stamps) const {
        ReportContext context;
        context.programDirectory = program.path();
        context.table = &stamps.table;
        context.labels = fieldLabels();
        return context;
    }

    // Types into a box as the user would, leaving it afterwards.
    static void type(QLineEdit* box, const QString& text) {
        box->setText(text);
        emit box->textEdited(text);
        emit box->editingFinished();
    }

    QTemporaryDir program;
    ui::ScriptedPlatform platform;
    ui::ScopedPlatform scoped{platform};
};

}  // namespace

TEST_F(ReportDesignerTest, WidthButtonsAskRefitTheBodyLinesAndResetTheBodyFont) {
    ReportDefinition buffer = newReportTemplate();
    buffer.numberOfLines = 2;
    buffer.line(1) = widths({30, 30, 30});
    buffer.line(1)[3] = {QStringLiteral("<LABEL>"), 0, 0, QStringLiteral("Cat")};
    for (LineEntry& e : buffer.line(2)) e.width = 4;
    buffer.line(2)[19].width = 14;
    buffer.line(3) = widths({90});  // beyond the number of lines: left alone
    auto w = designer(buffer, -1);
    EXPECT_TRUE(w->Chars90->isChecked());
    EXPECT_EQ(w->RepBodyDataFont->text(), QStringLiteral("Courier New 10pt"));

    w->Chars120->click();  // from 90: no question
    EXPECT_EQ(platform.boxSummary(), QStringList{QStringLiteral("Notice: ") + kTo120Notice});
    EXPECT_EQ(buffer.width, 120);
    EXPECT_EQ(buffer.line(1)[3].width, 30);
    EXPECT_EQ(buffer.line(1)[3].label, QStringLiteral("Cat"));
    EXPECT_EQ(buffer.line(2)[19].width, 44);
    EXPECT_EQ(buffer.line(3)[0].width, 90);
    EXPECT_EQ(w->RepBodyDataFont->text(), QStringLiteral("Courier New 8pt"));

    platform.clearRecords();
    w->Chars150->click();
    EXPECT_EQ(platform.boxSummary(), QStringList{QStringLiteral("Notice: ") + kTo150Notice});
    EXPECT_EQ(buffer.font(kBodyFont).size, 6);
    EXPECT_EQ(buffer.line(1)[4].width, 30);  // the next unused entry takes the 30 added

    // Back to 120 answered No: nothing changes and 150 stays selected.
    platform.clearRecords();
    const ReportDefinition before = buffer;
    platform.queueAnswer(MessageAnswer::No);
    w->Chars120->click();
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].title, QStringLiteral("Warning"));
    EXPECT_EQ(platform.boxes()[0].text, kTo120Question);
    EXPECT_TRUE(platform.boxes()[0].beeped);
    EXPECT_EQ(platform.boxes()[0].defaultAnswer, MessageAnswer::No);
    EXPECT_TRUE(w->Chars150->isChecked());
    EXPECT_EQ(buffer, before);

    // To 90 always asks; Yes narrows the lines and sets 10 point without a notice.
    platform.clearRecords();
    platform.queueAnswer(MessageAnswer::Yes);
    w->Chars90->click();
    EXPECT_EQ(platform.boxSummary(), QStringList{QStringLiteral("Warning: ") + kTo90Question});
    EXPECT_EQ(buffer.line(1)[0].width, 30);
    EXPECT_EQ(buffer.line(1)[2].width, 30);
    EXPECT_EQ(buffer.line(1)[3].width, 0);
    EXPECT_EQ(buffer.font(kBodyFont).size, 10);
    EXPECT_TRUE(w->Chars90->isChecked());
}

TEST_F(ReportDesignerTest, ARenamedReportIsSavedAsNewOrOverTheOldOne) {
    const QStringList names = file().names();
    ReportDefinition buffer = *file().read(2);
    auto w = designer(buffer, 2);
    EXPECT_TRUE(w->DeleteButton->isEnabled());
    type(w->ReportName, QStringLiteral("  My Copy  "));
    EXPECT_FALSE(w->DeleteButton->isEnabled());

    platform.queueAnswer(MessageAnswer::Cancel);  // stays open, nothing written
    w->UpdateButton->click();
    EXPECT_EQ(w->result(), 0);
    EXPECT_EQ(file().names(), names);

    platform.queueAnswer(MessageAnswer::Yes);
    w->UpdateButton->click();
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(w->savedPosition(), 6);
    EXPECT_EQ(file().names(), QStringList(names) << QStringLiteral("My Copy"));
    EXPECT_EQ(platform.boxes().back().text, kTitleChanged);
    EXPECT_EQ(platform.boxes().back().buttons, ui::MessageButtons::YesNoCancel);

    ReportDefinition again = *file().read(2);
    auto overwrite = designer(again, 2);
    type(overwrite->ReportName, QStringLiteral("Renamed"));
    type(overwrite->Title1, QStringLiteral("A new title"));
    platform.queueAnswer(MessageAnswer::No);
    overwrite->UpdateButton->click();
    EXPECT_EQ(overwrite->savedPosition(), 2);
    EXPECT_EQ(file().count(), 7);
    EXPECT_EQ(file().read(2)->name, QStringLiteral("Renamed"));
    EXPECT_EQ(file().read(2)->titles[0], QStringLiteral("A new title"));
    EXPECT_TRUE(platform.allAnswersUsed());
}

TEST_F(ReportDesignerTest, TextTheLayoutFileCannotHoldIsRefusedAndStaysTyped) {
    const QStringList names = file().names();
    ReportDefinition buffer = newReportTemplate();
    auto w = designer(buffer, -1);
    type(w->ReportName, QStringLiteral("Ελλάδα 1830–1900"));  // the dash is in Windows-1252
    w->UpdateButton->click();
    type(w->ReportName, QStringLiteral("Polska — Łódź"));
    type(w->Title2, QStringLiteral("日本切手"));
    w->UpdateButton->click();
    EXPECT_EQ(platform.boxSummary().join(QLatin1Char('|')).toStdString(),
              "Error: \"Report Name\" contains characters a report layout cannot store: Ε λ ά δ "
              "α.  Please correct.|Error: \"Report Name\" contains characters a report layout "
              "cannot store: Ł ź.  Please correct.");
    EXPECT_EQ(file().names(), names);
    EXPECT_EQ(w->ReportName->text(), QStringLiteral("Polska — Łódź"));

    // Stored as typed once it fits: "Café Österreich" comes back unchanged.
    type(w->ReportName, QStringLiteral("Café Österreich 1850–1918"));
    type(w->Title2, QStringLiteral("Zürich, Genève"));
    w->UpdateButton->click();
    EXPECT_EQ(file().read(6)->name, QStringLiteral("Café Österreich 1850–1918"));
    EXPECT_EQ(file().read(6)->titles[1], QStringLiteral("Zürich, Genève"));

    ReportLine line = fillerLine(90);
    TReportPart part(line, 1, 0, 90, fieldLabels());
    part.RadioLabel->click();
    part.LabelName->setText(QStringLiteral("Ελλάς"));
    part.OkButton->click();
    EXPECT_EQ(part.result(), 0);
    EXPECT_EQ(platform.boxes().back().text,
              QStringLiteral("\"Label Name\" contains characters a report layout cannot store: "
                             "Ε λ ά ς.  Please correct."));
}

TEST_F(ReportDesignerTest, DeleteIsOfferedOnlyForTheStoredNameAndAsksFirst) {
    ReportDefinition fresh = newReportTemplate();
    EXPECT_FALSE(designer(fresh, -1)->DeleteButton->isEnabled());

    ReportDefinition buffer = *file().read(5);
    auto w = designer(buffer, 5);
    type(w->ReportName, QStringLiteral("Other"));
    EXPECT_FALSE(w->DeleteButton->isEnabled());
    type(w->ReportName, file().read(5)->name);
    EXPECT_TRUE(w->DeleteButton->isEnabled());

    w->DeleteButton->click();  // unanswered: No is the default
    EXPECT_EQ(file().count(), 6);
    EXPECT_EQ(platform.boxes().back().icon, ui::MessageIcon::Question);
    EXPECT_EQ(platform.boxes().back().defaultAnswer, MessageAnswer::No);
    platform.queueAnswer(MessageAnswer::Yes);
    w->DeleteButton->click();
    EXPECT_TRUE(w->deleted());
    EXPECT_EQ(file().count(), 5);
}

TEST_F(ReportDesignerTest, NumberOfLinesOutOfRangeStopsSavingAndTheLayout) {
    ReportDefinition buffer = newReportTemplate();
    auto w = designer(buffer, -1);
    type(w->NumLines, QStringLiteral("13"));
    w->UpdateButton->click();
    w->SpecifyButton->click();
    ASSERT_EQ(platform.boxes().size(), 2u);
    EXPECT_EQ(platform.boxes()[0].title, QStringLiteral("Notice"));
    EXPECT_EQ(platform.boxes()[0].text, kNumLinesRange);
    EXPECT_EQ(platform.boxes()[0].icon, ui::MessageIcon::Warning);
    EXPECT_TRUE(platform.modals().empty());
    EXPECT_EQ(file().count(), 6);

    type(w->NumLines, QStringLiteral(" 3"));
    EXPECT_EQ(w->NumLines->text(), QStringLiteral("3"));
    EXPECT_FALSE(w->ColumnHeaders->isEnabled());
    type(w->NumLines, QStringLiteral("1"));
    EXPECT_TRUE(w->VertLines->isEnabled());

    // Level 2 grouping follows level 1 and is stored off without it.
    w->Level2Group->setChecked(true);
    w->Level1Group->click();
    EXPECT_FALSE(w->Level2Group->isEnabled());
    type(w->TopMargin, QStringLiteral("1.25"));
    w->SaveOutVars();
    EXPECT_FALSE(buffer.groupLevel1);
    EXPECT_FALSE(buffer.groupLevel2);
    EXPECT_EQ(buffer.numberOfLines, 1);
    EXPECT_DOUBLE_EQ(buffer.topMargin, 1.25);
}

TEST_F(ReportDesignerTest, ANewLayoutIsSavedAtItsOffsetsAndPrinted) {
    report_testing::ReportCollection stamps{report_testing::sixStamps()};
    TMyReport reports(reportsOver(stamps));

    // New Report: name it, one 120-character line of a label and the Year field.
    platform.queueModal([this](QDialog& d) {
        auto& w = dynamic_cast<TUserReport&>(d);
        type(w.ReportName, QStringLiteral("Years"));
        type(w.NumLines, QStringLiteral("1"));
        w.Chars120->click();
        w.SpecifyButton->click();
        w.UpdateButton->click();
    });
    platform.queueModal([](QDialog& d) {
        auto& layout = dynamic_cast<TRepLayout&>(d);
        layout.ChoosePart({1, 0});
        layout.ChoosePart({1, 1});
        layout.OkButton->click();
    });
    platform.queueModal([](QDialog& d) {
        auto& part = dynamic_cast<TReportPart&>(d);
        EXPECT_EQ(part.SelPartLabel->text(), QStringLiteral("Line 1, Item 1"));
        part.RadioLabel->click();
        part.LabelName->setText(QStringLiteral("  Issued:  "));
        part.FieldWidth->setText(QStringLiteral("20"));
        part.OkButton->click();
    });
    platform.queueModal([](QDialog& d) {
        auto& part = dynamic_cast<TReportPart&>(d);
        EXPECT_EQ(part.FieldWidth->text(), QStringLiteral("100"));
        part.RadioField->click();
        part.FieldList->setCurrentRow(6);  // Year
        part.OkButton->click();
    });
    reports.NewButton->click();
    EXPECT_TRUE(platform.allAnswersUsed());
    ASSERT_EQ(reports.ReportBox->count(), 7);
    EXPECT_EQ(reports.ReportBox->currentRow(), 6);

    QFile urp(file().path());
    ASSERT_TRUE(urp.open(QIODevice::ReadOnly));
    const QByteArray bytes = urp.readAll();
    ASSERT_EQ(bytes.size(), 7 * kReportRecordSize);
    const char* record = bytes.constData() + 6 * kReportRecordSize;
    const char* entry1 = record + offsets::kBodyLines;
    const char* entry2 = entry1 + offsets::kEntrySize;
    EXPECT_EQ(decodeText(record, kReportNameLength), QStringLiteral("Years"));
    EXPECT_EQ(decodeInt16(record + offsets::kWidth), 120);
    EXPECT_EQ(decodeInt16(entry1 + 32), 20);
    EXPECT_EQ(decodeText(entry1, kReportNameLength), kLabelName);
    EXPECT_EQ(decodeText(entry1 + 34, kLabelLength), QStringLiteral("Issued:"));
    EXPECT_EQ(decodeInt16(entry2 + 32), 100);
    EXPECT_EQ(decodeText(entry2, kReportNameLength).toUpper(), QStringLiteral("YEAR"));
    EXPECT_EQ(static_cast<unsigned char>(entry2[31]), 7);

    const QStringList text = stamps.textOf(*file().read(6));
    EXPECT_TRUE(text.filter(QStringLiteral("Issued:")).size() == 6)
        << text.join('\n').toStdString();
    EXPECT_EQ(text.filter(QStringLiteral("1851")).size(), 1);

    // The same report goes to the preview and into a PDF file at once, with no restart.
    ReportJob job(*file().read(6), stamps.table, stamps.settings(), letterPage());
    RecordedReport pages;
    EXPECT_EQ(job.runToPages(pages), RunResult::Completed);
    EXPECT_EQ(pages.pageCount(), 1);
    const QString pdf = stamps.file(QStringLiteral("years.pdf"));
    ReportJob pdfJob(*file().read(6), stamps.table, stamps.settings(), letterPage());
    EXPECT_EQ(pdfJob.runToPdf(pdf), RunResult::Completed);
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdfFile.read(5) == "%PDF-");
}

TEST_F(ReportDesignerTest, ModifyWritesTheReportBackInPlaceAndDeleteListsTheRest) {
    report_testing::ReportCollection stamps{report_testing::sixStamps()};
    TMyReport reports(reportsOver(stamps));
    const QByteArray untouched = [this] {
        QFile f(file().path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();

    // Cancel leaves the file byte for byte; Help opens at the designer's page.
    reports.ReportBox->setCurrentRow(2);
    platform.queueModal([](QDialog& d) {
        auto& w = dynamic_cast<TUserReport&>(d);
        type(w.Title1, QStringLiteral("Never saved"));
        w.HelpButton->click();
        w.CancelButton->click();
    });
    reports.ModifyButton->click();
    QFile urp(file().path());
    ASSERT_TRUE(urp.open(QIODevice::ReadOnly));
    EXPECT_EQ(urp.readAll(), untouched);
    urp.close();
    ASSERT_EQ(platform.helpRequests().size(), 1u);
    EXPECT_EQ(platform.helpRequests()[0].keyword, QStringLiteral("User Defined Reports"));

    // Update under the same name writes record 2 in place and selects it again.
    platform.queueModal([name = file().read(2)->name](QDialog& d) {
        auto& w = dynamic_cast<TUserReport&>(d);
        EXPECT_EQ(w.ReportName->text(), name);
        type(w.Title1, QStringLiteral("Kept titles"));
        w.UpdateButton->click();
    });
    reports.ReportBox->setCurrentRow(2);
    reports.ModifyButton->click();
    EXPECT_EQ(file().count(), 6);
    EXPECT_EQ(file().read(2)->titles[0], QStringLiteral("Kept titles"));
    EXPECT_EQ(reports.ReportBox->currentRow(), 2);
    EXPECT_TRUE(platform.boxes().empty());

    platform.queueModal([](QDialog& d) { dynamic_cast<TUserReport&>(d).DeleteButton->click(); });
    platform.queueAnswer(MessageAnswer::Yes);
    reports.ModifyButton->click();
    EXPECT_EQ(reports.ReportBox->count(), 5);
    EXPECT_EQ(file().count(), 5);
    EXPECT_TRUE(platform.allAnswersUsed());
}

TEST_F(ReportDesignerTest, EntryWindowRefusesABadWidthAndOffersTotalsOnTheTotalsLine) {
    ReportLine totals = fillerLine(0);
    totals[0] = {QStringLiteral("Purchase Price"), 2, 60, QString()};
    totals[1] = {kFillerName, 0, 60, QString()};
    TReportPart part(totals, kTotalsRow, 0, 120, fieldLabels());
    EXPECT_EQ(part.SelPartLabel->text(), QStringLiteral("Totals Line, Item 1"));
    ASSERT_EQ(part.FieldList->count(), 3);
    EXPECT_EQ(part.FieldList->currentRow(), 1);
    EXPECT_TRUE(part.RadioField->isChecked());
    EXPECT_FALSE(part.LabelName->isEnabled());

    part.FieldWidth->setText(QStringLiteral("1x"));
    part.OkButton->click();
    ASSERT_EQ(platform.boxes().size(), 1u);
    EXPECT_EQ(platform.boxes()[0].title, QStringLiteral("Error"));
    EXPECT_EQ(platform.boxes()[0].text, kInvalidWidth);
    EXPECT_EQ(platform.boxes()[0].icon, ui::MessageIcon::Warning);
    EXPECT_TRUE(platform.boxes()[0].beeped);
    EXPECT_EQ(part.result(), 0);

    part.FieldWidth->setText(QStringLiteral("40"));
    part.FieldList->setCurrentRow(2);
    part.OkButton->click();
    EXPECT_EQ(part.line()[0].name, QStringLiteral("Quantity"));
    EXPECT_EQ(part.line()[0].fieldNumber, 3);
    EXPECT_EQ(part.line()[1].width, 60);
    EXPECT_EQ(part.line()[2].width, 20);  // the first unused entry takes what is left

    // A body entry whose name the list does not know is found by its number; with neither,
    // nothing is chosen and Ok keeps the entry's field.
    ReportLine body = fillerLine(120);
    body[0] = {QStringLiteral("OLDNAME"), 7, 120, QString()};
    TReportPart byNumber(body, 3, 0, 120, fieldLabels());
    EXPECT_EQ(byNumber.FieldList->currentRow(), 6);
    body[0].fieldNumber = 0;
    TReportPart unknown(body, 3, 0, 120, fieldLabels());
    EXPECT_EQ(unknown.FieldList->currentRow(), -1);
    unknown.FieldWidth->setText(QStringLiteral("60"));
    unknown.OkButton->click();
    EXPECT_EQ(unknown.line()[0].name, QStringLiteral("OLDNAME"));
    EXPECT_EQ(unknown.line()[0].width, 60);

    TReportPart filler(totals, kTotalsRow, 1, 120, fieldLabels());
    EXPECT_TRUE(filler.RadioFiller->isChecked());
    EXPECT_FALSE(filler.FieldList->isEnabled());
    EXPECT_FALSE(filler.LabelName->isEnabled());
}

TEST_F(ReportDesignerTest, ClickingAnEntryOpensItAndCancelDiscardsTheLayout) {
    ReportDefinition buffer = *file().read(1);
    const ReportDefinition before = buffer;
    TRepLayout layout(buffer, buffer.name, buffer.width, true, fieldLabels(), {});
    layout.show();
    QString chosen;
    platform.queueModal([&chosen](QDialog& d) {
        auto& part = dynamic_cast<TReportPart&>(d);
        chosen = part.SelPartLabel->text();
        part.RadioFiller->click();
        part.OkButton->click();
    });
    QTest::mouseClick(&layout, Qt::LeftButton, {}, QPoint(10, 365));
    EXPECT_EQ(chosen, QStringLiteral("Totals Line, Item 1"));
    EXPECT_TRUE(layout.workingCopy().totals[0].isFiller());

    // Down on one entry and up on another, or outside the rows: nothing opens.
    QTest::mousePress(&layout, Qt::LeftButton, {}, QPoint(10, 80));
    QTest::mouseRelease(&layout, Qt::LeftButton, {}, QPoint(10, 100));
    QTest::mouseClick(&layout, Qt::LeftButton, {}, QPoint(10, 40));
    EXPECT_EQ(platform.modals().size(), 1u);

    layout.grab();  // paints every row without failing
    layout.CancelButton->click();
    EXPECT_EQ(buffer, before);

    // At a window scale of 1.5 the rows and the hits move with the controls.
    ui::ShowOptions larger;
    larger.scaleFactor = 1.5;
    TRepLayout scaled(buffer, buffer.name, buffer.width, false, fieldLabels(), larger);
    scaled.show();
    EXPECT_EQ(scaled.width(), 951);
    platform.queueModal(
        [&chosen](QDialog& d) { chosen = dynamic_cast<TReportPart&>(d).SelPartLabel->text(); });
    QTest::mouseClick(&scaled, Qt::LeftButton, {}, QPoint(10, 150));
    EXPECT_EQ(chosen, QStringLiteral("Line 2, Item 1"));
}

TEST_F(ReportDesignerTest, FontsWindowOkWithoutAChangeKeepsTheFontAndColoursAreChosenBeside) {
    ReportDefinition buffer = newReportTemplate();
    buffer.font(kTitleFont).bold = true;
    auto w = designer(buffer, -1);
    platform.queueModal([](QDialog& d) {
        auto& fonts = dynamic_cast<TReportFonts&>(d);
        fonts.NewFontButtons[0]->click();
        fonts.findChild<QPushButton*>(QStringLiteral("FontColor3"))->click();
        fonts.OkButton->click();
    });
    QFont shown(QStringLiteral("Liberation Mono"), 10);  // what the dialog opened on
    shown.setBold(true);
    platform.queueFont(ui::FontChoice{shown, colorFromWindows(buffer.font(kTitleFont).color)});
    platform.queueColor(QColor(0x12, 0x34, 0x56));
    w->SetFonts->click();
    EXPECT_EQ(platform.lastFontPreset().font.family(), QStringLiteral("Liberation Mono"));
    EXPECT_TRUE(platform.lastFontPreset().font.bold());
    ReportFont expected = newReportTemplate().font(kTitleFont);
    expected.bold = true;
    EXPECT_EQ(buffer.font(kTitleFont), expected);
    EXPECT_EQ(buffer.font(kBodyFont).color, 0x563412u);
    EXPECT_EQ(buffer.font(kBodyFont).name, newReportTemplate().font(kBodyFont).name);
}

TEST_F(ReportDesignerTest, FontsWindowWritesTheChosenFontIntoTheBuffer) {
    ReportDefinition buffer = newReportTemplate();
    auto w = designer(buffer, -1);
    QFont chosen(QStringLiteral("Liberation Serif"));
    chosen.setPointSize(14);
    chosen.setItalic(true);
    chosen.setStrikeOut(true);
    platform.queueModal([](QDialog& d) {
        auto& fonts = dynamic_cast<TReportFonts&>(d);
        EXPECT_EQ(fonts.TitleFont->text(), QStringLiteral("Courier New 10pt"));
        fonts.NewFontButtons[0]->click();
        fonts.NewFontButtons[1]->click();  // a name the file cannot hold: refused
        fonts.NewFontButtons[2]->click();  // cancelled
        EXPECT_EQ(fonts.TitleFont->text(), QStringLiteral("Liberation Serif 14pt"));
        fonts.OkButton->click();
    });
    platform.queueFont(ui::FontChoice{chosen, QColor(0x12, 0x34, 0x56)});
    platform.queueFont(ui::FontChoice{QFont(QStringLiteral("明朝")), QColor()});
    platform.queueFont(std::nullopt);
    w->SetFonts->click();
    // The body font's dialog (the last one) was preset with the stored font, under the family
    // "Courier New" is drawn with here.
    EXPECT_EQ(platform.lastFontPreset().font.family(), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(platform.lastFontPreset().font.pointSize(), 10);
    EXPECT_FALSE(platform.lastFontPreset().font.bold());
    const ReportFont& title = buffer.font(kTitleFont);
    EXPECT_EQ(title.name, QStringLiteral("Liberation Serif"));
    EXPECT_EQ(title.size, 14);
    EXPECT_FALSE(title.bold);
    EXPECT_TRUE(title.italic);
    EXPECT_TRUE(title.strikeOut);
    EXPECT_EQ(title.color, 0x563412u);
    EXPECT_EQ(buffer.font(kBodyFont), newReportTemplate().font(kBodyFont));
    EXPECT_EQ(buffer.font(kColumnHeaderFont), newReportTemplate().font(kColumnHeaderFont));
    EXPECT_EQ(platform.boxSummary(),
              QStringList{QStringLiteral("Error: The name of the font \"明朝\" cannot be stored in "
                                         "a report layout.  Please choose another font.")});
    EXPECT_EQ(w->TitleLineFont->text(), QStringLiteral("Liberation Serif 14pt"));
}

TEST_F(ReportDesignerTest, MarginsThatAreNotNumbersOrLeaveNoRoomAreRefusedAndNotSaved) {
    ReportDefinition buffer = newReportTemplate();
    auto w = designer(buffer, -1);
    type(w->ReportName, QStringLiteral("Margins"));
    const struct {
        QLineEdit* box;
        const char* typed;
        QString message;
    } cases[] = {
        {w->LeftMargin, "1e300", kMarginsAcross.arg(QStringLiteral("7.50"), "portrait")},
        {w->RightMargin, "inf", kMarginNotNumber.arg(QStringLiteral("Right"))},
        {w->TopMargin, "nan", kMarginNotNumber.arg(QStringLiteral("Top"))},
        {w->BottomMargin, "-1", kMarginNotNumber.arg(QStringLiteral("Bottom"))},
        {w->BottomMargin, "x", kMarginNotNumber.arg(QStringLiteral("Bottom"))},
        {w->BottomMargin, "8.01", kMarginsDown.arg(QStringLiteral("8.00"), "portrait")},
    };
    for (const auto& c : cases) {
        for (QLineEdit* box : {w->TopMargin, w->BottomMargin, w->LeftMargin, w->RightMargin})
            type(box, QStringLiteral("0.5"));
        type(c.box, QLatin1String(c.typed));
        const std::size_t before = platform.boxes().size();
        w->UpdateButton->click();
        ASSERT_EQ(platform.boxes().size(), before + 1) << c.typed;
        EXPECT_EQ(platform.boxes().back().title, QStringLiteral("Error"));
        EXPECT_EQ(platform.boxes().back().text, c.message) << c.typed;
        EXPECT_EQ(file().count(), 6) << c.typed;
        EXPECT_EQ(w->result(), 0);
    }
    // Landscape has less room down the page; margins that fit are saved as typed.
    w->LandOrient->setChecked(true);
    type(w->BottomMargin, QStringLiteral("6"));
    const std::size_t before = platform.boxes().size();
    w->UpdateButton->click();
    ASSERT_EQ(platform.boxes().size(), before + 1);
    EXPECT_EQ(platform.boxes().back().text, kMarginsDown.arg(QStringLiteral("5.50"), "landscape"));
    type(w->BottomMargin, QStringLiteral("5.00"));
    type(w->LeftMargin, QStringLiteral("4.5"));
    w->UpdateButton->click();
    ASSERT_EQ(file().count(), 7);
    const std::optional<ReportDefinition> saved = file().read(6);
    ASSERT_TRUE(saved);
    EXPECT_DOUBLE_EQ(saved->bottomMargin, 5.0);
    EXPECT_DOUBLE_EQ(saved->leftMargin, 4.5);
}

TEST_F(ReportDesignerTest, AReportFileWithMarginsThatLeaveNoRoomIsReadWithinThePage) {
    ReportDefinition stored = newReportTemplate();
    stored.name = QStringLiteral("Damaged");
    stored.leftMargin = 1e13;
    stored.rightMargin = -std::numeric_limits<double>::infinity();
    stored.topMargin = std::numeric_limits<double>::quiet_NaN();
    ASSERT_TRUE(file().append(stored));
    const std::optional<ReportDefinition> read = file().read(6);
    ASSERT_TRUE(read);
    EXPECT_DOUBLE_EQ(read->leftMargin, 7.5);
    EXPECT_DOUBLE_EQ(read->rightMargin, 0);
    EXPECT_DOUBLE_EQ(read->topMargin, 0.5);
    // The designer shows them so.
    ReportDefinition buffer = *read;
    auto w = designer(buffer, 6);
    EXPECT_EQ(w->LeftMargin->text(), QStringLiteral("7.50"));
}

TEST_F(ReportDesignerTest, WidthButtonsShowTheirWholeCaptions) {
    ReportDefinition buffer = newReportTemplate();
    auto w = designer(buffer, -1);
    const QRadioButton* buttons[] = {w->Chars90, w->Chars120, w->Chars150};
    for (int i = 0; i < 3; ++i) {
        const QRadioButton* b = buttons[i];
        SCOPED_TRACE(b->text().toStdString());
        EXPECT_GE(b->width(), b->sizeHint().width());
        EXPECT_LE(b->geometry().right(), b->parentWidget()->contentsRect().right());
        if (i > 0) {
            EXPECT_GT(b->x(), buttons[i - 1]->geometry().right());
        }
    }
    // The name box ends before the width group begins.
    EXPECT_LT(w->ReportName->geometry().right(), w->Chars90->parentWidget()->x());
}
