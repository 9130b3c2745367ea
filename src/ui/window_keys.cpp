#include "ui/window_keys.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

#include "ui/platform.h"

namespace ui {
namespace {

constexpr char kKeywordProperty[] = "tessellonHelpKeyword";
constexpr char kInstalledProperty[] = "tessellonWindowKeys";

// A caption without its accelerator marks: "E&xit" -> "exit".
QString plainCaption(QString caption) {
    caption.remove(QLatin1Char('&'));
    return caption.trimmed().toLower();
}

bool captionIsOneOf(const QString& caption, std::initializer_list<const char*> names) {
    const QString plain = plainCaption(caption);
    for (const char* name : names)
        if (plain == QLatin1String(name)) return true;
    return false;
}

// Presses the window's first usable button, then menu command, captioned with one of `names`.
bool pressCommand(QWidget* window, std::initializer_list<const char*> names) {
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->window() != window || !button->isVisibleTo(window) || !button->isEnabled())
            continue;
        if (captionIsOneOf(button->text(), names)) {
            button->click();
            return true;
        }
    }
    for (QAction* action : window->findChildren<QAction*>()) {
        if (!action->isEnabled() || action->menu()) continue;
        // Commands of a window parented to this one (the record editor's) are not this one's.
        const auto* owner = qobject_cast<const QWidget*>(action->parent());
        if (owner && owner->window() != window && !qobject_cast<const QMenu*>(owner)) continue;
        if (captionIsOneOf(action->text(), names)) {
            action->trigger();
            return true;
        }
    }
    return false;
}

class WindowKeys : public QObject {
  public:
    WindowKeys(QWidget* window, bool escapeCloses)
        : QObject(window), window_(window), escapeCloses_(escapeCloses) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != window_ || event->type() != QEvent::KeyPress) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & ~Qt::KeypadModifier) return false;
        if (key->key() == Qt::Key_F1) {
            openHelp();
            return true;
        }
        if (key->key() == Qt::Key_Escape && escapeCloses_) {
            if (pressCommand(window_, {"cancel", "exit", "close"})) return true;
            if (auto* dialog = qobject_cast<QDialog*>(window_)) {
                dialog->reject();
                return true;
            }
        }
        return false;
    }

  private:
    void openHelp() {
        const QString keyword = window_->property(kKeywordProperty).toString();
        if (!keyword.isEmpty())
            platform().showHelpKeyword(window_, keyword);
        else if (!pressCommand(window_, {"help"}))
            platform().showHelpContents(window_);
    }

    QWidget* window_;
    bool escapeCloses_;
};

}  // namespace

void installWindowKeys(QWidget* window, bool escapeCloses) {
    if (window->property(kInstalledProperty).toBool()) return;
    window->setProperty(kInstalledProperty, true);
    window->installEventFilter(new WindowKeys(window, escapeCloses));
}

void setHelpKeyword(QWidget* window, const QString& keyword) {
    window->setProperty(kKeywordProperty, keyword);
}

}  // namespace ui
