#include "gui/mainwindow/session_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace talvex::gui {
namespace {

const QString kSessionFilter = QStringLiteral("Сеансы Талвекс (*.tlvx)");

} // namespace

void AddSessionDialogs(MainWindowHooks& hooks) {
    hooks.askOpenSession = [](QWidget* parent) {
        return QFileDialog::getOpenFileName(parent, QStringLiteral("Открыть сеанс"), QString(),
                                            kSessionFilter);
    };
    hooks.askSaveSession = [](QWidget* parent, const QString& suggested) {
        QFileDialog dialog(parent, QStringLiteral("Сохранить сеанс"), suggested, kSessionFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(QStringLiteral("tlvx"));
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().front()
                   : QString();
    };
    hooks.askYesNo = [](QWidget* parent, const QString& text) {
        return QMessageBox::question(parent, QApplication::applicationDisplayName(), text,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    hooks.showInfo = [](const QString& caption, const QString& text) {
        QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok,
                        QApplication::activeWindow());
        box.exec();
    };
}

} // namespace talvex::gui
