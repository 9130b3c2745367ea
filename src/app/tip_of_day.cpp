#include "app/tip_of_day.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>

#include "ui/window_base.h"

namespace app {

const QStringList& TTipOfDay::tips() {
    static const QStringList list = {
        QStringLiteral("You can rename database fields to your liking."),
        QStringLiteral("You can edit data directly on the Main Window Viewer."),
        QStringLiteral("You can choose to see only those database fields you desire in the Main "
                       "Window Viewer."),
        QStringLiteral("You can choose the order in which the database fields appear in the Main "
                       "Window Viewer."),
        QStringLiteral("You can select the font for edit boxes allowing for support of foreign "
                       "language input."),
        QStringLiteral("You can do a global search and replace on any database field."),
        QStringLiteral("You can select numeric and currency formats for reports to either match "
                       "your Windows setup or to be a U.S. format."),
        QStringLiteral("You can choose from among several date formats to be used through out the "
                       "program."),
        QStringLiteral("You can sort your data by any database field and go four levels deep."),
        QStringLiteral("You can maintain multiple databases and Tessera will display the last five "
                       "used in the menu for easy retrieval."),
        QStringLiteral("You can easily import data from ASCII Delimited or DBase compatible "
                       "files."),
        QStringLiteral("You can export data to ASCII Delimited or DBase compatible files and "
                       "choose which database fields to export and the order."),
        QStringLiteral("When exporting data, you can limit the data to export by first doing a "
                       "search."),
        QStringLiteral("When printing a report, you can limit the data to print by first doing a "
                       "search."),
        QStringLiteral("You can preview reports, print reports to a text file or send them "
                       "directly to the printer."),
        QStringLiteral("You can design and build as many of your own report layouts as you "
                       "like."),
        QStringLiteral("You can choose to have speed buttons or large lettered buttons on the main "
                       "window for quick program functions."),
        QStringLiteral("You can choose among popular screen sizes allowing program windows to "
                       "appear the size you prefer."),
        QStringLiteral("You can choose the font style for text input, labels and buttons allowing "
                       "for a more personal appearance."),
        QStringLiteral("You can narrow the data that is displayed in the Main Window Viewer to "
                       "just the result of a search."),
        QStringLiteral("Logical OR searches can be performed: Find all records where the item = "
                       "xxxx OR where the item = yyyy."),
        QStringLiteral("User defined reports allow for Title Lines, Font Selection, Margin "
                       "Settings, Page Numbers, Date On Pages and More."),
        QStringLiteral("User defined reports allow for Column Headers, Vertical and Horizontal "
                       "lines, Grouping of Data, Totals and More."),
        QStringLiteral("A \"Browse Mode\" is available where a user has access to the data, but "
                       "cannot change it."),
    };
    return list;
}

TTipOfDay::TTipOfDay(bool showTips, double scaleFactor, QWidget* parent, int startTip)
    : QDialog(parent), scaleFactor_(scaleFactor) {
    setObjectName(QStringLiteral("TipOfDay"));
    setWindowTitle(QStringLiteral("Tip of the Day"));
    resize(380, 200);

    auto* heading = new QLabel(QStringLiteral("Did you know?"), this);
    heading->setObjectName(QStringLiteral("HeadingLabel"));
    QFont headingFont = heading->font();
    headingFont.setPointSize(14);
    headingFont.setBold(true);
    heading->setFont(headingFont);
    heading->setGeometry(60, 12, 300, 28);

    auto* bulb = new QLabel(QStringLiteral("?"), this);
    bulb->setObjectName(QStringLiteral("TipImage"));
    QFont bulbFont = bulb->font();
    bulbFont.setPointSize(24);
    bulbFont.setBold(true);
    bulb->setFont(bulbFont);
    bulb->setAlignment(Qt::AlignCenter);
    bulb->setStyleSheet(QStringLiteral("color: #b08000; background: #fff4c0"));
    bulb->setGeometry(12, 12, 40, 40);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("TipBevel"));
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setGeometry(60, 44, 308, 96);
    tipText_ = new QLabel(this);
    tipText_->setObjectName(QStringLiteral("TipLabel"));
    tipText_->setWordWrap(true);
    tipText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    tipText_->setGeometry(68, 50, 292, 84);

    showTips_ = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
    showTips_->setObjectName(QStringLiteral("ShowTipsCheck"));
    showTips_->setChecked(showTips);
    showTips_->setGeometry(12, 160, 170, 24);

    auto* next = new QPushButton(QStringLiteral("&Next Tip"), this);
    next->setObjectName(QStringLiteral("NextTipButton"));
    next->setGeometry(196, 158, 82, 28);
    connect(next, &QPushButton::clicked, this, &TTipOfDay::NextTipClick);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("CloseButton"));
    close->setGeometry(286, 158, 82, 28);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    const int count = int(tips().size());
    current_ = startTip >= 0 && startTip < count ? startTip
                                                 : int(QRandomGenerator::global()->bounded(count));
    showTip();
}

QString TTipOfDay::currentText() const {
    return tips().at(current_);
}

bool TTipOfDay::showTipsChecked() const {
    return showTips_->isChecked();
}

void TTipOfDay::NextTipClick() {
    current_ = (current_ + 1) % int(tips().size());
    showTip();
}

void TTipOfDay::showTip() {
    tipText_->setText(currentText());
}

void TTipOfDay::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ui::ShowOptions options;
    options.scaleFactor = scaleFactor_;
    ui::prepareWindowForShow(this, options);
}

}  // namespace app
