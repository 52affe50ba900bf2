// The report dialog: its stored switches, the ODT report ("Просмотр", "Сохранить") with its messages,
// and the export of the report document ("Экспорт", "Обзор"), driven offscreen through its hooks.
#include "gui/report/desktop_opener.h"
#include "gui/report/dlg_report.h"

#include "gui_test_support.h"

#include "core/app/session.h"
#include "core/report/odt_report_paths.h"
#include "core/report/office_conversion.h"
#include "core/report/report_messages.h"
#include "qtplatform/qt_settings_store.h"
#include "recording_automation.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <condition_variable>
#include <fstream>
#include <memory>
#include <mutex>
#include <vector>

using namespace talvex::gui;

using talvex::ReportSwitch;

namespace {

struct ShownMessage {
    QMessageBox::Icon icon;
    QString caption;
    QString text;
};

QString ToQ(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A spreadsheet application that writes down the requests of one export, and notes whether any of the
// dialog's controls was enabled while a request was made.
struct RecordedExport {
    talvex::testing::RecordingAutomation automation;
    bool enabledDuringExport = false;
    int aborts = 0;
    int abortAt = -1; // see ObservedSpreadsheet::abortAt
};

class ObservedSpreadsheet : public talvex::SpreadsheetAutomation {
public:
    ObservedSpreadsheet(RecordedExport& recorded, const CDlgReport& dialog)
        : recorded_(recorded), dialog_(dialog) {}
    bool Start(talvex::AutomationObject& application, std::string& reason) override {
        return recorded_.automation.Start(application, reason);
    }
    talvex::AutomationAnswer Invoke(talvex::AutomationCall call, talvex::AutomationObject target,
                                    std::string_view member,
                                    const std::vector<talvex::AutomationValue>& args) override {
        recorded_.enabledDuringExport =
            recorded_.enabledDuringExport || dialog_.exportButton()->isEnabled() ||
            dialog_.exportPathEdit()->isEnabled() || dialog_.switchBox(ReportSwitch::RezNLH)->isEnabled();
        // The copy of the template is a file, as the office suite writes it.
        if (member == "SaveCopyAs" && !args.empty())
            if (const auto* path = std::get_if<std::string>(&args.front()))
                std::ofstream(*path) << "xls";
        if (abortAt >= 0 && recorded_.automation.Lines(true).size() >= std::size_t(abortAt)) {
            // The office suite hangs here until the export is cancelled.
            std::unique_lock lock(mutex_);
            aborted_.wait(lock, [this] { return abortedFlag_; });
            return {talvex::AutomationAnswer::Kind::Failed, {}, "LibreOffice ended"};
        }
        return recorded_.automation.Invoke(call, target, member, args);
    }
    void Shutdown() override { recorded_.automation.Shutdown(); }
    void Abort() override {
        ++recorded_.aborts;
        const std::lock_guard lock(mutex_);
        abortedFlag_ = true;
        aborted_.notify_all();
    }

    int abortAt = -1; // the request (counting from 0) that waits for a cancel

private:
    RecordedExport& recorded_;
    const CDlgReport& dialog_;
    std::mutex mutex_;
    std::condition_variable aborted_;
    bool abortedFlag_ = false;
};

void RecordExports(CDlgReport& dialog, RecordedExport& recorded) {
    dialog.hooks().spreadsheet = [&recorded, &dialog](const QString&) {
        auto office = std::make_unique<ObservedSpreadsheet>(recorded, dialog);
        office->abortAt = recorded.abortAt;
        return office;
    };
}

} // namespace

class ReportDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<talvex::guitest::IsolatedProfile> profile_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<talvex::QtSettingsStore> store_;
    std::unique_ptr<talvex::Session> session_;
    std::vector<ShownMessage> messages_;
    std::vector<QString> opened_;
    bool viewerPresent_ = true; // whether the desktop has a program for ODT files
    QString programFolder_;
    QString savePath_;
    QString exportPath_;
    int savePrompts_ = 0;

