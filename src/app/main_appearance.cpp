// The appearance commands of the main window (viewer configuration, window colours, shared
// fonts) and Tools "&Search and Replace": each shows its window over the settings and table the
// main window owns, then lets the main window show the result.
#include "app/main_window.h"
#include "appearance/color_config.h"
#include "appearance/font_choice.h"
#include "appearance/view_config.h"
#include "searching/search_and_replace.h"
#include "ui/font_dialog_preset.h"
#include "ui/platform.h"

namespace app {

// The window changes the view settings (and the shared grid fonts) in place; the grid shows them
// once it closes.
void TMain::DoViewer() {
    appearance::ViewConfigContext context;
    context.settings = &settings_;
    context.fonts = &fonts_;
    context.colors = settings_.colorSet(collection::WindowGroup::Configure);
    context.show = showOptions(collection::WindowGroup::Configure);
    appearance::TViewConfig::Configure(std::move(context), this);
    SetViewerOptions();
}

void TMain::DoColor(int group) {
    appearance::ColorConfigContext context;
    context.sets = &settings_.colors;
    context.group = group;
    context.repaintMain = [this] { SetColors(); };
    context.show = showOptions(collection::WindowGroup::Configure);
    appearance::TColorConfig::Configure(std::move(context), this);
}

// The chosen font becomes the shared font as chosen (underline and strikeout included); only its
// name, bold and italic are kept in the settings. The main window takes it at once, every other
// window the next time it is shown.
void TMain::DoFont(int which) {
    QFont& shared = which == 0 ? fonts_.label : which == 1 ? fonts_.edit : fonts_.button;
    collection::FontSettings& stored = which == 0   ? settings_.labelFont
                                       : which == 1 ? settings_.editFont
                                                    : settings_.buttonFont;
    // The dialog opens on the family the stored name is drawn with here ("Arial" has none of its
    // own), and a confirmed family keeps the stored name.
    QFont preset = shared;
    preset.setFamilies(QStringList{stored.name});
    preset.setBold(stored.bold);
    preset.setItalic(stored.italic);
    const std::optional<ui::FontChoice> choice = ui::platform().chooseFont(
        this, ui::FontChoice{ui::fontDialogPreset(preset), QColor(Qt::black)});
    if (!choice) return;
    const QString storedName = stored.name;
    stored = appearance::storedFace(choice->font);
    stored.name = ui::keptFontName(storedName, choice->font);
    shared = choice->font;
    shared.setFamilies(QStringList{stored.name});
    ui::applySharedFonts(this, fonts_);
    SetViewerOptions();
}

// The run ends a running search for its scan and puts it back afterwards (the filter lives on
// the table); the grid follows every re-open, and the count whatever the run changed.
void TMain::DoSearchReplace() {
    editing::SearchReplaceContext context;
    context.table = &MyTable;
    context.collectionPath = currentCollection();
    context.sortExpression = sortExpression_;
    for (const collection::FieldSettings& field : settings_.fields)
        context.labels.append(field.label);
    context.reapplyViewer = [this] { SetViewerOptions(); };
    context.suspendSearch = [this] {
        if (!searchActive_) return false;
        DisableEndSearch();
        return true;
    };
    context.resumeSearch = [this] { EnableEndSearch(); };
    context.colors = settings_.colorSet(collection::WindowGroup::Configure);
    context.show = showOptions(collection::WindowGroup::Configure);
    {
        const editing::UndoStepScope step(undo_, QStringLiteral("Search and Replace"));
        editing::TSearchAndReplace::SearchAndReplace(std::move(context), this);
    }
    DisplayCount();
}

}  // namespace app
