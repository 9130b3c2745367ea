// FittingLabel: a one-line label that always shows its text whole.
//
// A text wider than the label is drawn in a smaller size of the label's own font, just small
// enough to fit (a money total of many digits in a narrow totals label); a text that fits is
// drawn as any label draws it. The label's font property is never changed, so the fonts and
// geometry that windows put back and scale on showing stay as they were.
#pragma once

#include <QFont>
#include <QLabel>

namespace ui {

class FittingLabel : public QLabel {
    Q_OBJECT
  public:
    using QLabel::QLabel;

    // The font the text is drawn in at the label's present size.
    QFont shownFont() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ui