    std::unique_ptr<CDlgReport> Dialog() {
        auto dialog = std::make_unique<CDlgReport>(*session_, QStringLiteral("Хроматограф-1"));
        ReportDialogHooks& hooks = dialog->hooks();
        hooks.askSavePath = [this](const QString& proposed) {
            ++savePrompts_;
            Q_UNUSED(proposed);
            return savePath_;
        };
        hooks.askExportPath = [this] { return exportPath_; };
        hooks.showMessage = [this](QMessageBox::Icon icon, const QString& caption, const QString& text) {
            messages_.push_back({icon, caption, text});
        };
        hooks.openFile = [this](const QString& path) {
            opened_.push_back(path);
            return viewerPresent_;
        };
        hooks.newPreviewPath = [this] { return talvex::NewPreviewPath(dir_->path().toStdString()); };
        hooks.programFolder = [this] { return programFolder_; };
        return dialog;
    }

    QString Path(const QString& name) const { return dir_->filePath(name); }

    // The folder of the build's programs, when the template was copied there.
    static bool TemplateBuilt() {
        return QFile::exists(QStringLiteral(TALVEX_BIN_DIR "/") + talvex::kOdtTemplateFileName);
    }

    static bool IsZip(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) && file.read(2) == "PK";
    }

private slots:
    void init() {
        profile_ = std::make_unique<talvex::guitest::IsolatedProfile>();
        dir_ = std::make_unique<QTemporaryDir>();
        store_ = std::make_unique<talvex::QtSettingsStore>();
        session_ = std::make_unique<talvex::Session>(*store_, TALVEX_SOURCE_DIR "/data");
        messages_.clear();
        opened_.clear();
        viewerPresent_ = true;
        programFolder_ = Path(QStringLiteral("no-template-here"));
        savePath_.clear();
        exportPath_.clear();
        savePrompts_ = 0;
    }
    void cleanup() {
        session_.reset();
        store_.reset();
        dir_.reset();
        profile_.reset();
    }

    void showsTheStoredSwitchesAndPath() {
        QCOMPARE(Dialog()->windowTitle(), QStringLiteral("Отчет"));
        talvex::ReportSettings stored;
        stored.Set(ReportSwitch::GD_CSR, false);
        stored.Set(ReportSwitch::RezNLH, false);
        talvex::SaveReportSettings(*store_, stored);
        talvex::SaveExportPath(*store_, "/x/ExportTlv.xml");
        auto dialog = Dialog();
        for (std::size_t i = 0; i < talvex::kReportSwitchCount; ++i) {
            const auto s = static_cast<ReportSwitch>(i);
            QCOMPARE(dialog->switchBox(s)->isChecked(),
                     s != ReportSwitch::GD_CSR && s != ReportSwitch::RezNLH);
        }
        QCOMPARE(dialog->switchBox(ReportSwitch::CD_AnComp)->text(), QStringLiteral("Метод А"));
        QCOMPARE(dialog->exportPathEdit()->text(), QStringLiteral("/x/ExportTlv.xml"));
    }

    // "Просмотр", "Сохранить" and "Экспорт" store the switches; "Отмена" does not.
    void storesTheSwitchesOnEachButton_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("stored");
        QTest::newRow("Просмотр") << "preview" << true;
        QTest::newRow("Сохранить") << "save" << true;
        QTest::newRow("Экспорт") << "export" << true;
        QTest::newRow("Отмена") << "cancel" << false;
    }
    void storesTheSwitchesOnEachButton() {
        QFETCH(QString, button);
        QFETCH(bool, stored);
        savePath_ = Path(QStringLiteral("r.odt"));
        {
            auto dialog = Dialog();
            dialog->switchBox(ReportSwitch::CD_CSS_Fract)->setChecked(false);
            dialog->switchBox(ReportSwitch::GD_AnComp)->setChecked(false);
            dialog->exportPathEdit()->setText(Path(QStringLiteral("out.xml")));
            if (button == QLatin1String("preview"))
                QTest::mouseClick(dialog->previewButton(), Qt::LeftButton);
            else if (button == QLatin1String("save"))
                QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);
            else if (button == QLatin1String("export"))
                QTest::mouseClick(dialog->exportButton(), Qt::LeftButton);
            else
                dialog->reject();
        }
        auto reopened = Dialog();
        QCOMPARE(reopened->switchBox(ReportSwitch::CD_CSS_Fract)->isChecked(), !stored);
        QCOMPARE(reopened->switchBox(ReportSwitch::GD_AnComp)->isChecked(), !stored);
        QVERIFY(reopened->switchBox(ReportSwitch::CD_CSR)->isChecked());
        // Only the export stores the path.
        QCOMPARE(reopened->exportPathEdit()->text().isEmpty(), button != QLatin1String("export"));
    }

    void missingTemplateGivesTheSaveMessage() {
        savePath_ = Path(QStringLiteral("report.odt"));
        auto dialog = Dialog();
        dialog->Preview();
        dialog->Save();
        QCOMPARE(messages_.size(), 2u);
        for (const ShownMessage& m : messages_) {
            QCOMPARE(m.text, ToQ(talvex::kReportSaveFailedMessage));
            QCOMPARE(m.icon, QMessageBox::Warning);
        }
        QVERIFY(opened_.empty());
    }

    // The length limit counts characters, not bytes: Cyrillic names count one per letter.
    void overLongPathIsRefused_data() {
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("refused");
        QTest::newRow("260") << 260 << false;
        QTest::newRow("261") << 261 << true;
    }
    void overLongPathIsRefused() {
        QFETCH(int, length);
        QFETCH(bool, refused);
        const QString folder = dir_->path() + QLatin1Char('/');
        savePath_ = folder + QString(length - folder.size() - 4, QChar(u'я')) + QStringLiteral(".odt");
        QCOMPARE(savePath_.size(), length);
        Dialog()->Save();
        QCOMPARE(messages_.size(), 1u);
        if (refused) {
            QCOMPARE(messages_[0].text, ToQ(talvex::kReportPathMessage));
            QCOMPARE(messages_[0].icon, QMessageBox::Critical);
        } else {
            // Accepted, so the export was tried (and failed for want of a template).
            QCOMPARE(messages_[0].text, ToQ(talvex::kReportSaveFailedMessage));
        }
        QVERIFY(!QFile::exists(savePath_));
    }

    void cancelledSaveDoesNothing() {
        Dialog()->Save();
        QCOMPARE(savePrompts_, 1);
        QVERIFY(messages_.empty());
    }

    // The operator is told where the saved report went.
    void realSaveWritesAnOdtAndSaysWhere() {
        if (!TemplateBuilt())
            QSKIP("Template_tlvx.odt is not in the build's bin folder");
        programFolder_ = QStringLiteral(TALVEX_BIN_DIR);
        savePath_ = Path(QStringLiteral("Отчеты/ReportTlv.odt"));
        QVERIFY(QDir().mkpath(Path(QStringLiteral("Отчеты"))));
        auto dialog = Dialog();
        QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);
        QVERIFY(IsZip(savePath_));
        QVERIFY(opened_.empty()); // a save is not opened
        QCOMPARE(messages_.size(), 1u);
        QCOMPARE(messages_[0].icon, QMessageBox::Information);
        QCOMPARE(messages_[0].caption, QStringLiteral("Talvex"));
        QCOMPARE(messages_[0].text, QStringLiteral("Отчет сохранен в файл:\n") + savePath_);
    }

    // Without a program for ODT files the preview is still written, and the operator is told so and where.
    void previewThatNoProgramOpensSaysWhereItWasWritten() {
        if (!TemplateBuilt())
            QSKIP("Template_tlvx.odt is not in the build's bin folder");
        programFolder_ = QStringLiteral(TALVEX_BIN_DIR);
        viewerPresent_ = false;
        auto dialog = Dialog();
        QTest::mouseClick(dialog->previewButton(), Qt::LeftButton);
        QCOMPARE(opened_.size(), 1u);
        QVERIFY(IsZip(opened_[0]));
        QCOMPARE(messages_.size(), 1u);
        QCOMPARE(messages_[0].icon, QMessageBox::Warning);
        QCOMPARE(messages_[0].text, QStringLiteral("Не найдена программа для просмотра файлов ODT: отчет не "
                                                   "открыт.\nОтчет сохранен в файл:\n") +
                                        opened_[0]);
        // A failed write is reported as before, never as a written file.
        programFolder_ = Path(QStringLiteral("no-template-here"));
        messages_.clear();
        QTest::mouseClick(dialog->previewButton(), Qt::LeftButton);
        QCOMPARE(messages_.size(), 1u);
        QCOMPARE(messages_[0].text, ToQ(talvex::kReportSaveFailedMessage));
    }

    // The desktop's own opener gives up, without opening anything, when the desktop names no program for
    // ODT files.
    void desktopOpenerKnowsWhenNoProgramOpensOdt() {
        const QString bin = Path(QStringLiteral("bin"));
        QVERIFY(QDir().mkpath(bin));
        QFile fake(bin + QStringLiteral("/xdg-mime"));
        QVERIFY(fake.open(QIODevice::WriteOnly));
        fake.write("#!/bin/sh\nexit 0\n"); // no default application
        fake.close();
        QVERIFY(fake.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", bin.toLocal8Bit());
        const bool viewer = DesktopHasOdtViewer();
        const bool opened = OpenWithDesktop(Path(QStringLiteral("report.odt")));
        qputenv("PATH", oldPath);
        QVERIFY(!viewer);
        QVERIFY(!opened);
    }

    void previewOpensEachNewFile() {
        if (!TemplateBuilt())
            QSKIP("Template_tlvx.odt is not in the build's bin folder");
        programFolder_ = QStringLiteral(TALVEX_BIN_DIR);
        auto dialog = Dialog();
        dialog->Preview();
        dialog->Preview();
        QVERIFY(messages_.empty());
        QCOMPARE(opened_.size(), 2u);
        QVERIFY(opened_[0] != opened_[1]);
        for (const QString& path : opened_) {
            QVERIFY(path.endsWith(QStringLiteral(".tmp.odt")));
            QVERIFY(IsZip(path));
        }
    }

    void previewWithoutATemporaryNameGivesTheSaveMessage() {
        auto dialog = Dialog();
        dialog->hooks().newPreviewPath = [] { return std::optional<std::filesystem::path>(); };
        dialog->Preview();
        QCOMPARE(messages_.size(), 1u);
        QCOMPARE(messages_[0].text, ToQ(talvex::kReportSaveFailedMessage));
    }

    void exportMessages_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        const QString caption = QStringLiteral("Ошибка экспорта");
        QTest::newRow("empty") << QString() << caption << QStringLiteral("Задайте файл (путь) для экспорта.");
        QTest::newRow("upper case") << "REPORT.XML" << caption
                                    << QStringLiteral("Задан неизвестный формат файла для экспорта.");
        QTest::newRow("xlsx") << "report.xlsx" << caption
                              << QStringLiteral("Задан неизвестный формат файла для экспорта.");
    }
    void exportMessages() {
        QFETCH(QString, path);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        auto dialog = Dialog();
        dialog->exportPathEdit()->setText(path.isEmpty() ? path : Path(path));
        dialog->Export();
        QCOMPARE(messages_.size(), 1u);
        QCOMPARE(messages_[0].caption, caption);
        QCOMPARE(messages_[0].text, text);
        QCOMPARE(messages_[0].icon, QMessageBox::Warning);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files).size(), 0);
    }

    // An ".xls" name: a copy of the template next to the program is filled through the spreadsheet
    // application, with the dialog's controls disabled meanwhile.
    void spreadsheetExportFillsACopyOfTheTemplate() {
        programFolder_ = QStringLiteral("/opt/talvex/bin");
        const QString target = Path(QStringLiteral("ExportTlv.xls"));
        auto dialog = Dialog();
        RecordedExport recorded;
        RecordExports(*dialog, recorded);
        dialog->exportPathEdit()->setText(target);
        QTest::mouseClick(dialog->exportButton(), Qt::LeftButton);
        const std::vector<std::string> lines = recorded.automation.Lines();
        QVERIFY(lines.size() > 10);
        QCOMPARE(lines[1], std::string(R"(call Workbooks.Open("/opt/talvex/bin/Template_tlvx.xls"))"));
        // The copy is written beside the target and renamed over it at the end.
        const std::string partial = QFileInfo(target).absolutePath().toStdString() + "/.ExportTlv-" +
                                    std::to_string(QCoreApplication::applicationPid()) + ".part.xls";
        QCOMPARE(lines[3], "call Workbook1.SaveCopyAs(\"" + partial + "\")");
        QVERIFY(QFile::exists(target));
        QVERIFY(!QFile::exists(QString::fromStdString(partial)));
        QCOMPARE(lines.back(), std::string("call Application.Quit()"));
        QCOMPARE(recorded.automation.shutdowns, 1);
        QVERIFY(!recorded.enabledDuringExport);
        QVERIFY(dialog->exportButton()->isEnabled());
        QVERIFY(dialog->switchBox(ReportSwitch::RezNLH)->isEnabled());
        QCOMPARE(messages_.size(), 1u);
        QCOMPARE(messages_[0].text, QStringLiteral("Экспорт завершен."));
        QCOMPARE(messages_[0].icon, QMessageBox::NoIcon);
        QCOMPARE(talvex::LoadReportSettings(*store_).patchExport, target.toStdString());
    }

    // A failed request does not end the program: the operator is told why, the office suite is shut down
    // and the dialog stays open and usable.
    void failedSpreadsheetExportKeepsTheDialog_data() {
        QTest::addColumn<int>("failAt");
        QTest::addColumn<QString>("startFailure");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::newRow("refused request")
            << 3 << QString() << QStringLiteral("AutoWrap()")
            << QStringLiteral(
                   "IDispatch::Invoke(\"SaveCopyAs\"=00000005) failed w/err 0x80020009\nrefused on purpose");
        QTest::newRow("no office suite")
            << -1 << QStringLiteral("LibreOffice is not installed") << QStringLiteral("Error")
            << QStringLiteral("Excel not registered properly\nLibreOffice is not installed");
    }
    void failedSpreadsheetExportKeepsTheDialog() {
        QFETCH(int, failAt);
        QFETCH(QString, startFailure);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        auto dialog = Dialog();
        dialog->show();
        RecordedExport recorded;
        recorded.automation.failAt = failAt;
        recorded.automation.startFailure = startFailure.toStdString();
        RecordExports(*dialog, recorded);
        dialog->exportPathEdit()->setText(Path(QStringLiteral("ExportTlv.xls")));
        dialog->Export();
        QCOMPARE(messages_.size(), 1u);
        QCOMPARE(messages_[0].icon, QMessageBox::Critical);
        QCOMPARE(messages_[0].caption, caption);
        QCOMPARE(messages_[0].text, text);
        QCOMPARE(recorded.automation.shutdowns, 1);
        QVERIFY(dialog->isVisible());
        QVERIFY(dialog->exportButton()->isEnabled());
        QVERIFY(dialog->previewButton()->isEnabled());
    }

    // The export runs beside a progress dialog; Cancel ends the office suite and leaves the target as it
    // was, with no partial file beside it and no message.
    void cancellingTheSpreadsheetExportLeavesNoFile() {
        const QString target = Path(QStringLiteral("ExportTlv.xls"));
        {
            QFile earlier(target);
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.write("earlier export");
        }
        auto dialog = Dialog();
        dialog->show();
        RecordedExport recorded;
        recorded.abortAt = 6; // after the copy of the template was written
        RecordExports(*dialog, recorded);
        dialog->exportPathEdit()->setText(target);
        bool sawProgress = false;
        bool enabledWhileShown = false;
        QTimer watcher;
        connect(&watcher, &QTimer::timeout, this, [&] {
            auto* progress = dialog->findChild<QProgressDialog*>();
            if (!progress || !progress->isVisible())
                return;
            sawProgress = true;
            enabledWhileShown = dialog->exportButton()->isEnabled();
            for (QPushButton* button : progress->findChildren<QPushButton*>())
                if (button->text() == QStringLiteral("Отмена"))
                    button->click();
            watcher.stop();
        });
        watcher.start(10);
        dialog->Export();
        QVERIFY(sawProgress);
        QVERIFY(!enabledWhileShown);
        QCOMPARE(recorded.aborts, 1);
        QCOMPARE(recorded.automation.shutdowns, 1);
        QVERIFY(messages_.empty());
        QFile earlier(target);
        QVERIFY(earlier.open(QIODevice::ReadOnly));
        QCOMPARE(earlier.readAll(), QByteArray("earlier export"));
        QCOMPARE(QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("ExportTlv.xls")});
        QVERIFY(dialog->exportButton()->isEnabled());
    }

    // With LibreOffice installed: the example session exported through the real office suite.
    void spreadsheetExportWithLibreOffice() {
        if (!QFile::exists(QStringLiteral(TALVEX_BIN_DIR "/Template_tlvx.xls")) || !talvex::FindOfficeSuite())
            QSKIP("LibreOffice or the built spreadsheet template is missing");
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(TALVEX_SOURCE_DIR "/examples"))
            if (entry.path().extension() == ".stg")
                files.push_back(entry.path().string());
        QVERIFY(session_->AddFiles(files));
        programFolder_ = QStringLiteral(TALVEX_BIN_DIR);
        const QString target = Path(QStringLiteral("Протокол.xls"));
        auto dialog = Dialog();
        dialog->exportPathEdit()->setText(target);
        dialog->Export();
        QCOMPARE(messages_.size(), 1u);
        QCOMPARE(messages_[0].text, QStringLiteral("Экспорт завершен."));
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(8), QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)); // an .xls workbook
    }

    void xmlExportWritesTheDocument() {
        const QString target = Path(QStringLiteral("ExportTlv.xml"));
        auto dialog = Dialog();
        dialog->exportPathEdit()->setText(target);
        dialog->Export();
        QCOMPARE(messages_.size(), 1u);
        QCOMPARE(messages_[0].text, QStringLiteral("Экспорт завершен."));
        QCOMPARE(messages_[0].caption, QStringLiteral("Talvex"));
        QCOMPARE(messages_[0].icon, QMessageBox::NoIcon);
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString xml = QString::fromUtf8(file.readAll());
        QVERIFY(xml.startsWith(QStringLiteral("<?xml version=\"1.0\" encoding=\"utf-8\"?>")));
        QVERIFY(xml.contains(QStringLiteral("<DataString>Хроматограф-1</DataString>")));
        QCOMPARE(talvex::LoadReportSettings(*store_).patchExport, target.toStdString());
    }

    // A file that cannot be written is reported, never announced as a finished export.
    void unwritableXmlTargetIsReported() {
        auto dialog = Dialog();
        dialog->exportPathEdit()->setText(Path(QStringLiteral("missing-folder/ExportTlv.xml")));
        dialog->Export();
        QCOMPARE(messages_.size(), 1u);
        QCOMPARE(messages_[0].caption, QStringLiteral("Ошибка экспорта"));
        QVERIFY(messages_[0].text != QStringLiteral("Экспорт завершен."));
        QVERIFY(!messages_[0].text.isEmpty());
    }

    void browseStoresTheChosenPath() {
        auto dialog = Dialog();
        dialog->Browse(); // cancelled
        QVERIFY(dialog->exportPathEdit()->text().isEmpty());
        QVERIFY(talvex::LoadReportSettings(*store_).patchExport.empty());
        exportPath_ = Path(QStringLiteral("ExportTlv.xml"));
        QTest::mouseClick(dialog->browseButton(), Qt::LeftButton);
        QCOMPARE(dialog->exportPathEdit()->text(), exportPath_);
        QCOMPARE(talvex::LoadReportSettings(*store_).patchExport, exportPath_.toStdString());
    }

    void enableReportControlsSwitchesEverything() {
        auto dialog = Dialog();
        dialog->EnableReportControls(false);
        for (QWidget* w :
             {static_cast<QWidget*>(dialog->previewButton()), static_cast<QWidget*>(dialog->saveButton()),
              static_cast<QWidget*>(dialog->exportButton()), static_cast<QWidget*>(dialog->browseButton()),
              static_cast<QWidget*>(dialog->exportPathEdit()),
              static_cast<QWidget*>(dialog->switchBox(ReportSwitch::RezNLH))})
            QVERIFY(!w->isEnabled());
        dialog->EnableReportControls(true);
        QVERIFY(dialog->switchBox(ReportSwitch::GD_ChrmList)->isEnabled());
        QVERIFY(dialog->previewButton()->isEnabled());
    }

    // Enter in the dialog neither closes it nor presses a button.
    void enterDoesNotClose() {
        auto dialog = Dialog();
        dialog->show();
        QTest::keyClick(dialog.get(), Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QVERIFY(messages_.empty());
        QCOMPARE(savePrompts_, 0);
    }
};

QTEST_MAIN(ReportDialogTest)
#include "report_dialog_test.moc"
