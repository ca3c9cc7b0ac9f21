#include "about_box.h"

#include "mdi_child.h"
#include "version.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace morvane {

namespace {

// The title is set in a type 13.5/8.25 the size of the window's ordinary text.
constexpr qreal kTitleScale = 13.5 / 8.25;

const char* const kCredits =
    "Made by the Morvane developers for haemostasis laboratories that calibrate their own "
    "thromboplastins. The program calculates ISI for thromboplastins using the Vantel "
    "recommended calibration procedure of orthogonal regression.";

QFrame* framed(QWidget* parent, QLabel* content) {
    auto* frame = new QFrame(parent);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(content);
    return frame;
}

QLabel* makeLabel(const char* name, const QString& text) {
    auto* label = new QLabel(text);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    return label;
}

} // namespace

AboutBox::AboutBox(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    QLabel* title = makeLabel("lblTitle", QStringLiteral("Morvane"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * kTitleScale);
    title->setFont(titleFont);
    Label4 = makeLabel("Label4", QString::fromLatin1(kVersionCaption));
    QLabel* credits = makeLabel("lblCredits", QString::fromLatin1(kCredits));
    cmdAboutOK = new QPushButton(QStringLiteral("OK"), this);
    cmdAboutOK->setObjectName(QStringLiteral("cmdAboutOK"));
    auto* layout = new QVBoxLayout(this);
    for (QLabel* label : {title, Label4, credits})
        layout->addWidget(framed(this, label));
    layout->addWidget(cmdAboutOK, 0, Qt::AlignHCenter);
    connect(cmdAboutOK, &QPushButton::clicked, this, [this] { hostWindow(this)->hide(); });
}

} // namespace morvane
