#include "app/about_box.h"

#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "app/dialogs.h"
#include "app/fonts.h"
#include "app/main_form.h"

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                          Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("このプログラムについて"));
    setFixedSize(372, 344);
    setFont(Fonts::ui(12));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setGeometry(6, 8, 355, 289);

    ProductName = new QLabel(QStringLiteral("Scribo"), Panel1);
    ProductName->setFont(Fonts::ui(24, true));
    ProductName->move(8, 8);
    ProductName->adjustSize();
    LabelVersion = new QLabel(kVersionText, Panel1);
    LabelVersion->setGeometry(176, 32, 170, 18);
    auto* purpose = new QLabel(QStringLiteral("文字起こしのためのメディア・プレーヤー"), Panel1);
    purpose->setGeometry(8, 64, 340, 18);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(150, 306, 65, 26);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centre the whole window, frame included, once the window manager has given it one.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    OKButton->setFocus();
}

void TAMainForm::MenuSettingsThisProgramClick() {
    if (!AboutBox) AboutBox = new TAboutBox(this);
    AboutBox->LabelVersion->setText(kVersionText);
    dialogs.exec(*AboutBox);
}

void TAMainForm::MenuSettingsVersionClick() {
    showVolumeBarText(kVersionText, QStringLiteral("    ") + QFileInfo(settingsPath_).fileName());
}
