#include "app/dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {
const QString kTitle = QStringLiteral("Scribo");
}

void WidgetDialogs::showError(const QString& text) {
    QMessageBox::critical(owner_, kTitle, text);
}

void WidgetDialogs::showMessage(const QString& text) {
    QMessageBox::information(owner_, kTitle, text);
}

bool WidgetDialogs::askYesNo(const QString& text) {
    return QMessageBox::question(owner_, kTitle, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

QStringList fileDialogNameFilters(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns.simplified());
    }
    return filters;
}

std::optional<QString> WidgetDialogs::openFile(const QString& title, const QString& filter,
                                               const QString& defaultSuffix) {
    QFileDialog dialog(owner_, title);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(fileDialogNameFilters(filter));
    dialog.setDefaultSuffix(defaultSuffix.startsWith(QLatin1Char('.')) ? defaultSuffix.mid(1)
                                                                       : defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> WidgetDialogs::saveFile(const QString& title, const QString& filter,
                                               const QString& offeredPath) {
    // The dialog asks before it replaces an existing file.
    QFileDialog dialog(owner_, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(fileDialogNameFilters(filter));
    const QFileInfo offered(offeredPath);
    dialog.setDefaultSuffix(offered.suffix());
    dialog.setDirectory(offered.absolutePath());
    dialog.selectFile(offered.fileName());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

int WidgetDialogs::exec(QDialog& dialog) {
    return dialog.exec();
}
