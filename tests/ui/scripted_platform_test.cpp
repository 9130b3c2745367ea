#include "ui/scripted_platform.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/messages.h"

namespace {

using ui::Alert;
using ui::MessageAnswer;
using ui::MessageButtons;
using ui::MessageIcon;

class ScriptedPlatformTest : public testing::Test {
  protected:
    ui::ScriptedPlatform platform;
    ui::ScopedPlatform installed{platform};
};

struct HelperCase {
    const char* name;
    std::function<void()> show;
    const char* title;
    MessageButtons buttons;
    MessageAnswer defaultAnswer;
    MessageIcon icon;
};

TEST_F(ScriptedPlatformTest, HelpersFixTitleButtonsAndDefault) {
    const std::vector<HelperCase> cases = {
        {"error", [] { ui::showError(nullptr, "E"); }, "Error", MessageButtons::Ok,
         MessageAnswer::Ok, MessageIcon::Error},
        {"confirm", [] { ui::askConfirm(nullptr, "E"); }, "Confirm", MessageButtons::YesNo,
         MessageAnswer::Yes, MessageIcon::Question},
        {"warning", [] { ui::askWarning(nullptr, "E"); }, "Warning", MessageButtons::YesNo,
         MessageAnswer::No, MessageIcon::Warning},
        {"warning with cancel", [] { ui::askWarning(nullptr, "E", true); }, "Warning",
         MessageButtons::YesNoCancel, MessageAnswer::No, MessageIcon::Warning},
        {"notice", [] { ui::showNotice(nullptr, "E"); }, "Notice", MessageButtons::Ok,
         MessageAnswer::Ok, MessageIcon::Information},
        {"convert", [] { ui::askYesNo(nullptr, "Convert", "E"); }, "Convert", MessageButtons::YesNo,
         MessageAnswer::Yes, MessageIcon::Question},
        {"finished", [] { ui::showMessage(nullptr, "Finished", "E"); }, "Finished",
         MessageButtons::Ok, MessageAnswer::Ok, MessageIcon::None},
    };
    for (const HelperCase& c : cases) {
        SCOPED_TRACE(c.name);
        platform.clearRecords();
        c.show();
        ASSERT_EQ(platform.boxes().size(), 1u);
        const ui::ShownBox& box = platform.boxes().front();
        EXPECT_EQ(box.title, QString::fromLatin1(c.title));
        EXPECT_EQ(box.text, QStringLiteral("E"));
        EXPECT_EQ(box.buttons, c.buttons);
        EXPECT_EQ(box.defaultAnswer, c.defaultAnswer);
        EXPECT_EQ(box.icon, c.icon);
        EXPECT_FALSE(box.sound.has_value());
        EXPECT_FALSE(box.beeped);
    }
}

TEST_F(ScriptedPlatformTest, QueuedAnswersAreUsedInOrderThenTheDefault) {
    platform.queueAnswer(MessageAnswer::Yes);
    platform.queueAnswer(MessageAnswer::Cancel);
    EXPECT_EQ(ui::askWarning(nullptr, "first", true), MessageAnswer::Yes);
    EXPECT_EQ(ui::askWarning(nullptr, "second", true), MessageAnswer::Cancel);
    EXPECT_EQ(ui::askWarning(nullptr, "third", true), MessageAnswer::No);
    ASSERT_EQ(platform.boxes().size(), 3u);
    EXPECT_FALSE(platform.boxes()[1].answeredByDefault);
    EXPECT_TRUE(platform.boxes()[2].answeredByDefault);
    EXPECT_TRUE(platform.allAnswersUsed());
}

TEST_F(ScriptedPlatformTest, AnswerTheBoxDoesNotOfferFallsBackToDefault) {
    platform.queueAnswer(MessageAnswer::Cancel);
    EXPECT_TRUE(ui::askConfirm(nullptr, "Delete this record?"));
    EXPECT_TRUE(platform.boxes().front().answeredByDefault);
}

TEST_F(ScriptedPlatformTest, SoundOrBeepIsRecordedWithTheBoxItPrecedes) {
    ui::askWarning(nullptr, "Data has changed.  Do you want to exit without updating?", false,
                   Alert::KindSound, MessageIcon::Question);
    ui::showError(nullptr, "No Report has been selected.  Please choose one.", Alert::Beep,
                  MessageIcon::Warning);
    ui::showNotice(nullptr, "Done.");
    ASSERT_EQ(platform.boxes().size(), 3u);
    EXPECT_EQ(platform.boxes()[0].sound, MessageIcon::Question);
    EXPECT_FALSE(platform.boxes()[0].beeped);
    EXPECT_FALSE(platform.boxes()[1].sound.has_value());
    EXPECT_TRUE(platform.boxes()[1].beeped);
    EXPECT_EQ(platform.boxes()[1].icon, MessageIcon::Warning);
    EXPECT_FALSE(platform.boxes()[2].sound.has_value());
    EXPECT_FALSE(platform.boxes()[2].beeped);
    EXPECT_EQ(platform.beeps(), 1);
    EXPECT_EQ(
        platform.boxSummary(),
        QStringList({"Warning: Data has changed.  Do you want to exit without updating?",
                     "Error: No Report has been selected.  Please choose one.", "Notice: Done."}));
}

TEST_F(ScriptedPlatformTest, DialogsAnswerFromQueuesAndCancelWhenEmpty) {
    platform.queueFilePath("/tmp/a.dbf");
    ui::FileDialogRequest request;
    request.title = "Open Database";
    request.defaultExtension = "DBF";
    EXPECT_EQ(ui::platform().openFileName(request), QStringLiteral("/tmp/a.dbf"));
    EXPECT_EQ(ui::platform().saveFileName(request), QString());
    ASSERT_EQ(platform.fileDialogs().size(), 2u);
    EXPECT_TRUE(platform.fileDialogs()[1].save);
    EXPECT_EQ(platform.fileDialogs()[0].request.title, QStringLiteral("Open Database"));

    platform.queueColor(QColor(0, 255, 255));
    EXPECT_EQ(ui::platform().chooseColor(nullptr, Qt::black), QColor(0, 255, 255));
    EXPECT_FALSE(ui::platform().chooseColor(nullptr, Qt::black).has_value());

    platform.queueFont(ui::FontChoice{QFont("Courier New", 14), Qt::red});
    EXPECT_EQ(ui::platform().chooseFont(nullptr, {})->font.pointSize(), 14);
    EXPECT_FALSE(ui::platform().chooseFont(nullptr, {}).has_value());
}

TEST_F(ScriptedPlatformTest, PrinterListEndsWithPdfOutput) {
    EXPECT_EQ(ui::platform().printerNames(), QStringList{ui::kPdfPrinterName});
    platform.setPrinters({"Laser", "Inkjet"}, 1);
    EXPECT_EQ(ui::platform().printerNames(), QStringList({"Laser", "Inkjet", ui::kPdfPrinterName}));
    EXPECT_EQ(ui::platform().defaultPrinterIndex(), 1);
}

TEST_F(ScriptedPlatformTest, HelpBusyCursorAndClipboardAreRecorded) {
    ui::platform().showHelpContents(nullptr);
    ui::platform().showHelpKeyword(nullptr, "Input Window");
    ASSERT_EQ(platform.helpRequests().size(), 2u);
    EXPECT_TRUE(platform.helpRequests()[0].contents);
    EXPECT_EQ(platform.helpRequests()[1].keyword, QStringLiteral("Input Window"));
    {
        ui::BusyCursor busy;
        EXPECT_EQ(platform.busyDepth(), 1);
    }
    EXPECT_EQ(platform.busyDepth(), 0);
    ui::platform().setClipboardText("copied");
    EXPECT_EQ(ui::platform().clipboardText(), QStringLiteral("copied"));
}

// A dialog with one button that accepts it and one that opens a nested modal dialog.
class SampleDialog : public QDialog {
  public:
    SampleDialog() {
        setObjectName("TSample");
        auto* layout = new QVBoxLayout(this);
        auto* ok = new QPushButton("&Ok", this);
        ok->setObjectName("OkButton");
        auto* more = new QPushButton("&More", this);
        more->setObjectName("MoreButton");
        layout->addWidget(ok);
        layout->addWidget(more);
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);
        connect(more, &QPushButton::clicked, this, [this] {
            QDialog inner;
            inner.setWindowTitle("Inner");
            nestedResult = ui::platform().execModal(inner);
        });
    }
    void showEvent(QShowEvent*) override { setWindowTitle("Shown Sample"); }
    int nestedResult = -1;
};

TEST_F(ScriptedPlatformTest, ModalHandlerClicksInsideTheWindowWithoutBlocking) {
    SampleDialog dialog;
    platform.queueModal([](QDialog& d) {
        d.findChild<QPushButton*>("MoreButton")->click();
        d.findChild<QPushButton*>("OkButton")->click();
    });
    platform.queueModal([](QDialog& d) { d.accept(); });
    EXPECT_EQ(ui::platform().execModal(dialog), QDialog::Accepted);
    EXPECT_EQ(dialog.nestedResult, QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(platform.modals().size(), 2u);
    EXPECT_EQ(platform.modals()[0].objectName, QStringLiteral("TSample"));
    EXPECT_EQ(platform.modals()[0].title, QStringLiteral("Shown Sample"));
    EXPECT_EQ(platform.modals()[1].title, QStringLiteral("Inner"));
}

TEST_F(ScriptedPlatformTest, ModalWithoutHandlerIsClosedAsRejected) {
    SampleDialog dialog;
    EXPECT_EQ(ui::platform().execModal(dialog), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
