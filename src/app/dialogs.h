#pragma once

#include <QString>
#include <optional>

#include "session/dialogs.h"

class QWidget;

class WidgetDialogs : public Dialogs {
public:
    explicit WidgetDialogs(QWidget* owner) : owner_(owner) {}
    void showError(const QString& text) override;
    void showMessage(const QString& text) override;
    bool askYesNo(const QString& text) override;
    std::optional<QString> openFile(const QString& title, const QString& filter,
                                    const QString& defaultSuffix) override;
    std::optional<QString> saveFile(const QString& title, const QString& filter,
                                    const QString& offeredPath) override;
    int exec(QDialog& dialog) override;
    void setOwner(QWidget* owner) { owner_ = owner; }

private:
    QWidget* owner_;
};

// Turns "desc|pattern;pattern|desc|pattern" into the name filters of a Qt file dialog, with the
// patterns passed on unchanged.
QStringList fileDialogNameFilters(const QString& filter);
