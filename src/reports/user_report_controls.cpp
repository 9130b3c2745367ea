// The controls of the "Report Definition" window, laid out once at construction.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "reports/user_report.h"
#include "ui/typing_limit.h"

namespace reports {

namespace {

constexpr int kNumLinesLength = 2;
constexpr int kMarginLength = 5;

template <typename T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QLineEdit* edit(QWidget* parent, const char* name, QRect at, int limit) {
    auto* box = named(new QLineEdit(parent), name);
    box->setGeometry(at);
    if (limit > 0) ui::limitTyping(box, limit);
    return box;
}

// A caption to the left of `box`, which it names for screen readers and mnemonics.
void caption(QWidget* parent, const QString& text, QLineEdit* box, int width) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(box->x() - width - 6, box->y() + 3, width, 18);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setBuddy(box);
}

QCheckBox* check(QWidget* parent, const char* name, const QString& text, int left, int top) {
    auto* box = named(new QCheckBox(text, parent), name);
    box->setGeometry(left, top, 170, 22);
    return box;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, QRect at) {
    auto* b = named(new QPushButton(text, parent), name);
    b->setGeometry(at);
    return b;
}

}  // namespace

void TUserReport::fitWidthButtons() {
    // Each button as wide as its whole caption needs in the window's present font; the group
    // keeps its right edge and grows to the left when the buttons need more than its width,
    // and the name box gives way.
    QWidget* group = Chars90->parentWidget();
    const int top = Chars90->y(), height = Chars90->height();
    int x = 8;
    for (QRadioButton* b : {Chars90, Chars120, Chars150}) {
        const int width = b->sizeHint().width();
        b->setGeometry(x, top, width, height);
        x += width + 4;
    }
    const int right = group->geometry().right();
    const int width = std::max(group->width(), x + 4);
    group->setGeometry(right + 1 - width, group->y(), width, group->height());
    const int room = group->x() - 8 - ReportName->x();
    if (ReportName->width() > room) ReportName->resize(room, ReportName->height());
}

