#pragma once

#include "message.h"

#include <QWidget>

class QPlainTextEdit;

namespace morvane {

// The results window: the report of the last calibration run in a scrolling text box. Closing
// it asks first, since its text comes back only with the next run.
class ResultsWindow : public QWidget {
    Q_OBJECT

public:
    explicit ResultsWindow(MessageSink& messages, QWidget* parent = nullptr);

    // Shows a report whose lines end in CR LF.
    void setReport(const QString& report);
    // The text as the box holds it, lines ending in CR LF.
    QString reportText() const;
    void clear();
    // The width the window needs to show its longest line without scrolling across.
    int widthForWholeLines() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    MessageSink& mMessages;
    QPlainTextEdit* txtResults;
};

// The results file: the text in double quotes, then CR LF.
QString ResultsFileText(const QString& reportText);

} // namespace morvane
