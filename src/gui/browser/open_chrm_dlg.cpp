#include "gui/browser/open_chrm_dlg.h"

#include "core/chromatogram/passport.h"
#include "core/common/settings_store.h"
#include "gui/browser/dir_tree_ctrl.h"
#include "gui/grid/grid_ctrl.h"
#include "qtplatform/qt_settings_store.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <optional>

namespace talvex::gui {
namespace {

// The data system keeps these values directly under its key.
const std::string kKeySection;

const QString kAnyMethod = QStringLiteral("* (любой)");
const QString kAnySite = QStringLiteral("* (любой)");
const QString kAnyPoint = QStringLiteral("* (любая)");

constexpr int kWidth = 960;
constexpr int kHeight = 620;

// Sets the wait cursor for the lifetime of the object.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// A filter list: every distinct value and the match-anything entry, sorted regardless of letter case,
// with the match-anything entry selected.
void FillFilter(QComboBox* combo, const std::vector<std::string>& values, const QString& any) {
    QStringList items{any};
    for (const std::string& v : values)
        items << QString::fromStdString(v);
    std::stable_sort(items.begin(), items.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    const QSignalBlocker block(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentText(any);
}

std::optional<std::string> ActiveFilter(const QComboBox* combo, const QString& any) {
    if (combo->currentText() == any)
        return std::nullopt;
    return combo->currentText().toStdString();
}

} // namespace

COpenChrmDlg::COpenChrmDlg(SettingsStore& userKey, const SettingsStore& machineKey, QWidget* parent)
    : CFormDialog(parent), userKey_(userKey), machineKey_(machineKey) {
    setWindowTitle(QStringLiteral("Открытие хроматограммы"));
    BuildControls();

    wholeFileSystem_ = userKey_.ReadInt(kKeySection, kKeyOpenDirType, 0) != 0;
    lastPathWholeFs_ = QString::fromStdString(userKey_.ReadString(kKeySection, kKeyLastOpenPath1, ""));
    lastPathDataSystem_ = QString::fromStdString(userKey_.ReadString(kKeySection, kKeyLastOpenPath2, ""));
    currentFolder_ = wholeFileSystem_ ? lastPathWholeFs_ : lastPathDataSystem_;
    {
        const QSignalBlocker block(wholeFs_);
        wholeFs_->setChecked(wholeFileSystem_);
    }
    BuildTree();
}

void COpenChrmDlg::BuildControls() {
    const auto label = [this](const QString& text, const QRect& at) {
        auto* l = new QLabel(text, this);
        l->setGeometry(at);
        return l;
    };
    const auto combo = [this](const QRect& at) {
        auto* c = new QComboBox(this);
        c->setGeometry(at);
        return c;
    };
    const int right = kWidth - 8;

    wholeFs_ = new QCheckBox(QStringLiteral("Вся файловая система"), this);
    wholeFs_->setGeometry(8, 8, 260, 22);
    QLabel* typeLabel = label(QStringLiteral("Тип:"), QRect(8, 36, 40, 22));
    type_ = combo(QRect(50, 34, 218, 24));
    type_->addItems({QStringLiteral("Любые"), QStringLiteral("Градуировочные"), QStringLiteral("Анализы")});
    tree_ = new CDirTreeCtrl(this);
    tree_->setGeometry(8, 64, 260, kHeight - 72);

    QLabel* methodLabel = label(QStringLiteral("Метод:"), QRect(280, 8, 60, 22));
    method_ = combo(QRect(345, 6, 200, 24));
    QLabel* siteLabel = label(QStringLiteral("Пункт отбора:"), QRect(560, 8, 100, 22));
    site_ = combo(QRect(660, 6, 180, 24));
    QLabel* pointLabel = label(QStringLiteral("Точка отбора:"), QRect(560, 36, 100, 22));
    point_ = combo(QRect(660, 34, 180, 24));
    auto* open = new QPushButton(QStringLiteral("Открыть"), this);
    open->setGeometry(right - 100, 6, 100, 26);
    open->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Отмена"), this);
    cancel->setGeometry(right - 100, 36, 100, 26);

    folderLabel_ = label(QString(), QRect(280, 64, right - 280, 20));
    list_ = new CGridCtrl(this);
    list_->setGeometry(280, 88, right - 280, kHeight - 88 - 140);
    list_->SetMultiSelection(true);
    // The date column is a little wider than the data system's, so "dd.mm.yy" fits the desktop font.
    list_->SetGrid(GridModel{{{"Дата", 64}, {"Проба", 180}, {"Файл", 230}}, {}});
    description_ = new QPlainTextEdit(this);
    description_->setReadOnly(true);
    description_->setGeometry(280, kHeight - 132, right - 280 - 170, 124);
    joint_ = new QCheckBox(QStringLiteral("Совместный выбор"), this);
    joint_->setGeometry(right - 162, kHeight - 132, 162, 22);

    SetInitialSize(QSize(kWidth, kHeight));
    SetResizeRule(tree_, ResizeAction::Fixed, ResizeAction::Grow);
    SetResizeRule(folderLabel_, ResizeAction::Grow, ResizeAction::Fixed);
    SetResizeRule(list_, ResizeAction::Grow, ResizeAction::Grow);
    SetResizeRule(description_, ResizeAction::Grow, ResizeAction::Move);
    for (QWidget* w :
         {static_cast<QWidget*>(method_), static_cast<QWidget*>(methodLabel), static_cast<QWidget*>(type_),
          static_cast<QWidget*>(typeLabel), static_cast<QWidget*>(wholeFs_)})
        SetResizeRule(w, ResizeAction::Fixed, ResizeAction::Fixed);
    for (QWidget* w :
         {static_cast<QWidget*>(site_), static_cast<QWidget*>(siteLabel), static_cast<QWidget*>(point_),
          static_cast<QWidget*>(pointLabel), static_cast<QWidget*>(open), static_cast<QWidget*>(cancel)})
        SetResizeRule(w, ResizeAction::Move, ResizeAction::Fixed);
    SetResizeRule(joint_, ResizeAction::Move, ResizeAction::Move);

    connect(open, &QPushButton::clicked, this, &COpenChrmDlg::Open);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &CGridCtrl::doubleClicked, this, &COpenChrmDlg::Open);
    connect(tree_, &QTreeWidget::currentItemChanged, this, &COpenChrmDlg::OnTreeSelection);
    connect(wholeFs_, &QCheckBox::toggled, this, [this](bool on) {
        wholeFileSystem_ = on;
        BuildTree();
    });
    connect(type_, &QComboBox::currentIndexChanged, this, &COpenChrmDlg::Rescan);
    for (QComboBox* filter : {method_, site_, point_})
        connect(filter, &QComboBox::currentIndexChanged, this, &COpenChrmDlg::FillList);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &COpenChrmDlg::OnFocusedRow);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &COpenChrmDlg::SelectJointRuns);
}

