// GridLeadingColumn: an extra first column of the viewer grid that shows something of each
// record which is not one of its fields (the stamp's picture), supplied by a higher layer.
//
// The grid's model asks cell() for the record shown in a row; the column answers at once with
// what it has (an image, a tool tip, a text for assistive tools) and may answer nothing while
// it is still being made elsewhere. When it is ready the column emits cellReady() with the
// record number, and the model repaints the row that asked for it. The column is never
// editable and is no field: the field columns keep their order and numbers after it.
//
// Ownership: the model does not own the column; it must outlive the model or be removed first.
#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <cstdint>

namespace ui {

class GridLeadingColumn : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // The cell of physical record `recno` for `role` (Qt::DecorationRole: a QImage to draw
    // fitted into the cell; Qt::ToolTipRole, Qt::AccessibleTextRole: texts). Called on the
    // interface thread while the grid paints, so it must not wait for anything.
    virtual QVariant cell(std::uint32_t recno, int role) = 0;
    // The column's title and its width in pixels.
    virtual QString title() const = 0;
    virtual int width() const = 0;
    // The least row height the column's pictures need, in pixels.
    virtual int rowHeight() const = 0;

  signals:
    // What cell() answers for `recno` changed (a picture came in).
    void cellReady(std::uint32_t recno);
};

}  // namespace ui
