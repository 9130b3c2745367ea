// TColorConfig: the "Color Configuration" window, where the colour set of one window group (or of
// all five at once) is edited colour by colour or taken from a predefined combination.
//
// The window works on a working copy of a set: the group's own set for groups 1..5 (main, edit,
// search, report, configure) and the main set for group 6 (all). The window paints itself in
// the working set, so each group of sample controls shows the colours it stands for. Every
// colour button opens the colour dialog on the colour it changes; on OK the working set takes
// the new colour and the samples are repainted. Choosing a combination in `ColorSets` puts all
// 13 colours of it into the working set; the empty first line changes nothing.
//
// Ok stores the working set: into the group's set for groups 1..5, into all five sets for group
// 6, and for groups 1 and 6 runs `repaintMain` so the main window shows it at once. Cancel
// closes without changing anything. The sets pointed at by the context must outlive the window.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "collection/color_set.h"
#include "ui/window_base.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace appearance {

inline constexpr int kAllWindowGroups = 6;

struct ColorConfigContext {
    std::array<collection::ColorSet, collection::kWindowGroupCount>* sets = nullptr;
    int group = kAllWindowGroups;       // 1 main ... 5 configure, 6 all
    std::function<void()> repaintMain;  // after Ok for groups 1 and 6
    ui::ShowOptions show;               // shared fonts and screen scale factor
};

class TColorConfig : public QDialog {
    Q_OBJECT
  public:
    explicit TColorConfig(ColorConfigContext context, QWidget* parent = nullptr);

    // Creates the window for the context's group, shows it modally and frees it.
    static void Configure(ColorConfigContext context, QWidget* parent = nullptr);

    const collection::ColorSet& workingSet() const { return working_; }
    int group() const { return context_.group; }

    void OkClick();
    void CancelClick();
    void ColorSetsChange(int index);
    void FormShow();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QGroupBox* addGroup(const char* name, const QString& caption, const QRect& place);
    void addColorButton(QGroupBox* group, const char* name, const QString& caption,
                        const QRect& place, collection::ColorRole role);
    // Colour dialog on `role`; on OK the working set takes the colour.
    void chooseColor(collection::ColorRole role);
    void paintSamples();

    ColorConfigContext context_;
    collection::ColorSet working_;
    QList<QWidget*> majorTitles_;
    QLabel* predefinedLabel_ = nullptr;
    QComboBox* ColorSets = nullptr;
};

}  // namespace appearance
