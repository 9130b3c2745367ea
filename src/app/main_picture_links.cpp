// Picture links follow their records' changes made in this window: every change the table
// reports is noted, and once the command that made it has run (the next turn of the event loop)
// the store's fingerprints are updated in one write.
#include <QTimer>

#include "app/main_window.h"
#include "pictures/picture_store.h"
#include "ui/messages.h"

namespace app {

void TMain::followPictureLinks(const engine::RecordChange& change) {
    if (!pictureLinksQueued_) {
        pictureLinksQueued_ = true;
        pictureLinks_.setCollection(&MyTable, currentCollection());
        QTimer::singleShot(0, this, [this] {
            pictureLinksQueued_ = false;
            try {
                pictureLinks_.apply();
            } catch (const pictures::PictureError& e) {
                ui::showTitled(this, QStringLiteral("Error"), e.message());
            }
        });
    }
    pictureLinks_.note(change);
}

}  // namespace app
