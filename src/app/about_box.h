#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// "このプログラムについて": the product name and the version, closed with OK.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);
    void setVersionText(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* versionLabel_;
    QPushButton* okButton_;
};

inline const QString kVersionText = QStringLiteral("Ver. 14.07.02");
