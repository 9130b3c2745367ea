#include "reports/album_window.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace reports {

TAlbumPages::TAlbumPages(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AlbumPages"));
    setWindowTitle(QStringLiteral("Album Pages"));

    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(
        QStringLiteral("The main picture of every viewed stamp that has one, with its country, "
                       "year, catalogue number, face value and description, grouped by "
                       "country."),
        this);
    text->setWordWrap(true);
    layout->addWidget(text);

    auto* form = new QFormLayout;
    PerRow = new QSpinBox(this);
    PerRow->setObjectName(QStringLiteral("PerRow"));
    PerRow->setRange(kMinPerRow, kMaxPerRow);
    PerRow->setValue(AlbumOptions().perRow);
    form->addRow(QStringLiteral("Pictures per &row"), PerRow);
    LandOrient = new QCheckBox(QStringLiteral("Print &Landscape"), this);
    LandOrient->setObjectName(QStringLiteral("LandOrient"));
    form->addRow(QString(), LandOrient);
    layout->addLayout(form);

    auto* buttons = new QHBoxLayout;
    const auto button = [this, buttons](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        buttons->addWidget(b);
        return b;
    };
    ViewButton = button("ViewButton", QStringLiteral("&View"));
    PrintButton = button("PrintButton", QStringLiteral("&Print"));
    CancelButton = button("CancelButton", QStringLiteral("&Cancel"));
    ViewButton->setDefault(true);
    layout->addLayout(buttons);

    connect(ViewButton, &QPushButton::clicked, this, [this] {
        output_ = Output::View;
        accept();
    });
    connect(PrintButton, &QPushButton::clicked, this, [this] {
        output_ = Output::Print;
        accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

AlbumOptions TAlbumPages::options() const {
    AlbumOptions o;
    o.perRow = PerRow->value();
    o.landscape = LandOrient->isChecked();
    return o;
}

}  // namespace reports
