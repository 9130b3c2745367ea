// The tip window: one of 24 hints about the program, a button to step to the next, and the
// choice whether the window comes up at start.
//
// It opens at a tip chosen at random (or at the one given, for tests); "&Next Tip" steps on and
// wraps from the last to the first. The caller shows it modally and afterwards reads
// showTipsChecked() into the `Show Tips` setting. Scaled by the screen scale factor and centred
// on the screen when shown.
#pragma once

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;

namespace app {

class TTipOfDay : public QDialog {
    Q_OBJECT
  public:
    // The tips in order.
    static const QStringList& tips();

    TTipOfDay(bool showTips, double scaleFactor, QWidget* parent = nullptr, int startTip = -1);

    int currentTip() const { return current_; }  // 0-based
    QString currentText() const;
    bool showTipsChecked() const;
    void NextTipClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void showTip();

    QLabel* tipText_;
    QCheckBox* showTips_;
    double scaleFactor_;
    int current_ = 0;
};

}  // namespace app
