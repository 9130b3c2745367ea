#include "ui/window_keys.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "ui/scripted_platform.h"

namespace {

class WindowKeysTest : public testing::Test {
  protected:
    // A dialog with a text box that has the focus, shown so that keys reach it.
    QLineEdit* showWithBox(QDialog& dialog) {
        auto* box = new QLineEdit(&dialog);
        ui::installWindowKeys(&dialog);
        dialog.show();
        box->setFocus();
        return box;
    }

    ui::ScriptedPlatform platform;
    ui::ScopedPlatform installed{platform};
};

TEST_F(WindowKeysTest, F1OpensTheKeywordOrPressesHelpOrOpensTheContents) {
    QDialog withKeyword;
    ui::setHelpKeyword(&withKeyword, QStringLiteral("Sort Order"));
    QTest::keyClick(showWithBox(withKeyword), Qt::Key_F1);

    QDialog withButton;
    int pressed = 0;
    auto* help = new QPushButton(QStringLiteral("&Help"), &withButton);
    QObject::connect(help, &QPushButton::clicked, [&] { ++pressed; });
    QTest::keyClick(showWithBox(withButton), Qt::Key_F1);
    EXPECT_EQ(pressed, 1);

    QDialog withMenuCommand;  // a disabled button does not stand in the way of the menu
    auto* bar = new QMenuBar(&withMenuCommand);
    QAction* helpItem = bar->addAction(QStringLiteral("&Help"));
    QObject::connect(helpItem, &QAction::triggered, [&] { ++pressed; });
    (new QPushButton(QStringLiteral("Help"), &withMenuCommand))->setEnabled(false);
    QTest::keyClick(showWithBox(withMenuCommand), Qt::Key_F1);
    EXPECT_EQ(pressed, 2);

    QDialog bare;
    QTest::keyClick(showWithBox(bare), Qt::Key_F1);

    ASSERT_EQ(platform.helpRequests().size(), 2u);
    EXPECT_EQ(platform.helpRequests()[0].keyword, QStringLiteral("Sort Order"));
    EXPECT_TRUE(platform.helpRequests()[1].contents);
    EXPECT_TRUE(withKeyword.isVisible());  // F1 never closes anything
}

TEST_F(WindowKeysTest, EscapeDoesWhatTheWindowsCancelExitOrCloseDoes) {
    for (const char* caption : {"&Cancel", "E&xit", "&Close"}) {
        QDialog dialog;
        auto* ok = new QPushButton(QStringLiteral("&Ok"), &dialog);
        auto* leave = new QPushButton(QString::fromLatin1(caption), &dialog);
        int okPressed = 0, leavePressed = 0;
        QObject::connect(ok, &QPushButton::clicked, [&] { ++okPressed; });
        // The button asks first: Escape must go through it, not around it.
        QObject::connect(leave, &QPushButton::clicked, [&] { ++leavePressed; });
        QTest::keyClick(showWithBox(dialog), Qt::Key_Escape);
        EXPECT_EQ(leavePressed, 1) << caption;
        EXPECT_EQ(okPressed, 0) << caption;
        EXPECT_TRUE(dialog.isVisible()) << caption << ": the button decides whether it closes";
    }

    QDialog menuOnly;
    auto* bar = new QMenuBar(&menuOnly);
    int exits = 0;
    QObject::connect(bar->addAction(QStringLiteral("E&xit")), &QAction::triggered,
                     [&] { ++exits; });
    QTest::keyClick(showWithBox(menuOnly), Qt::Key_Escape);
    EXPECT_EQ(exits, 1);

    QDialog plain;
    QTest::keyClick(showWithBox(plain), Qt::Key_Escape);
    EXPECT_FALSE(plain.isVisible());
    EXPECT_EQ(plain.result(), QDialog::Rejected);
}

TEST_F(WindowKeysTest, ControlsKeepTheirOwnEscapeAndMainWindowsKeepEscape) {
    QDialog dialog;
    auto* grid = new QTableWidget(2, 2, &dialog);
    ui::installWindowKeys(&dialog);
    dialog.show();
    grid->setItem(0, 0, new QTableWidgetItem(QStringLiteral("Spain")));
    grid->setFocus();
    grid->editItem(grid->item(0, 0));
    auto* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Escape);  // ends the cell edit only
    EXPECT_TRUE(dialog.isVisible());

    QDialog mainLike;
    auto* box = new QLineEdit(&mainLike);
    ui::installWindowKeys(&mainLike, false);
    ui::installWindowKeys(&mainLike, false);  // twice: still one answer per key
    mainLike.show();
    box->setFocus();
    QTest::keyClick(box, Qt::Key_F1);
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(platform.helpRequests().size(), 1u);
}

}  // namespace
