#pragma once

#include "core/app/chromatogram_folder.h"
#include "gui/browser/form_dialog.h"

#include <QStringList>

#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace talvex {
class SettingsStore;
}

namespace talvex::gui {

class CDirTreeCtrl;
class CGridCtrl;

// Values of the data system's own key, shared with it: the browser's mode and last folders.
inline constexpr const char* kKeyOpenDirType = "OpenDirType";     // 1: the whole file system
inline constexpr const char* kKeyLastOpenPath1 = "LastOpenPath1"; // last folder in that mode
inline constexpr const char* kKeyLastOpenPath2 = "LastOpenPath2"; // last folder below the data folder
inline constexpr const char* kKeyMultiSelectMode = "MultiSelectMode";
inline constexpr const char* kKeyOpenPath = "OpenPath"; // the data system's folder (machine-wide)

// The program's chooser of chromatogram files. It lists the .stg and .cdf files of a folder newest first from
// their passports, filters them by method, sampling site, sampling point and run type, shows the passport
// of the focused file and can select together the runs recorded at one moment on several detectors.
// Its folders and modes live in the data system's key so both programs open at the same place.
class COpenChrmDlg : public CFormDialog {
    Q_OBJECT
public:
    // `userKey` is read at opening and written by "Открыть"; `machineKey` gives the data system's folder.
    // Both must outlive the dialog.
    COpenChrmDlg(SettingsStore& userKey, const SettingsStore& machineKey, QWidget* parent = nullptr);

    // The files chosen with "Открыть", in list order.
    const QStringList& ChosenPaths() const { return chosenPaths_; }
    QString CurrentFolder() const { return currentFolder_; }

    // Rereads the current folder and rebuilds the filters and the list.
    void Rescan();
    // Rebuilds the list from the scanned files with the current filters.
    void FillList();
    // "Открыть": stores the folders and modes, takes the selected files and closes with OK.
    void Open();

    CDirTreeCtrl* Tree() const { return tree_; }
    CGridCtrl* List() const { return list_; }
    QComboBox* MethodCombo() const { return method_; }
    QComboBox* SiteCombo() const { return site_; }
    QComboBox* PointCombo() const { return point_; }
    QComboBox* TypeCombo() const { return type_; }
    QCheckBox* WholeFileSystemCheck() const { return wholeFs_; }
    QCheckBox* JointSelectionCheck() const { return joint_; }
    QPlainTextEdit* Description() const { return description_; }
    QLabel* FolderLabel() const { return folderLabel_; }

private:
    void BuildControls();
    void BuildTree();
    void OnTreeSelection();
    void OnFocusedRow();
    void SelectJointRuns();
    const FolderFile* RowFile(int row) const;

    SettingsStore& userKey_;
    const SettingsStore& machineKey_;
    QString currentFolder_;
    bool wholeFileSystem_ = false;
    QString lastPathWholeFs_;
    QString lastPathDataSystem_;
    std::vector<FolderFile> files_;
    QStringList chosenPaths_;
    bool selecting_ = false; // the dialog itself is extending the selection

    CDirTreeCtrl* tree_ = nullptr;
    QLabel* folderLabel_ = nullptr;
    CGridCtrl* list_ = nullptr;
    QPlainTextEdit* description_ = nullptr;
    QComboBox* method_ = nullptr;
    QComboBox* site_ = nullptr;
    QComboBox* point_ = nullptr;
    QComboBox* type_ = nullptr;
    QCheckBox* wholeFs_ = nullptr;
    QCheckBox* joint_ = nullptr;
};

// Runs the browser modally on the data system's keys of this user and this machine; returns the chosen
// paths, none when the operator cancelled.
QStringList RunChromatogramBrowser(QWidget* parent);

} // namespace talvex::gui
