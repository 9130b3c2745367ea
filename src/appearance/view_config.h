// TViewConfig: the "Viewer Configuration" window, six pages over the view settings of the
// current collection (the viewer grid's title, look, shown fields, widths, order and labels).
//
// The check boxes, the alignment buttons and the colour and font dialogs change the settings at
// once (a font confirmed with OK also becomes the shared grid title or grid font); there is no
// cancel. Check boxes and alignment buttons are read from their state change, so a change by
// keyboard or by an assistive tool counts as a click does. The font dialogs open on the stored
// font (see ui/font_dialog_preset.h); beside each "New Font" a "Font Color" button chooses that
// font's colour through the system colour dialog. The four grids are read back only when the window closes (Exit, Escape or the close
// box): two equal labels refuse the close with "Two field names have the same name ..." titled
// "Error" and the Field Names page comes up; otherwise widths, shown flags, positions and labels
// are stored by the rules of view_settings_edit.h. The caller applies the view afterwards.
//
// The settings and shared fonts the context points at must outlive the window.
#pragma once

#include <QDialog>
#include <QStringList>
#include <array>

#include "collection/collection_settings.h"
#include "ui/shared_fonts.h"
#include "ui/window_base.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;

namespace appearance {

struct ViewConfigContext {
    collection::CollectionSettings* settings = nullptr;
    ui::SharedFonts* fonts = nullptr;  // the grid title and grid fonts change with the dialogs
    collection::ColorSet colors;       // the "Configure Window Color" set
    ui::ShowOptions show;              // fonts and scale factor
};

// Help keywords of the six pages, in page order.
extern const std::array<const char*, 6> kViewConfigHelpKeywords;

class TViewConfig : public QDialog {
    Q_OBJECT
  public:
    explicit TViewConfig(ViewConfigContext context, QWidget* parent = nullptr);

    // Creates the window, shows it modally and frees it.
    static void Configure(ViewConfigContext context, QWidget* parent = nullptr);

    void FormCreate();
    void FormShow();
    bool FormCloseQuery();
    void FormClose();

    void ShowGridTitleClick();
    void Button1Click();
    void TitleFontButtonClick();
    void TitleLeftClick();
    void TitleCenterClick();
    void TitleRightClick();
    void ColumnLinesClick();
    void RowLinesClick();
    void RowIndicatorClick();
    void FieldEditingClick();
    void NewColorBUttonClick();
    void NewFontButtonClick();
    void TitleFontColorClick();
    void CellFontColorClick();
    void FieldsToDisplayDblClick(int row, int column);
    void OrderUpClick();
    void OrderDownClick();
    void OrderDefaultsClick();
    void HelpButtonClick();
    void ExitButtonClick();

    QTabWidget* Notebook = nullptr;
    QCheckBox* ShowGridTitle = nullptr;
    QCheckBox* ColumnLines = nullptr;
    QCheckBox* RowLines = nullptr;
    QCheckBox* RowIndicator = nullptr;
    QCheckBox* FieldEditing = nullptr;
    QRadioButton* TitleLeft = nullptr;
    QRadioButton* TitleCenter = nullptr;
    QRadioButton* TitleRight = nullptr;
    QLabel* TitleColorSample = nullptr;
    QLabel* CellColorSample = nullptr;
    QLineEdit* TitleFontText = nullptr;
    QLineEdit* CellFontText = nullptr;
    QTableWidget* FieldsToDisplay = nullptr;
    QTableWidget* FieldWidthGrid = nullptr;
    QTableWidget* FieldOrderGrid = nullptr;
    QTableWidget* FieldNameGrid = nullptr;

  public:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* addPage(const QString& caption);
    QLabel* addHeading(QWidget* page, const QString& text, const QRect& place, bool major = true);
    QCheckBox* addCheck(QWidget* page, const char* name, const QString& text, int top,
                        void (TViewConfig::*handler)());
    QPushButton* addButton(QWidget* page, const char* name, const QString& text, const QRect& place,
                           void (TViewConfig::*handler)());
    QTableWidget* addGrid(QWidget* page, const char* name, const QStringList& titles,
                          const QRect& place);
    void fillGrids();
    void setOrderRows(const QStringList& rows);
    void swapOrderRows(int row, int other);
    void showFonts();
    void paintSamples();
    // Colour dialog on a 0x00BBGGRR setting.
    void chooseColor(int& setting);
    // Font dialog on a shared grid font and its stored settings.
    void chooseFont(QFont& shared, collection::FontSettings& stored);
    void chooseFontColor(collection::FontSettings& stored);
    QStringList column(QTableWidget* grid, int column) const;

    ViewConfigContext context_;
    collection::CollectionSettings& settings_;
    QStringList labelsAtOpen_;
    QList<QWidget*> majorTitles_;
    QList<QWidget*> minorTitles_;
    bool closing_ = false;
};

}  // namespace appearance
