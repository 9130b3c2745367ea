#include "ui/record_navigator.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

#include "engine/error.h"
#include "engine/table.h"
#include "ui/data_grid.h"
#include "ui/data_grid_model.h"

namespace ui {

namespace {

using Button = RecordNavigator::Button;

struct ButtonLook {
    Button button;
    const char* objectName;
    const char* toolTip;
    int pixmap;         // a QStyle::StandardPixmap, or -1 for the glyph
    const char* glyph;  // UTF-8
};

// In the order the buttons stand; the index of each is the bit number of its Button value.
constexpr std::array<ButtonLook, 10> kLooks = {{
    {Button::First, "NavFirst", "First record", QStyle::SP_MediaSkipBackward, ""},
    {Button::Prior, "NavPrior", "Prior record", QStyle::SP_MediaSeekBackward, ""},
    {Button::Next, "NavNext", "Next record", QStyle::SP_MediaSeekForward, ""},
    {Button::Last, "NavLast", "Last record", QStyle::SP_MediaSkipForward, ""},
    {Button::Insert, "NavInsert", "Insert record", -1, "+"},
    {Button::Delete, "NavDelete", "Delete record", -1, "\xe2\x88\x92"},  // minus sign
    {Button::Edit, "NavEdit", "Edit record", -1, "\xe2\x96\xb2"},        // up triangle
    {Button::Post, "NavPost", "Post edit", -1, "\xe2\x9c\x93"},          // check mark
    {Button::Cancel, "NavCancel", "Cancel edit", -1, "\xe2\x9c\x97"},    // ballot x
    {Button::Refresh, "NavRefresh", "Refresh data", QStyle::SP_BrowserReload, ""},
}};

int slotOf(Button which) {
    for (std::size_t i = 0; i < kLooks.size(); ++i)
        if (kLooks[i].button == which) return int(i);
    return 0;
}

}  // namespace

RecordNavigator::RecordNavigator(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (std::size_t i = 0; i < kLooks.size(); ++i) {
        const ButtonLook& look = kLooks[i];
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(look.objectName));
        b->setToolTip(QString::fromLatin1(look.toolTip));
        // The glyphs and icons say nothing to a screen reader: the button is named in words.
        b->setAccessibleName(QString::fromLatin1(look.toolTip));
        if (look.pixmap >= 0)
            b->setIcon(style()->standardIcon(QStyle::StandardPixmap(look.pixmap)));
        else
            b->setText(QString::fromUtf8(look.glyph));
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        const Button which = look.button;
        connect(b, &QToolButton::clicked, this, [this, which] { trigger(which); });
        layout->addWidget(b);
        buttons_[i] = b;
    }
}

void RecordNavigator::bind(DataGrid* grid) {
    grid_ = grid;
}

void RecordNavigator::setVisibleButtons(Buttons buttons) {
    visible_ = buttons;
    for (std::size_t i = 0; i < kLooks.size(); ++i)
        buttons_[i]->setVisible(buttons.testFlag(kLooks[i].button));
}

QToolButton* RecordNavigator::button(Button which) const {
    return buttons_[std::size_t(slotOf(which))];
}

void RecordNavigator::trigger(Button which) {
    if (which == Button::Delete) {
        emit deleteRequested();
        return;
    }
    act(which);
}

void RecordNavigator::deleteCurrent() {
    if (!grid_ || !grid_->tableModel() || !grid_->tableModel()->table()) return;
    engine::Table& table = *grid_->tableModel()->table();
    if (!table.isOpen()) return;
    try {
        table.deleteRecord();
    } catch (const engine::EngineError& e) {
        emit errorOccurred(QString::fromStdString(e.what()));
        return;
    }
    afterTableChange(true);
}

void RecordNavigator::act(Button which) {
    if (!grid_ || !grid_->tableModel() || !grid_->tableModel()->table()) return;
    engine::Table& table = *grid_->tableModel()->table();
    if (!table.isOpen()) return;
    // Moving off, posting or cancelling a record being changed can change the set of rows.
    const bool changing = table.state() != engine::EditState::Browse;
    bool rowsChanged = changing;
    try {
        switch (which) {
            case Button::First:
                table.first();
                break;
            case Button::Prior:
                table.prior();
                break;
            case Button::Next:
                table.next();
                break;
            case Button::Last:
                table.last();
                break;
            case Button::Insert:
                table.insert();
                rowsChanged = true;
                break;
            case Button::Edit:
                if (table.recNo() != 0) table.edit();
                break;
            case Button::Post:
                table.post();
                break;
            case Button::Cancel:
                table.cancel();
                break;
            case Button::Refresh:
                table.refresh();
                rowsChanged = true;
                break;
            case Button::Delete:
                return;
        }
    } catch (const engine::EngineError& e) {
        emit errorOccurred(QString::fromStdString(e.what()));
        return;
    }
    afterTableChange(rowsChanged);
}

void RecordNavigator::afterTableChange(bool rowsChanged) {
    if (rowsChanged)
        grid_->tableModel()->reload();  // the grid follows the cursor after the reset
    else
        grid_->syncToCursor();
    emit changed();
}

}  // namespace ui
