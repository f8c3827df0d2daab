#include "app/about_box.h"

#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "app/dialogs.h"
#include "app/fonts.h"
#include "app/main_window.h"
#include "session/session.h"
#include "session/settings_store.h"

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowCloseButtonHint |
                          Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("このプログラムについて"));
    setFixedSize(372, 344);
    setFont(Fonts::ui(12));
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("frame"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setGeometry(6, 8, 355, 289);

    auto* productNameLabel = new QLabel(QStringLiteral("Scribo"), frame);
    productNameLabel->setFont(Fonts::ui(24, true));
    productNameLabel->move(8, 8);
    productNameLabel->adjustSize();
    versionLabel_ = new QLabel(kVersionText, frame);
    versionLabel_->setGeometry(176, 32, 170, 18);
    auto* purpose = new QLabel(QStringLiteral("文字起こしのためのメディア・プレーヤー"), frame);
    purpose->setGeometry(8, 64, 340, 18);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    productNameLabel->setObjectName(QStringLiteral("productNameLabel"));
    versionLabel_->setObjectName(QStringLiteral("versionLabel"));
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setGeometry(150, 306, 65, 26);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutBox::setVersionText(const QString& text) {
    versionLabel_->setText(text);
}

void AboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centre the whole window, frame included, once the window manager has given it one.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    okButton_->setFocus();
}

void MainWindow::showAboutBox() {
    if (!aboutBox_) aboutBox_ = new AboutBox(this);
    aboutBox_->setVersionText(kVersionText);
    session_.dialogs().exec(*aboutBox_);
}

void MainWindow::showVersion() {
    session_.showVolumeBarTexts(
        kVersionText, QStringLiteral("    ") + QFileInfo(session_.settings().path()).fileName());
}
