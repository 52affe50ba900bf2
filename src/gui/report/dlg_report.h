#pragma once

#include "core/common/report_settings.h"
#include "core/report/spreadsheet_automation.h"

#include <QDialog>
#include <QMessageBox>
#include <QString>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QFileDialog;
class QLineEdit;
class QPushButton;

namespace talvex {
class Session;
}

namespace talvex::gui {

// What the report dialog asks of the desktop. The defaults show the real file dialogs and message boxes
// and open files with the desktop's default program; tests replace them to drive the dialog offscreen.
struct ReportDialogHooks {
    // The save dialog for the ODT report; an empty result is a cancel.
    std::function<QString(const QString& proposedName)> askSavePath;
    // The file dialog of "Обзор" for the export file; an empty result is a cancel.
    std::function<QString()> askExportPath;
    std::function<void(QMessageBox::Icon icon, const QString& caption, const QString& text)> showMessage;
    // Opens a written preview; false when no program took it.
    std::function<bool(const QString& path)> openFile;
    // A fresh path for a preview; nullopt when the system gives none.
    std::function<std::optional<std::filesystem::path>()> newPreviewPath;
    // The folder of the program, where Template_tlvx.odt, Template_tlvx.xls and the spreadsheet bridge lie.
    std::function<QString()> programFolder;
    // The spreadsheet application for one ".xls" export (LibreOffice Calc by default), given the program's
    // folder.
    std::function<std::unique_ptr<talvex::SpreadsheetAutomation>(const QString& programFolder)> spreadsheet;
};

// The dialog that asks where the report is saved, proposing `proposedName`.
std::unique_ptr<QFileDialog> ReportSaveDialog(QWidget* owner, const QString& proposedName);

// The report dialog ("Отчет"): the thirteen report switches, the ODT report ("Просмотр", "Сохранить")
// and the export of the report document ("Экспорт", "Обзор").
class CDlgReport : public QDialog {
    Q_OBJECT
public:
    // The session gives the results and the stored profile; it must outlive the dialog.
    CDlgReport(talvex::Session& session, QString deviceName, QWidget* parent = nullptr);
    ~CDlgReport() override;

    ReportDialogHooks& hooks() { return hooks_; }

    // Enables or disables every button, the path field and every switch together.
    void EnableReportControls(bool on);

    QCheckBox* switchBox(talvex::ReportSwitch s) const;
    QLineEdit* exportPathEdit() const { return pathEdit_; }
    QPushButton* previewButton() const { return preview_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* exportButton() const { return export_; }
    QPushButton* browseButton() const { return browse_; }

    void Preview();
    void Save();
    void Export();
    void Browse();

private:
    void ReadControls();
    void WriteOdt(bool preview);
    // The two kinds of export; each shows its own failure and says whether the file was written.
    bool ExportXml(const std::filesystem::path& target);
    bool ExportSpreadsheet(const std::filesystem::path& target);
    void Message(QMessageBox::Icon icon, const QString& caption, const QString& text);

    talvex::Session& session_;
    QString deviceName_;
    talvex::ReportSettings settings_;
    ReportDialogHooks hooks_;
    std::array<QCheckBox*, talvex::kReportSwitchCount> boxes_{};
    QLineEdit* pathEdit_ = nullptr;
    QPushButton* preview_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* browse_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace talvex::gui
