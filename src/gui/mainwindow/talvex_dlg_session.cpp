// The main window's sessions: open, save, the window title and the recovery file.
#include "core/app/session_file.h"
#include "core/app/session_replay.h"
#include "core/chromatogram/skipped_file.h"
#include "core/common/settings.h"
#include "gui/degassing/dlg_degassing.h"
#include "gui/mainwindow/talvex_dlg.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QTimer>

#include <ctime>

namespace talvex::gui {
namespace {

std::int64_t Now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

} // namespace

bool CTalvexDlg::OpenSession(const QString& path) {
    std::string error;
    const std::optional<SessionRecord> record = ReadSessionFile(path.toStdString(), error);
    if (!record) {
        if (hooks_.showError)
            hooks_.showError(
                QStringLiteral("Ошибка"),
                QStringLiteral("Не удается открыть сеанс.\n%1").arg(QString::fromStdString(error)));
        return false;
    }
    opening_ = true;
    // A value still waiting on the degassing page belongs to the session being replaced.
    degassingPage_->takePendingEdit();
    WriteSessionSettings(*record, session_.Settings());
    deviceEdit_->setText(QString::fromStdString(record->deviceName));
    CSettings settings;
    settings.Load(session_.Settings());
    RestoreDegassing(*record, session_.Degassing(), settings.QtyNumAfterDot);
    degassingPage_->ShowValues();

    const ResolvedFiles files = ResolveSessionFiles(*record, path.toStdString());
    std::vector<SessionProblem> problems = files.problems;
    for (SessionProblem& p : CheckDataFiles(*record, session_.DataFolder()))
        problems.push_back(std::move(p));
    session_.DeleteAll();
    ShowResults(files.paths.empty() ? session_.Recalculate() : session_.AddFiles(files.paths));
    opening_ = false;
    sessionPath_ = path;
    savedState_ = CurrentState();
    modified_ = false;
    UpdateTitle();

    QString text = QStringLiteral("Сеанс %1 открыт. Настройки расчета и переключатели отчета из сеанса "
                                  "записаны в профиль программы.")
                       .arg(QFileInfo(path).fileName());
    for (const SessionProblem& problem : problems)
        text += QLatin1Char('\n') + QString::fromStdString(problem.text);
    if (!files.paths.empty() && !session_.SkippedFiles().empty())
        text += QLatin1Char('\n') + QString::fromStdString(SkippedFilesMessage(session_.SkippedFiles()));
    if (hooks_.showInfo)
        hooks_.showInfo(QStringLiteral("Сеанс"), text);
    return true;
}

bool CTalvexDlg::SaveSession(const QString& path) {
    // The value being typed is part of what the operator sees: save it as taken.
    degassingPage_->takePendingEdit();
    std::string error;
    const std::optional<SessionRecord> record =
        CaptureSession(session_, deviceName_.toStdString(), path.toStdString(), Now(), error, &digests_);
    if (!record || !WriteSessionFile(path.toStdString(), *record, error)) {
        if (hooks_.showError)
            hooks_.showError(
                QStringLiteral("Ошибка"),
                QStringLiteral("Не удается сохранить сеанс.\n%1").arg(QString::fromStdString(error)));
        return false;
    }
    sessionPath_ = path;
    savedState_ = CurrentState();
    modified_ = false;
    UpdateTitle();
    return true;
}

void CTalvexDlg::OnOpenSessionClicked() {
    if (!recoveredPath_.isEmpty() && QFile::exists(recoveredPath_) && hooks_.askYesNo) {
        const QString offered = recoveredPath_;
        recoveredPath_.clear(); // offered once
        const QString when = QFileInfo(offered).lastModified().toString(QStringLiteral("dd.MM.yyyy hh:mm"));
        if (hooks_.askYesNo(this, QStringLiteral("Программа была закрыта без сохранения сеанса (%1).\n"
                                                 "Открыть восстановленный сеанс?")
                                      .arg(when))) {
            if (OpenSession(offered)) {
                // Not the operator's own file: the session is new and unsaved until he saves it.
                sessionPath_.clear();
                savedState_.clear();
                modified_ = true;
                UpdateTitle();
            }
            return;
        }
    }
    const QString path = hooks_.askOpenSession ? hooks_.askOpenSession(this) : QString();
    if (!path.isEmpty())
        OpenSession(path);
}

void CTalvexDlg::OnSaveSessionClicked() {
    const QString suggested = sessionPath_.isEmpty() ? QStringLiteral("Сеанс.tlvx") : sessionPath_;
    const QString path = hooks_.askSaveSession ? hooks_.askSaveSession(this, suggested) : QString();
    if (!path.isEmpty())
        SaveSession(path);
}

std::string CTalvexDlg::CurrentState() const {
    return SessionToJson(CaptureState(session_, deviceName_.toStdString()));
}

// Called after every change the window shows: a recalculation that changed nothing the operator set
// (the one that follows a save, say) marks nothing.
void CTalvexDlg::MarkChanged() {
    if (opening_)
        return;
    const std::string state = CurrentState();
    modified_ = modified_ || state != savedState_;
    UpdateTitle();
    if (!recoveryPath_.isEmpty() && state != recoveryState_)
        recoveryTimer_->start();
}

void CTalvexDlg::UpdateTitle() {
    // Without a session file the caption stays the program's own.
    if (sessionPath_.isEmpty() && !modified_) {
        setWindowTitle(MainWindowCaption());
        setWindowModified(false);
        return;
    }
    const QString name =
        sessionPath_.isEmpty() ? QStringLiteral("Новый сеанс") : QFileInfo(sessionPath_).fileName();
    setWindowTitle(QStringLiteral("%1[*] — %2").arg(name, MainWindowCaption()));
    setWindowModified(modified_);
}

void CTalvexDlg::UseRecoveryFile(const QString& path) {
    recoveryPath_ = path;
    if (path.isEmpty() || !QFile::exists(path))
        return;
    // This run writes its own recovery there: keep the earlier run's beside it until it is offered.
    recoveredPath_ = QFileInfo(path).dir().filePath(QStringLiteral("recovered.tlvx"));
    QFile::remove(recoveredPath_);
    if (!QFile::rename(path, recoveredPath_))
        recoveredPath_.clear();
}

void CTalvexDlg::WriteRecovery() {
    if (recoveryPath_.isEmpty())
        return;
    QDir().mkpath(QFileInfo(recoveryPath_).absolutePath());
    std::string error;
    const std::optional<SessionRecord> record = CaptureSession(
        session_, deviceName_.toStdString(), recoveryPath_.toStdString(), Now(), error, &digests_);
    if (!record || !WriteSessionFile(recoveryPath_.toStdString(), *record, error))
        qWarning("talvex: the recovery session cannot be written: %s", error.c_str());
    else
        recoveryState_ = CurrentState();
}

void CTalvexDlg::CloseRecovery() {
    if (recoveryPath_.isEmpty())
        return;
    recoveryTimer_->stop();
    // Unsaved changes stay in the recovery file for the next start; a saved session needs none.
    if (modified_)
        WriteRecovery();
    else
        QFile::remove(recoveryPath_);
}

} // namespace talvex::gui
