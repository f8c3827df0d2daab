#pragma once

#include <QList>
#include <QStringList>

#include "app/dialogs.h"

// Records every box the window shows and answers questions from a script.
class FakeDialogs : public Dialogs {
public:
    QStringList errors, messages, questions, dialogsShown;
    QList<bool> yesNoAnswers;                   // taken in order; Yes when empty
    QList<std::optional<QString>> openAnswers;  // taken in order; cancel when empty
    QString lastOpenTitle, lastOpenFilter, lastOpenSuffix;
    QList<std::optional<QString>> saveAnswers;  // taken in order; cancel when empty
    QStringList offeredSavePaths;

    void showError(const QString& text) override { errors << text; }
    void showMessage(const QString& text) override { messages << text; }
    bool askYesNo(const QString& text) override;
    std::optional<QString> openFile(const QString& title, const QString& filter,
                                    const QString& defaultSuffix) override;
    std::optional<QString> saveFile(const QString& title, const QString& filter,
                                    const QString& offeredPath) override;
    int exec(QDialog& dialog) override;
};
