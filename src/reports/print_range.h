// TPrintRange: the "Page Printing" dialog that asks which pages of a preview to print.
//
// Shown modally, centred on the screen, with "Starting Page" (`StartPage`) at 1 and "Ending
// Page" (`EndPage`) at the page count, both at most three characters. "&Print" accepts a range
// within 1..page count whose end is not before its start (spaces are ignored; anything that is
// not a number counts as no page) and closes with `confirmed()` set; otherwise it names the bad
// field in an "Error" box, focuses it and stays open. "&Cancel" closes without a range.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace reports {

inline const QString kInvalidStartPage =
    QStringLiteral("Invalid Starting Page specified. Please correct.");
inline const QString kInvalidEndPage =
    QStringLiteral("Invalid Ending Page specified.  Please correct.");

class TPrintRange : public QDialog {
    Q_OBJECT
  public:
    explicit TPrintRange(int pageCount, QWidget* parent = nullptr);

    bool confirmed() const { return confirmed_; }
    int firstPage() const { return first_; }
    int lastPage() const { return last_; }

    void PrintButtonClick();

    QLineEdit* StartPage = nullptr;
    QLineEdit* EndPage = nullptr;
    QPushButton* PrintButton = nullptr;
    QPushButton* CancelButton = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    int pageCount_;
    bool confirmed_ = false;
    int first_ = 0, last_ = 0;
};

}  // namespace reports
