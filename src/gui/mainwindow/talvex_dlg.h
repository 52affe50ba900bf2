#pragma once

#include "core/common/file_digest_cache.h"
#include "gui/mainwindow/main_window_layout.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTimer;
class QToolButton;

namespace talvex {
class Session;
}

namespace talvex::gui {

class CBoilingCurvePanel;
class CDlgDegassing;
class CDlgMSG;
class CDlgOutTable;
class CGridCtrl;
class COutTableS7S8;
class ChromatogramPlot;

// What the main window asks of the desktop and of the program's other dialogs; tests replace them. A dialog
// hook returns true when the operator confirmed with OK; without a hook its button is disabled.
struct MainWindowHooks {
    std::function<QStringList(QWidget* parent)> askFiles; // the chromatograms to add; empty = cancel
    std::function<bool(const QString& path)> openFile;    // false when no program could open the file
    std::function<void(const QString& caption, const QString& text)> showError;
    std::function<bool(QWidget* parent)> settingsDialog;
    std::function<bool(QWidget* parent)> componentEditor;
    std::function<bool(QWidget* parent)> retentionTimeEditor;
    // Replaces the report dialog (tests); without it "Отчет" opens CDlgReport.
    std::function<void(QWidget* parent, const QString& deviceName)> reportDialog;
    // The session file to open, and where to save one (`suggested` is the current one); empty = cancel.
    std::function<QString(QWidget* parent)> askOpenSession;
    std::function<QString(QWidget* parent, const QString& suggested)> askSaveSession;
    // A question the operator answers yes or no, and a message he reads.
    std::function<bool(QWidget* parent, const QString& text)> askYesNo;
    std::function<void(const QString& caption, const QString& text)> showInfo;

    // The program's own dialogs and the desktop's services, working on this session.
    static MainWindowHooks Desktop(Session& session);
};

// The program's main window: the chromatogram list with the buttons that change it, the instrument name,
// the buttons of the reference data, the settings and the report, and the seven pages. Every change of
// the list ends in a recalculation of the session, after which every page shows the new results.
class CTalvexDlg : public QWidget {
    Q_OBJECT
public:
    enum Page { kPeaks, kDegassing, kGas, kCondensate, kMarking, kNlh, kMessages, kPageCount };

    // The session must outlive the window. The window opens where it was last closed (its size, place,
    // maximised state and splitters, kept in the profile's section "main_window"), fitted to the screen;
    // closing it stores them.
    CTalvexDlg(Session& session, MainWindowHooks hooks, QWidget* parent = nullptr);
    ~CTalvexDlg() override;

    // The list operations; each recalculates and refreshes every page. After an add that left files out,
    // one message box lists each of them with its reason.
    void AddFiles(const QStringList& paths);
    void DeleteSelected();
    void DeleteAll();
    // Asks the desktop to open the selected chromatograms (the data system is registered for them).
    void OpenSelected();
    // Recalculates the session and shows the results.
    void Recalculate();
    // The same, queued: it runs after the handler that asks for it has returned.
    void RequestRecalculation();

    QString DeviceName() const { return deviceName_; }

    // Sessions. Opening replaces the list, the degassing page and the instrument with the session's, writes
    // its settings and report switches into the profile and says so once, naming every file that is
    // missing or changed; a file that cannot be read as a session changes nothing. Saving writes the
    // session through a temporary file. Both return false after telling the operator why.
    bool OpenSession(const QString& path);
    bool SaveSession(const QString& path);
    QString SessionPath() const { return sessionPath_; }
    bool HasUnsavedChanges() const { return modified_; }
    // Keeps the session at `path` after every change (a second after the last one). A recovery file left
    // there by a run that ended without saving is moved aside first and offered by "Открыть сеанс…".
    void UseRecoveryFile(const QString& path);
    QString RecoveredSessionPath() const { return recoveredPath_; }

    CGridCtrl* List() const { return list_; }
    QTabWidget* Tabs() const { return tabs_; }
    QWidget* PageWidget(Page page) const;
    CDlgOutTable* PeakPage() const { return peakPage_; }
    COutTableS7S8* GasPage() const { return gasPage_; }
    COutTableS7S8* CondensatePage() const { return condensatePage_; }
    COutTableS7S8* MarkingPage() const { return markingPage_; }
    CDlgOutTable* NlhPage() const { return nlhPage_; }
    CDlgMSG* MessagePage() const { return msgPage_; }
    CBoilingCurvePanel* CurvePanel() const { return curvePanel_; }
    QPushButton* Button(const QString& caption) const;

    // The about box: the program's name and version.
    void ShowAbout();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void BuildPages();
    void ShowResults(bool recalculated);
    void ShowSkippedFiles();
    void RefreshList();
    void RefreshPeakGrid();
    void RefreshNlhPage();
    void OnListSelectionChanged();
    void OnListDoubleClicked();
    bool OpenChromatogram(std::int32_t fileId);
    void RunDialog(const std::function<bool(QWidget*)>& dialog, bool settings);
    std::vector<std::int32_t> SelectedFileIds() const;
    void ApplyLayout(const MainWindowLayout& layout);
    // The size, place and splitters the window had when it was last closed, within the screen.
    void RestoreGeometry();
    void StoreGeometry();
    std::vector<QSplitter*> Splitters() const;
    void OnOpenSessionClicked();
    void OnSaveSessionClicked();
    void MarkChanged();
    std::string CurrentState() const;
    void WriteRecovery();
    void CloseRecovery();
    void UpdateTitle();

    Session& session_;
    MainWindowHooks hooks_;
    QString deviceName_;
    MainWindowLayout baseLayout_;
    int margin_ = 0; // the layout's lengths, scaled with the font
    int rowHeight_ = 0;
    int gap_ = 0;
    CGridCtrl* list_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QLineEdit* deviceEdit_ = nullptr;
    std::vector<QPushButton*> leftButtons_;
    std::vector<QPushButton*> rightButtons_;
    QToolButton* aboutButton_ = nullptr;
    QLabel* deviceLabel_ = nullptr;
    CDlgOutTable* peakPage_ = nullptr;
    ChromatogramPlot* plot_ = nullptr;
    CDlgDegassing* degassingPage_ = nullptr;
    COutTableS7S8* gasPage_ = nullptr;
    COutTableS7S8* condensatePage_ = nullptr;
    COutTableS7S8* markingPage_ = nullptr;
    CDlgOutTable* nlhPage_ = nullptr;
    CBoilingCurvePanel* curvePanel_ = nullptr;
    CDlgMSG* msgPage_ = nullptr;

    QString sessionPath_;       // the session file the window shows; empty for a new session
    bool modified_ = false;     // changed since the session was opened or saved
    std::string savedState_;    // what the operator had set when the session was opened or saved
    std::string recoveryState_; // what the recovery file holds
    bool opening_ = false;      // a session is being opened: its own changes are not the operator's
    QString recoveryPath_;
    QString recoveredPath_; // a recovery session of an earlier run, not yet offered
    QTimer* recoveryTimer_ = nullptr;
    FileDigestCache digests_;
};

// The window's caption with the version text.
QString MainWindowCaption();

} // namespace talvex::gui
