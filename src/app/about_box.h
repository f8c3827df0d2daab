#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// "このプログラムについて": the product name and the version, closed with OK.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QFrame* Panel1;
    QLabel* ProductName;
    QLabel* LabelVersion;
    QPushButton* OKButton;

protected:
    void showEvent(QShowEvent* event) override;
};

inline const QString kVersionText = QStringLiteral("Ver. 14.07.02");
