// The help window: shows the program's help document (TESSELON.HLP, an HTML file with one
// anchor per keyword) in a text browser titled "Tessellon Help".
//
// The viewer reads the file each time it is opened, so an edited help file shows at once. A
// missing or unreadable file gives a page saying so instead of an error box. The window is not
// modal; the caller owns it.
#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

namespace ui {

class HelpViewer : public QDialog {
    Q_OBJECT
  public:
    explicit HelpViewer(QWidget* parent = nullptr);

    // Loads `helpFile` and shows it at `keyword`'s anchor, or at the top when `keyword` is empty
    // (the contents page) or names no anchor.
    void openAt(const QString& helpFile, const QString& keyword);

    QTextBrowser* browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};

}  // namespace ui