void COpenChrmDlg::BuildTree() {
    {
        // Selecting the remembered folder is no choice of the operator's: it must not overwrite it.
        const QSignalBlocker block(tree_);
        if (wholeFileSystem_) {
            tree_->ShowDrives();
            if (tree_->SelectPath(lastPathWholeFs_))
                currentFolder_ = tree_->CurrentPath();
        } else {
            const std::string root =
                machineKey_.ReadString(kKeySection, kKeyOpenPath, QDir::rootPath().toStdString());
            tree_->ShowFolder(QString::fromStdString(root));
            tree_->SelectPath(lastPathDataSystem_);
            currentFolder_ = lastPathDataSystem_;
        }
    }
    Rescan();
}

void COpenChrmDlg::OnTreeSelection() {
    currentFolder_ = tree_->CurrentPath();
    Rescan();
    (wholeFileSystem_ ? lastPathWholeFs_ : lastPathDataSystem_) = currentFolder_;
}

void COpenChrmDlg::Rescan() {
    {
        const WaitCursor wait;
        files_ = ScanChromatogramFolder(currentFolder_.toStdString(),
                                        static_cast<RunTypeFilter>(type_->currentIndex()));
    }
    folderLabel_->setText(QDir::toNativeSeparators(currentFolder_));
    FillFilter(method_, DistinctValues(files_, &FolderFile::method), kAnyMethod);
    FillFilter(point_, DistinctValues(files_, &FolderFile::samplingPoint), kAnyPoint);
    FillFilter(site_, DistinctValues(files_, &FolderFile::samplingSite), kAnySite);
    FillList();
}

