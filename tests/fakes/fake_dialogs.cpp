#include "fakes/fake_dialogs.h"

#include <QDialog>

bool FakeDialogs::askYesNo(const QString& text) {
    questions << text;
    return yesNoAnswers.isEmpty() ? true : yesNoAnswers.takeFirst();
}

std::optional<QString> FakeDialogs::openFile(const QString& title, const QString& filter,
                                             const QString& defaultSuffix) {
    lastOpenTitle = title;
    lastOpenFilter = filter;
    lastOpenSuffix = defaultSuffix;
    return openAnswers.isEmpty() ? std::nullopt : openAnswers.takeFirst();
}

std::optional<QString> FakeDialogs::saveFile(const QString&, const QString&,
                                             const QString& offeredPath) {
    offeredSavePaths << offeredPath;
    return saveAnswers.isEmpty() ? std::nullopt : saveAnswers.takeFirst();
}

int FakeDialogs::exec(QDialog& dialog) {
    dialogsShown << dialog.windowTitle();
    return QDialog::Accepted;
}
