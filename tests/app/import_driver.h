// Driving an import from the main window in a test: the delimited text file `lines` written at
// `source`, and the answers that import it as text without skipping its first line.
#pragma once

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>

#include "interchange/import_format.h"
#include "interchange/my_import.h"
#include "ui/scripted_platform.h"

namespace app::testing {

inline void queueTextImport(ui::ScriptedPlatform& platform, const QString& source,
                            const QByteArray& lines) {
    QFile f(source);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(lines);
    f.close();
    platform.queueFilePath(source);
    platform.queueModal([](QDialog& d) {
        auto& format = dynamic_cast<interchange::TImportFormat&>(d);
        format.AsciiFile->click();
        format.FileButton->click();
    });
    platform.queueModal([](QDialog& d) {
        auto& import = dynamic_cast<interchange::TMyImport&>(d);
        import.SkipFirst->setChecked(false);
        import.SkipFirstClick();
        import.StartButton->click();
    });
}

}  // namespace app::testing