void TUserReport::buildControls() {
    resize(600, 500);
    ReportName = edit(this, "ReportName", {110, 12, 240, 24}, kReportNameLength);
    caption(this, QStringLiteral("Report Name"), ReportName, 92);

    auto* widths = new QGroupBox(QStringLiteral("Report Width"), this);
    Chars90 = named(new QRadioButton(QStringLiteral("90 Chars"), widths), "Chars90");
    Chars120 = named(new QRadioButton(QStringLiteral("120 Chars"), widths), "Chars120");
    Chars150 = named(new QRadioButton(QStringLiteral("150 Chars"), widths), "Chars150");
    for (QRadioButton* b : {Chars90, Chars120, Chars150}) b->setGeometry(0, 22, 0, 22);
    widths->setGeometry(370, 6, 218, 52);
    fitWidthButtons();

    auto* fonts = new QGroupBox(QStringLiteral("Report Fonts"), this);
    fonts->setGeometry(12, 64, 576, 92);
    TitleLineFont = edit(fonts, "TitleLineFont", {110, 22, 160, 24}, 0);
    ColumnHeaderFont = edit(fonts, "ColumnHeaderFont", {396, 22, 160, 24}, 0);
    RepBodyDataFont = edit(fonts, "RepBodyDataFont", {110, 56, 160, 24}, 0);
    FootnoteFont = edit(fonts, "FootnoteFont", {396, 56, 160, 24}, 0);
    caption(fonts, QStringLiteral("Title Lines"), TitleLineFont, 90);
    caption(fonts, QStringLiteral("Column Headers"), ColumnHeaderFont, 110);
    caption(fonts, QStringLiteral("Report Body"), RepBodyDataFont, 90);
    caption(fonts, QStringLiteral("Footnotes"), FootnoteFont, 110);
    for (QLineEdit* f : {TitleLineFont, ColumnHeaderFont, RepBodyDataFont, FootnoteFont})
        f->setReadOnly(true);

    auto* titles = new QGroupBox(QStringLiteral("Report Titles"), this);
    titles->setGeometry(12, 162, 576, 112);
    Title1 = edit(titles, "Title1", {10, 22, 556, 24}, kTitleLength);
    Title2 = edit(titles, "Title2", {10, 52, 556, 24}, kTitleLength);
    Title3 = edit(titles, "Title3", {10, 82, 556, 24}, kTitleLength);
    Title1->setAccessibleName(QStringLiteral("Title 1"));
    Title2->setAccessibleName(QStringLiteral("Title 2"));
    Title3->setAccessibleName(QStringLiteral("Title 3"));

    Level1Group = check(this, "Level1Group", QStringLiteral("Group by Level 1 Sort"), 12, 284);
    Level2Group = check(this, "Level2Group", QStringLiteral("Group by Level 2 Sort"), 12, 308);
    ColumnHeaders = check(this, "ColumnHeaders", QStringLiteral("Column Headers"), 12, 332);
    HorzLines = check(this, "HorzLines", QStringLiteral("Horizontal Lines"), 12, 356);
    VertLines = check(this, "VertLines", QStringLiteral("Vertical Lines"), 12, 380);
    DateOnPage = check(this, "DateOnPage", QStringLiteral("Date On Pages"), 190, 284);
    PageNumbers = check(this, "PageNumbers", QStringLiteral("Page Numbers"), 190, 308);
    LandOrient = check(this, "LandOrient", QStringLiteral("Print Landscape"), 190, 332);
    UseTotals = check(this, "UseTotals", QStringLiteral("Use Totals"), 190, 356);
    NumLines = edit(this, "NumLines", {300, 382, 40, 24}, kNumLinesLength);
    caption(this, QStringLiteral("Number of Lines"), NumLines, 104);

    auto* margins = new QGroupBox(QStringLiteral("Margins (in inches)"), this);
    margins->setGeometry(370, 280, 218, 88);
    TopMargin = edit(margins, "TopMargin", {60, 22, 46, 24}, kMarginLength);
    BottomMargin = edit(margins, "BottomMargin", {164, 22, 46, 24}, kMarginLength);
    LeftMargin = edit(margins, "LeftMargin", {60, 54, 46, 24}, kMarginLength);
    RightMargin = edit(margins, "RightMargin", {164, 54, 46, 24}, kMarginLength);
    caption(margins, QStringLiteral("Top"), TopMargin, 44);
    caption(margins, QStringLiteral("Bottom"), BottomMargin, 50);
    caption(margins, QStringLiteral("Left"), LeftMargin, 44);
    caption(margins, QStringLiteral("Right"), RightMargin, 50);

    SetFonts = button(this, "SetFonts", QStringLiteral("&Set Fonts"), {12, 420, 130, 28});
    SpecifyButton = button(this, "SpecifyButton", QStringLiteral("&Specify Report Content"),
                           {150, 420, 190, 28});
    UpdateButton = button(this, "UpdateButton", QStringLiteral("&Update"), {12, 460, 132, 28});
    CancelButton = button(this, "CancelButton", QStringLiteral("&Cancel"), {160, 460, 132, 28});
    DeleteButton = button(this, "DeleteButton", QStringLiteral("&Delete"), {308, 460, 132, 28});
    HelpButton = button(this, "HelpButton", QStringLiteral("&Help"), {456, 460, 132, 28});

    connect(Chars90, &QRadioButton::clicked, this, &TUserReport::Chars90Click);
    connect(Chars120, &QRadioButton::clicked, this, &TUserReport::Chars120Click);
    connect(Chars150, &QRadioButton::clicked, this, &TUserReport::Chars150Click);
    connect(Level1Group, &QCheckBox::clicked, this, &TUserReport::Level1GroupClick);
    connect(ReportName, &QLineEdit::editingFinished, this, &TUserReport::ReportNameExit);
    connect(ReportName, &QLineEdit::textEdited, this, &TUserReport::ReportNameExit);
    for (QLineEdit* box : {NumLines, TopMargin, BottomMargin, LeftMargin, RightMargin})
        connect(box, &QLineEdit::editingFinished, this, &TUserReport::NumLinesExit);
    connect(SetFonts, &QPushButton::clicked, this, &TUserReport::SetFontsClick);
    connect(SpecifyButton, &QPushButton::clicked, this, &TUserReport::SpecifyButtonClick);
    connect(UpdateButton, &QPushButton::clicked, this, &TUserReport::UpdateButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(DeleteButton, &QPushButton::clicked, this, &TUserReport::DeleteButtonClick);
    connect(HelpButton, &QPushButton::clicked, this, &TUserReport::HelpButtonClick);
}

}  // namespace reports
