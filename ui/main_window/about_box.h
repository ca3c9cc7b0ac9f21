#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace morvane {

// The About box: the program's name, its version line (which report headers print too) and
// what it does. OK hides it; it stays loaded and shows the same on the next About.
class AboutBox : public QWidget {
    Q_OBJECT

public:
    explicit AboutBox(QWidget* parent = nullptr);

private:
    QLabel* Label4;
    QPushButton* cmdAboutOK;
};

} // namespace morvane
