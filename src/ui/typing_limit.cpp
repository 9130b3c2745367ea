#include "ui/typing_limit.h"

#include <QComboBox>
#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace ui {

namespace {

class TypingLimit : public QValidator {
  public:
    TypingLimit(QLineEdit* edit, int width) : QValidator(edit), width_(width) {
        setObjectName(QStringLiteral("TypingLimit"));
        shownLength_ = edit->text().size();
        // The length the box showed before an edit: the validator sees only the edited text.
        connect(edit, &QLineEdit::textChanged, this,
                [this](const QString& text) { shownLength_ = text.size(); });
    }

    int width() const { return width_; }
    void setWidth(int width) { width_ = width; }
    void setShowing(bool on) { showing_ = on; }

    State validate(QString& input, int& pos) const override {
        if (showing_) return Acceptable;
        const qsizetype allowed = std::max<qsizetype>(width_, shownLength_);
        const qsizetype excess = input.size() - allowed;
        if (excess <= 0) return Acceptable;
        // The inserted characters end at the cursor: drop the last of them.
        if (excess > pos) return Invalid;
        input.remove(pos - excess, excess);
        pos -= int(excess);
        return Acceptable;
    }

  private:
    int width_;
    qsizetype shownLength_ = 0;
    bool showing_ = false;
};

TypingLimit* limitOf(const QLineEdit* edit) {
    return edit ? dynamic_cast<TypingLimit*>(const_cast<QValidator*>(edit->validator())) : nullptr;
}

// Lifts the typing limit of a box while the program sets its text.
class ShowingWhole {
  public:
    explicit ShowingWhole(const QLineEdit* edit) : limit_(limitOf(edit)) {
        if (limit_) limit_->setShowing(true);
    }
    ~ShowingWhole() {
        if (limit_) limit_->setShowing(false);
    }
    ShowingWhole(const ShowingWhole&) = delete;
    ShowingWhole& operator=(const ShowingWhole&) = delete;

  private:
    TypingLimit* limit_;
};

}  // namespace

void limitTyping(QLineEdit* edit, int width) {
    if (TypingLimit* limit = limitOf(edit)) {
        limit->setWidth(width);
        return;
    }
    edit->setValidator(new TypingLimit(edit, width));
}

int typingLimit(const QLineEdit* edit) {
    const TypingLimit* limit = limitOf(edit);
    return limit ? limit->width() : 0;
}

void showText(QLineEdit* edit, const QString& text) {
    const ShowingWhole whole(edit);
    edit->setText(text);
}

void showText(QComboBox* box, const QString& text) {
    const ShowingWhole whole(box->lineEdit());
    box->setEditText(text);
}

}  // namespace ui