void COpenChrmDlg::FillList() {
    const FolderFilters filters{ActiveFilter(method_, kAnyMethod), ActiveFilter(site_, kAnySite),
                                ActiveFilter(point_, kAnyPoint)};
    GridModel grid = list_->Grid();
    grid.rows.clear();
    for (std::size_t i : FilterFolderFiles(files_, filters)) {
        const FolderFile& f = files_[i];
        GridRow row;
        row.cells = {FolderFileDate(f), f.sampleName, f.title};
        row.tag = static_cast<std::int32_t>(i);
        grid.rows.push_back(std::move(row));
    }
    list_->SetGrid(std::move(grid));
    description_->clear();
}

const FolderFile* COpenChrmDlg::RowFile(int row) const {
    if (row < 0 || row >= list_->RowCount())
        return nullptr;
    const auto index = static_cast<std::size_t>(list_->RowTag(row));
    return index < files_.size() ? &files_[index] : nullptr;
}

void COpenChrmDlg::OnFocusedRow() {
    const FolderFile* file = RowFile(list_->currentIndex().row());
    if (!file)
        return;
    CPassport passport;
    if (!passport.ReadPassportFile(FolderFilePath(currentFolder_.toStdString(), *file).string())) {
        description_->setPlainText(QStringLiteral("Ошибка чтения !!!"));
        return;
    }
    description_->setPlainText(
        QString::fromStdString(passport.Describe()).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    SelectJointRuns();
}

void COpenChrmDlg::SelectJointRuns() {
    const int focused = list_->currentIndex().row();
    const FolderFile* file = RowFile(focused);
    if (selecting_ || !joint_->isChecked() || !file || !list_->selectionModel()->isRowSelected(focused))
        return;
    selecting_ = true;
    for (int row = 0; row < list_->RowCount(); ++row)
        if (const FolderFile* other = RowFile(row); row != focused && other && AreJointRuns(*other, *file))
            list_->selectionModel()->select(list_->model()->index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selecting_ = false;
}

void COpenChrmDlg::Open() {
    userKey_.WriteString(kKeySection, kKeyLastOpenPath1, lastPathWholeFs_.toStdString());
    userKey_.WriteString(kKeySection, kKeyLastOpenPath2, lastPathDataSystem_.toStdString());
    userKey_.WriteInt(kKeySection, kKeyMultiSelectMode, joint_->isChecked() ? 1 : 0);
    userKey_.WriteInt(kKeySection, kKeyOpenDirType, wholeFileSystem_ ? 1 : 0);
    if (const QModelIndex focused = list_->currentIndex(); focused.isValid())
        list_->selectionModel()->select(focused, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    chosenPaths_.clear();
    for (int row : list_->SelectedRows())
        if (const FolderFile* file = RowFile(row))
            chosenPaths_ << QString::fromStdString(
                FolderFilePath(currentFolder_.toStdString(), *file).string());
    accept();
}

QStringList RunChromatogramBrowser(QWidget* parent) {
    QtSettingsStore userKey(QSettings::UserScope, QStringLiteral("Vintaro"), QStringLiteral("Korvant"));
    const QtSettingsStore machineKey(QSettings::SystemScope, QStringLiteral("Vintaro"),
                                     QStringLiteral("Korvant"));
    COpenChrmDlg dialog(userKey, machineKey, parent);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.ChosenPaths();
}

} // namespace talvex::gui
