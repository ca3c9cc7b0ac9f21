#include "results_window.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace morvane {

namespace {

const char* const kCloseQuestion =
    "Closing this window will erase results.  Are you sure you want to close the window?";

const QString kCrLf = QStringLiteral("\r\n");
const QString kLf = QStringLiteral("\n");

} // namespace

ResultsWindow::ResultsWindow(MessageSink& messages, QWidget* parent)
    : QWidget(parent), mMessages(messages) {
    setObjectName(QStringLiteral("frmResults"));
    setWindowTitle(QStringLiteral("Calibration Results"));
    txtResults = new QPlainTextEdit(this);
    txtResults->setObjectName(QStringLiteral("txtResults"));
    txtResults->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtResults->setReadOnly(true);
    // The report lines its columns up with spaces and column tabs, which only a fixed-pitch
    // font keeps aligned.
    txtResults->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    txtResults->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtResults->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The text box fills the window and follows its size.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(txtResults);
}

void ResultsWindow::setReport(const QString& report) {
    txtResults->setPlainText(QString(report).replace(kCrLf, kLf));
}

QString ResultsWindow::reportText() const {
    return txtResults->toPlainText().replace(kLf, kCrLf);
}

void ResultsWindow::clear() {
    txtResults->clear();
}

int ResultsWindow::widthForWholeLines() const {
    const QFontMetrics metrics(txtResults->font());
    int longest = 0;
    for (const QString& line : txtResults->toPlainText().split(kLf))
        longest = std::max(longest, metrics.horizontalAdvance(line));
    // The text's margins on both sides and the cursor's pixel, the box's frame and its
    // vertical scroll bar.
    const int margins = 2 * static_cast<int>(std::ceil(txtResults->document()->documentMargin())) +
                        1 + 2 * txtResults->frameWidth() +
                        txtResults->verticalScrollBar()->sizeHint().width();
    return longest + margins;
}

void ResultsWindow::closeEvent(QCloseEvent* event) {
    const Message question{"", kCloseQuestion, MessageIcon::Question, MessageButtons::YesNo};
    if (mMessages.show(question) == MessageAnswer::Yes)
        event->accept();
    else
        event->ignore();
}

QString ResultsFileText(const QString& reportText) {
    return QLatin1Char('"') + reportText + QLatin1Char('"') + kCrLf;
}

} // namespace morvane
