#include "gui/report/dlg_report.h"

#include "core/app/provenance.h"
#include "core/common/data_file_io.h"
#include "core/report/boiling_curve_report.h"
#include "gui/report/desktop_opener.h"

#include "core/app/session.h"
#include "core/report/odt_report.h"
#include "core/report/odt_report_paths.h"
#include "core/report/office_conversion.h"
#include "core/report/provenance_block.h"
#include "core/report/report_document.h"
#include "core/report/report_messages.h"
#include "core/report/spreadsheet_export.h"
#include "core/report/uno_spreadsheet.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QVBoxLayout>

#include <pugixml.hpp>

#include <ctime>
#include <string>

namespace talvex::gui {

std::unique_ptr<QFileDialog> ReportSaveDialog(QWidget* owner, const QString& proposedName) {
    auto dialog = std::make_unique<QFileDialog>(owner);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("odt"));
    dialog->setNameFilter(QStringLiteral("odt (*.odt)"));
    dialog->selectFile(proposedName);
    return dialog;
}

using talvex::ReportSwitch;

namespace {

QString ToQ(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path ToPath(const QString& text) {
    return std::filesystem::path(text.toStdString());
}

// The caption of the dialog's plain messages: the program's title.
QString ApplicationTitle() {
    return QStringLiteral("Talvex");
}

ReportDialogHooks DesktopHooks(QWidget* owner) {
    ReportDialogHooks hooks;
    hooks.askSavePath = [owner](const QString& proposedName) {
        const std::unique_ptr<QFileDialog> dialog = ReportSaveDialog(owner, proposedName);
        return dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty()
                   ? dialog->selectedFiles().first()
                   : QString();
    };
    hooks.askExportPath = [owner] {
        // An open dialog that also takes the name of a file that does not exist yet: the export creates it.
        QFileDialog dialog(owner);
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(QStringLiteral("xml"));
        dialog.setNameFilters({QStringLiteral("xml (*.xml)"), QStringLiteral("xls (*.xls)")});
        dialog.selectFile(QStringLiteral("ExportTlv"));
        return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
                   ? dialog.selectedFiles().first()
                   : QString();
    };
    hooks.showMessage = [owner](QMessageBox::Icon icon, const QString& caption, const QString& text) {
        QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
        box.exec();
    };
    hooks.openFile = [](const QString& path) { return OpenWithDesktop(path); };
    hooks.newPreviewPath = [] { return talvex::NewPreviewPath(); };
    hooks.programFolder = [] { return QCoreApplication::applicationDirPath(); };
    hooks.spreadsheet = [](const QString& programFolder) -> std::unique_ptr<talvex::SpreadsheetAutomation> {
        return std::make_unique<talvex::UnoSpreadsheet>(talvex::SpreadsheetBridgePath(ToPath(programFolder)),
                                                        talvex::kOfficeTimeLimit, talvex::kOfficeTimeLimit);
    };
    return hooks;
}

// What the library's opening of a preview came to.
struct SwitchPlace {
    ReportSwitch key;
    const char* caption;
    const char* group; // the inner group, or nullptr for a switch directly in its medium's group
};

constexpr const char* kAnalysisGroup = "Результаты анализа";
constexpr const char* kSampleControlGroup = "Результаты оперативного контроля (ОКП)";

constexpr SwitchPlace kGasSwitches[] = {
    {ReportSwitch::GD_ChrmList, "Список хроматограмм", nullptr},
    {ReportSwitch::GD_AnComp, "Компонентный состав", kAnalysisGroup},
    {ReportSwitch::GD_AnFract, "Компонентно-фракционный состав", kAnalysisGroup},
    {ReportSwitch::GD_CSS_Comp, "Компонентный состав", kSampleControlGroup},
    {ReportSwitch::GD_CSS_Fract, "Компонентно-фракционный состав", kSampleControlGroup},
    {ReportSwitch::GD_CSR, "Результаты оперативного контроля (ОКЭ)", nullptr},
};
constexpr SwitchPlace kCondensateSwitches[] = {
    {ReportSwitch::CD_ChrmList, "Список хроматограмм", nullptr},
    {ReportSwitch::CD_AnComp, "Метод А", kAnalysisGroup},
    {ReportSwitch::CD_AnFract, "Метод Б", kAnalysisGroup},
    {ReportSwitch::CD_CSS_Comp, "Метод А", kSampleControlGroup},
    {ReportSwitch::CD_CSS_Fract, "Метод Б", kSampleControlGroup},
    {ReportSwitch::CD_CSR, "Результаты оперативного контроля (ОКЭ)", nullptr},
};
constexpr SwitchPlace kNlhSwitches[] = {
    {ReportSwitch::RezNLH, "Результаты расчета НЖУ", nullptr},
};

QPushButton* PlainButton(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setAutoDefault(false); // Enter never closes or triggers anything in this dialog
    return button;
}

} // namespace

CDlgReport::CDlgReport(talvex::Session& session, QString deviceName, QWidget* parent)
    : QDialog(parent), session_(session), deviceName_(std::move(deviceName)),
      settings_(talvex::LoadReportSettings(session.Settings())), hooks_(DesktopHooks(this)) {
    setWindowTitle(QStringLiteral("Отчет"));
    setModal(true);

    auto* switchesRow = new QHBoxLayout;
    auto addMedium = [&](const QString& title, const auto& places) {
        auto* medium = new QGroupBox(title, this);
        auto* layout = new QVBoxLayout(medium);
        QGroupBox* inner = nullptr;
        const char* innerTitle = nullptr;
        for (const SwitchPlace& place : places) {
            QWidget* owner = medium;
            QVBoxLayout* target = layout;
            if (place.group) {
                if (!inner || innerTitle != place.group) {
                    inner = new QGroupBox(QString::fromUtf8(place.group), medium);
                    inner->setLayout(new QVBoxLayout);
                    innerTitle = place.group;
                    layout->addWidget(inner);
                }
                owner = inner;
                target = static_cast<QVBoxLayout*>(inner->layout());
            }
            auto* box = new QCheckBox(QString::fromUtf8(place.caption), owner);
            box->setObjectName(ToQ(talvex::ReportSwitchKey(place.key)));
            boxes_[static_cast<std::size_t>(place.key)] = box;
            target->addWidget(box);
        }
        layout->addStretch();
        switchesRow->addWidget(medium);
    };
    addMedium(QStringLiteral("Газ дегазации"), kGasSwitches);
    addMedium(QStringLiteral("СЖУ (дегазированный конденсат)"), kCondensateSwitches);
    addMedium(QStringLiteral("НЖУ"), kNlhSwitches);

    preview_ = PlainButton(QStringLiteral("Просмотр"), this);
    save_ = PlainButton(QStringLiteral("Сохранить"), this);
    export_ = PlainButton(QStringLiteral("Экспорт"), this);
    browse_ = PlainButton(QStringLiteral("Обзор"), this);
    cancel_ = PlainButton(QStringLiteral("Отмена"), this);
    pathEdit_ = new QLineEdit(this);

    auto* odtRow = new QHBoxLayout;
    odtRow->addWidget(preview_);
    odtRow->addWidget(save_);
    odtRow->addStretch();
    odtRow->addWidget(cancel_);

    auto* exportRow = new QGridLayout;
    exportRow->addWidget(new QLabel(QStringLiteral("Файл для экспорта (xml, xls):"), this), 0, 0, 1, 3);
    exportRow->addWidget(pathEdit_, 1, 0);
    exportRow->addWidget(browse_, 1, 1);
    exportRow->addWidget(export_, 1, 2);
    exportRow->setColumnStretch(0, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(switchesRow);
    layout->addLayout(exportRow);
    layout->addLayout(odtRow);

    for (std::size_t i = 0; i < boxes_.size(); ++i)
        boxes_[i]->setChecked(settings_.switches[i] != 0);
    pathEdit_->setText(QString::fromStdString(settings_.patchExport));

    connect(preview_, &QPushButton::clicked, this, &CDlgReport::Preview);
    connect(save_, &QPushButton::clicked, this, &CDlgReport::Save);
    connect(export_, &QPushButton::clicked, this, &CDlgReport::Export);
    connect(browse_, &QPushButton::clicked, this, &CDlgReport::Browse);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

CDlgReport::~CDlgReport() = default;

QCheckBox* CDlgReport::switchBox(ReportSwitch s) const {
    return boxes_[static_cast<std::size_t>(s)];
}

void CDlgReport::EnableReportControls(bool on) {
    for (QWidget* widget :
         {static_cast<QWidget*>(preview_), static_cast<QWidget*>(save_), static_cast<QWidget*>(export_),
          static_cast<QWidget*>(browse_), static_cast<QWidget*>(pathEdit_)})
        widget->setEnabled(on);
    for (QCheckBox* box : boxes_)
        box->setEnabled(on);
}

void CDlgReport::ReadControls() {
    for (std::size_t i = 0; i < boxes_.size(); ++i)
        settings_.switches[i] = boxes_[i]->isChecked() ? 1 : 0;
    settings_.patchExport = pathEdit_->text().toStdString();
}

void CDlgReport::Message(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    if (hooks_.showMessage)
        hooks_.showMessage(icon, caption, text);
}

void CDlgReport::Preview() {
    ReadControls();
    talvex::SaveReportSettings(session_.Settings(), settings_);
    WriteOdt(true);
}

void CDlgReport::Save() {
    ReadControls();
    talvex::SaveReportSettings(session_.Settings(), settings_);
    WriteOdt(false);
}

void CDlgReport::WriteOdt(bool preview) {
    pugi::xml_document doc;
    const auto now = static_cast<std::int64_t>(std::time(nullptr));
    // The curves' picture lives in a folder of its own until the library has read it into the report.
    const QTemporaryDir pictureFolder;
    std::filesystem::path picture;
    if (pictureFolder.isValid()) {
        picture = ToPath(pictureFolder.filePath(QStringLiteral("boiling_curve.svg")));
        std::string error;
        if (!talvex::WriteFileAtomically(
                picture, talvex::BoilingCurvePictureSvg(session_.Condensate(), session_.Nlh()), &error))
            picture.clear();
    }
    talvex::BuildReportDocument(doc, {session_.Chromatograms(), session_.Section7(), session_.Condensate(),
                                      session_.Nlh(), session_.Settings(), deviceName_.toStdString(), now});
    talvex::AppendBoilingCurvePicture(doc, picture);
    // The ODT report ends with what it was computed from; the exported XML keeps its shape.
    talvex::AppendProvenance(doc, talvex::TakeProvenance(session_, now), deviceName_.toStdString());

    std::filesystem::path output;
    if (preview) {
        const std::optional<std::filesystem::path> path = hooks_.newPreviewPath();
        if (!path) {
            Message(QMessageBox::Warning, ApplicationTitle(), ToQ(talvex::kReportSaveFailedMessage));
            return;
        }
        output = *path;
    } else {
        const QString chosen = hooks_.askSavePath(QString::fromStdString(talvex::DefaultReportFileName(now)));
        if (chosen.isEmpty())
            return; // cancelled
        output = ToPath(chosen);
    }
    if (talvex::IsReportPathTooLong(output.string())) {
        Message(QMessageBox::Critical, ApplicationTitle(), ToQ(talvex::kReportPathMessage));
        return;
    }

    const std::filesystem::path templatePath = talvex::OdtTemplatePath(ToPath(hooks_.programFolder()));
    // A preview is opened through the dialog's own opener once it is written.
    bool opened = false;
    talvex::ReportOpener opener;
    if (preview)
        opener = [this, &opened](const std::filesystem::path& written) {
            if (hooks_.openFile)
                opened = hooks_.openFile(QString::fromStdString(written.string()));
        };
    const std::int32_t result = talvex::WriteOdtReport(doc, templatePath, output, opener);
    const std::string_view message = talvex::ReportExportMessage(result);
    if (!message.empty()) {
        Message(QMessageBox::Warning, ApplicationTitle(), ToQ(message));
        return;
    }
    // A written file is never left unmentioned: a save says where it went, and so does a preview that
    // no program opened.
    if (!preview)
        Message(QMessageBox::Information, ApplicationTitle(),
                ToQ(talvex::ReportSavedMessage(output.string())));
    else if (!opened)
        Message(QMessageBox::Warning, ApplicationTitle(),
                ToQ(talvex::ReportNotOpenedMessage(output.string())));
}

void CDlgReport::Browse() {
    const QString chosen = hooks_.askExportPath();
    if (chosen.isEmpty())
        return;
    settings_.patchExport = chosen.toStdString();
    pathEdit_->setText(chosen);
    talvex::SaveExportPath(session_.Settings(), settings_.patchExport);
}

void CDlgReport::Export() {
    ReadControls();
    const QString path = pathEdit_->text();
    if (path.isEmpty()) {
        Message(QMessageBox::Warning, ToQ(talvex::kExportErrorCaption), ToQ(talvex::kExportNoPathMessage));
        return;
    }
    // The kind is told by the last three characters, letter case included.
    const QString kind = path.right(3);
    if (kind != QLatin1String("xml") && kind != QLatin1String("xls")) {
        Message(QMessageBox::Warning, ToQ(talvex::kExportErrorCaption),
                ToQ(talvex::kExportUnknownFormatMessage));
        return;
    }
    const bool written =
        kind == QLatin1String("xls") ? ExportSpreadsheet(ToPath(path)) : ExportXml(ToPath(path));
    talvex::SaveExportPath(session_.Settings(), settings_.patchExport);
    talvex::SaveReportSettings(session_.Settings(), settings_);
    // A file that could not be written is reported as such, never as a finished export.
    if (written)
        Message(QMessageBox::NoIcon, ApplicationTitle(), ToQ(talvex::kExportDoneMessage));
}

bool CDlgReport::ExportXml(const std::filesystem::path& target) {
    pugi::xml_document doc;
    talvex::BuildReportDocument(doc, {session_.Chromatograms(), session_.Section7(), session_.Condensate(),
                                      session_.Nlh(), session_.Settings(), deviceName_.toStdString(),
                                      static_cast<std::int64_t>(std::time(nullptr))});
    std::string error;
    if (talvex::SaveReportXml(doc, target, error))
        return true;
    Message(QMessageBox::Warning, ToQ(talvex::kExportErrorCaption), QString::fromStdString(error));
    return false;
}

bool CDlgReport::ExportSpreadsheet(const std::filesystem::path& target) {
    // The office suite works in a thread of its own while this one shows the progress and keeps the
    // window drawn; the controls stay disabled meanwhile, so that nothing else is started from here.
    EnableReportControls(false);
    const QString folder = hooks_.programFolder();
    const std::shared_ptr<talvex::SpreadsheetAutomation> office = hooks_.spreadsheet(folder);
    // The sheets are built here, from the results as they are now: nothing the window does while the
    // export runs can change what it writes.
    const talvex::SpreadsheetContents sheets = talvex::SpreadsheetSheets(
        {session_.Section7(), session_.Condensate(), session_.Nlh(), session_.Degassing().Parameters()});
    // LibreOffice writes a file of its own beside the target, renamed over it once the export is done: a
    // cancelled or failed export leaves the target as it was.
    const std::filesystem::path partial =
        target.parent_path() /
        ("." + target.stem().string() + "-" + std::to_string(QCoreApplication::applicationPid()) + ".part" +
         target.extension().string());
    talvex::AutomationFailure failure;
    bool done = false;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        done = talvex::SpreadsheetExport(*office, talvex::XlsTemplatePath(ToPath(folder)), partial, sheets,
                                         failure);
    }));
    QProgressDialog progress(QStringLiteral("Экспорт протокола в %1: LibreOffice Calc заполняет таблицу…")
                                 .arg(ToQ(target.filename().string())),
                             QStringLiteral("Отмена"), 0, 0, this);
    progress.setWindowTitle(ApplicationTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    bool cancelled = false;
    connect(&progress, &QProgressDialog::canceled, this, [&] {
        cancelled = true;
        progress.setLabelText(QStringLiteral("Остановка LibreOffice…"));
        office->Abort();
    });
    QEventLoop loop;
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    progress.show();
    if (!worker->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker->wait();
    progress.hide();

    std::error_code ec;
    if (done && !cancelled) {
        if (!std::filesystem::is_regular_file(partial, ec)) {
            done = false;
            failure = {std::string(talvex::kExportErrorCaption),
                       "LibreOffice не записал файл " + target.string()};
        } else {
            std::filesystem::rename(partial, target, ec);
            if (ec) {
                done = false;
                failure = {std::string(talvex::kExportErrorCaption),
                           "Не удается записать файл " + target.string() + ": " + ec.message()};
            }
        }
    }
    if (!done || cancelled)
        std::filesystem::remove(partial, ec);
    EnableReportControls(true);
    if (cancelled)
        return false;
    // A failed request abandons the export and leaves the program running with everything the operator
    // typed; the office suite has been shut down already.
    if (!done)
        Message(QMessageBox::Critical, ToQ(failure.caption), ToQ(failure.text));
    return done;
}

} // namespace talvex::gui
