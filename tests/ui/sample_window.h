// A window with one control of every kind the window base knows, laid out by absolute position
// as the system's windows are, for the font, geometry and colour tests.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>

#include "ui/masked_edit.h"

namespace uitest {

class SampleWindow : public QDialog {
  public:
    SampleWindow() {
        setObjectName("TSample");
        resize(400, 300);
        label = place(new QLabel("Heading", this), "Heading", {10, 10, 100, 16});
        minor = place(new QLabel("Field", this), "FieldLabel", {120, 10, 60, 16});
        list = place(new QListWidget(this), "TheList", {10, 30, 100, 80});
        grid = place(new QTableWidget(3, 2, this), "TheGrid", {120, 30, 150, 80});
        check = place(new QCheckBox("&Wanted", this), "WantedBox", {10, 120, 80, 20});
        edit = place(new QLineEdit(this), "Description", {100, 120, 120, 20});
        memo = place(new QTextEdit(this), "Comments", {230, 120, 120, 40});
        radio = place(new QRadioButton("&Left", this), "LeftButton", {10, 150, 80, 20});
        masked = place(new ui::MaskedEdit(this), "PurchDate", {100, 150, 80, 20});
        masked->setEditMask("!99/99/9999;1;_");
        maskedPlain = place(new QLineEdit(this), "PlainMasked", {190, 150, 30, 20});
        maskedPlain->setInputMask("999");
        button = place(new QPushButton("&Ok", this), "OkButton", {10, 180, 60, 24});
        speed = place(new QToolButton(this), "AddSpeed", {80, 180, 25, 25});
        group = place(new QGroupBox("Options", this), "OptionsBox", {120, 180, 150, 60});
        inGroup = place(new QLabel("Inside", group), "InsideLabel", {10, 20, 50, 16});
        combo = place(new QComboBox(this), "MyComboCountry", {280, 180, 100, 20});
        combo->setEditable(true);
        bevel = place(new QFrame(this), "Bevel1", {5, 250, 300, 40});
        bevel->setFrameShape(QFrame::Box);
        spin = place(new QSpinBox(this), "Copies", {310, 250, 50, 20});
    }

    template <typename W>
    W* place(W* w, const char* name, QRect geometry) {
        w->setObjectName(name);
        w->setGeometry(geometry);
        return w;
    }

    QLabel* label;
    QLabel* minor;
    QListWidget* list;
    QTableWidget* grid;
    QCheckBox* check;
    QLineEdit* edit;
    QTextEdit* memo;
    QRadioButton* radio;
    ui::MaskedEdit* masked;
    QLineEdit* maskedPlain;
    QPushButton* button;
    QToolButton* speed;
    QGroupBox* group;
    QLabel* inGroup;
    QComboBox* combo;
    QFrame* bevel;
    QSpinBox* spin;
};

}  // namespace uitest
