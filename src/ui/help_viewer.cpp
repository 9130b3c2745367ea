#include "ui/help_viewer.h"

#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace ui {

HelpViewer::HelpViewer(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpViewer"));
    setWindowTitle(QStringLiteral("Tessellon Help"));
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    browser_->setOpenExternalLinks(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(600, 480);
}

void HelpViewer::openAt(const QString& helpFile, const QString& keyword) {
    QFile file(helpFile);
    if (!file.open(QIODevice::ReadOnly)) {
        browser_->setHtml(QStringLiteral("<p>The help file %1 could not be opened.</p>")
                              .arg(QFileInfo(helpFile).fileName().toHtmlEscaped()));
        return;
    }
    // Relative links and images inside the help document resolve against its folder.
    browser_->document()->setBaseUrl(QUrl::fromLocalFile(helpFile));
    browser_->setHtml(QString::fromUtf8(file.readAll()));
    browser_->verticalScrollBar()->setValue(0);
    if (!keyword.isEmpty()) browser_->scrollToAnchor(keyword);
}

}  // namespace ui
