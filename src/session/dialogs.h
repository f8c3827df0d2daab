#pragma once

#include <QString>
#include <optional>

class QDialog;

// The modal boxes and dialogs of the window, behind one interface so that tests can answer them.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // The standard error box that ends a failed handler.
    virtual void showError(const QString& text) = 0;
    // A plain message box with an OK button.
    virtual void showMessage(const QString& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool askYesNo(const QString& text) = 0;
    // The open-file dialog: a title, a "description|pattern|..." filter and a default suffix.
    virtual std::optional<QString> openFile(const QString& title, const QString& filter,
                                            const QString& defaultSuffix) = 0;
    // The save-file dialog: a title, a filter as for openFile and the path first offered, whose
    // extension is added to a name typed without one; nothing when cancelled.
    virtual std::optional<QString> saveFile(const QString& title, const QString& filter,
                                            const QString& offeredPath) = 0;
    // Shows a dialog modally and returns its result code.
    virtual int exec(QDialog& dialog) = 0;
};
