// GridRowIndicator: the viewer grid's vertical header, a narrow column that marks the current row
// with a small triangle (no row numbers). Rows have the fixed height the grid gives them, so the
// header never measures rows it does not show.
#pragma once

#include <QHeaderView>

namespace ui {

class GridRowIndicator : public QHeaderView {
    Q_OBJECT
  public:
    explicit GridRowIndicator(QWidget* parent = nullptr);

    QSize sizeHint() const override;

  protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void currentChanged(const QModelIndex& current, const QModelIndex& old) override;
};

}  // namespace ui
