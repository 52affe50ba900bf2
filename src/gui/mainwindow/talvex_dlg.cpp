#include "gui/mainwindow/talvex_dlg.h"

#include "core/app/data_folder.h"
#include "core/app/session.h"
#include "core/common/settings.h"
#include "core/nlh/nlh.h"
#include "gui/browser/open_chrm_dlg.h"
#include "gui/degassing/dlg_degassing.h"
#include "gui/editors/components_dlg.h"
#include "gui/editors/comps_time_dlg.h"
#include "gui/grid/font_scale.h"
#include "gui/grid/grid_ctrl.h"
#include "gui/mainwindow/app_icon.h"
#include "gui/mainwindow/session_dialogs.h"
#include "gui/mainwindow/window_geometry.h"
#include "gui/pages/boiling_curve_panel.h"
#include "gui/pages/dlg_msg.h"
#include "gui/pages/dlg_out_table.h"
#include "gui/pages/out_table_s7s8.h"
#include "gui/plot/chromatogram_plot.h"
#include "gui/report/dlg_report.h"
#include "gui/settings/settings_dlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace talvex::gui {
namespace {

// The design layout, for the design font; a larger font scales every length (FontScale).
constexpr int kMargin = 8;
constexpr int kRowHeight = 28;
constexpr int kGap = 6;
constexpr int kListHeight = 200;
constexpr int kDeviceEditWidth = 200;
constexpr int kMinWidth = 1140; // the list shows its six columns without scrolling
constexpr int kHeight = 700;    // fits a 768-pixel screen with its panel: the window cannot shrink below it

int ButtonWidth(const QPushButton* button, int least) {
    return std::max(least, button->fontMetrics().horizontalAdvance(button->text()) +
                               Scaled(28, button->fontMetrics()));
}

} // namespace

MainWindowHooks MainWindowHooks::Desktop(Session& session) {
    MainWindowHooks hooks;
    hooks.askFiles = [](QWidget* parent) { return RunChromatogramBrowser(parent); };
    hooks.openFile = [](const QString& path) { return QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    hooks.showError = [](const QString& caption, const QString& text) {
        QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
    };
    hooks.settingsDialog = [&session](QWidget* parent) {
        return RunSettingsDialog(session.Settings(), parent);
    };
    hooks.componentEditor = ComponentEditorHook(session);
    AddSessionDialogs(hooks);
    hooks.retentionTimeEditor = [&session](QWidget* parent) {
        return RunRetentionTimeEditor(session, parent);
    };
    return hooks;
}

QString MainWindowCaption() {
    return QStringLiteral(
               "Талвекс   %1     СТО DorirUZUdididida 02-04-2009    Нестабильные жидкие углеводороды")
        .arg(QString::fromStdString(VersionText()));
}

CTalvexDlg::CTalvexDlg(Session& session, MainWindowHooks hooks, QWidget* parent)
    : QWidget(parent), session_(session), hooks_(std::move(hooks)) {
    setWindowIcon(AppIcon());
    setWindowTitle(MainWindowCaption());
    deviceName_ = QString::fromStdString(LoadDeviceName(session_.Settings()));
    BuildControls();
    BuildPages();
    recoveryTimer_ = new QTimer(this);
    recoveryTimer_->setSingleShot(true);
    recoveryTimer_->setInterval(1000);
    connect(recoveryTimer_, &QTimer::timeout, this, &CTalvexDlg::WriteRecovery);
    savedState_ = recoveryState_ = CurrentState();
    // The log page starts with the text of an empty log.
    session_.Log().Clear();
    session_.Log().Refresh();
    msgPage_->Refresh();
    ApplyLayout(baseLayout_);
    RestoreGeometry();
}

std::vector<QSplitter*> CTalvexDlg::Splitters() const {
    return {peakPage_->Splitter(), nlhPage_->Splitter(), curvePanel_->Splitter()};
}

void CTalvexDlg::RestoreGeometry() {
    const WindowGeometry stored = LoadWindowGeometry(session_.Settings());
    const QScreen* where = screen();
    const QRect available = where ? where->availableGeometry() : QRect();
    setMinimumSize(MinimumWindowSize(baseLayout_.size, available));
    resize(OpeningWindowSize(baseLayout_.size, stored.size, available));
    if (stored.position)
        move(OpeningWindowPosition(*stored.position, frameGeometry().size(), available));
    if (stored.maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    const std::vector<QSplitter*> splitters = Splitters();
    for (std::size_t i = 0; i < splitters.size() && i < stored.splitters.size(); ++i) {
        const std::vector<int>& sizes = stored.splitters[i];
        if (static_cast<int>(sizes.size()) == splitters[i]->count())
            splitters[i]->setSizes(QList<int>(sizes.begin(), sizes.end()));
    }
}

void CTalvexDlg::StoreGeometry() {
    WindowGeometry g;
    g.maximized = isMaximized();
    // A maximised window keeps the place it returns to.
    const QRect normal = g.maximized ? normalGeometry() : QRect(pos(), size());
    g.position = normal.topLeft();
    g.size = normal.size();
    for (const QSplitter* splitter : Splitters()) {
        const QList<int> sizes = splitter->sizes();
        g.splitters.emplace_back(sizes.begin(), sizes.end());
    }
    SaveWindowGeometry(session_.Settings(), g);
}

CTalvexDlg::~CTalvexDlg() = default;

void CTalvexDlg::BuildControls() {
    const auto addButton = [this](const QString& caption, auto slot) {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        return button;
    };
    leftButtons_ = {
        addButton(QStringLiteral("Добавить"),
                  [this] {
                      const QStringList paths = hooks_.askFiles ? hooks_.askFiles(this) : QStringList();
                      if (!paths.isEmpty())
                          AddFiles(paths);
                  }),
        addButton(QStringLiteral("Удалить"), &CTalvexDlg::DeleteSelected),
        addButton(QStringLiteral("Удалить все"), &CTalvexDlg::DeleteAll),
        addButton(QStringLiteral("Открыть в ПО Корвант"), &CTalvexDlg::OpenSelected),
    };
    rightButtons_ = {
        addButton(QStringLiteral("Времена выхода"), [this] { RunDialog(hooks_.retentionTimeEditor, false); }),
        addButton(QStringLiteral("Настройка расчета"), [this] { RunDialog(hooks_.settingsDialog, true); }),
        addButton(QStringLiteral("Таблица компонентов"),
                  [this] { RunDialog(hooks_.componentEditor, false); }),
        addButton(QStringLiteral("Отчет"),
                  [this] {
                      if (hooks_.reportDialog) {
                          hooks_.reportDialog(this, deviceName_);
                          return;
                      }
                      CDlgReport dialog(session_, deviceName_, this);
                      dialog.exec();
                  }),
        addButton(QStringLiteral("Сохранить сеанс…"), &CTalvexDlg::OnSaveSessionClicked),
        addButton(QStringLiteral("Открыть сеанс…"), &CTalvexDlg::OnOpenSessionClicked),
    };
    const std::array<const std::function<bool(QWidget*)>*, 3> dialogs{
        &hooks_.retentionTimeEditor, &hooks_.settingsDialog, &hooks_.componentEditor};
    for (std::size_t i = 0; i < dialogs.size(); ++i)
        if (!*dialogs[i]) {
            rightButtons_[i]->setEnabled(false);
            rightButtons_[i]->setToolTip(QStringLiteral("Будет доступно в следующей версии программы"));
        }

    deviceLabel_ = new QLabel(QStringLiteral("Имя прибора:"), this);
    deviceEdit_ = new QLineEdit(deviceName_, this);
    connect(deviceEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        deviceName_ = text;
        MarkChanged();
    });

    aboutButton_ = new QToolButton(this);
    aboutButton_->setText(QStringLiteral("?"));
    aboutButton_->setToolTip(QStringLiteral("Сведения о Talvex..."));
    connect(aboutButton_, &QToolButton::clicked, this, &CTalvexDlg::ShowAbout);
    auto* aboutKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(aboutKey, &QShortcut::activated, this, &CTalvexDlg::ShowAbout);

    list_ = new CGridCtrl(this);
    list_->SetMultiSelection(true);
    list_->SetGrid(session_.ListGrid());
    list_->installEventFilter(this);
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CTalvexDlg::OnListSelectionChanged);
    connect(list_, &CGridCtrl::doubleClicked, this, &CTalvexDlg::OnListDoubleClicked);

    tabs_ = new QTabWidget(this);

    // The initial layout: the left buttons and the instrument name in the top row, the list below them,
    // the right buttons in a column beside the list, the pages below.
    const QFontMetrics metrics = fontMetrics();
    const auto scaled = [&metrics](int length) { return Scaled(length, metrics); };
    margin_ = scaled(kMargin);
    rowHeight_ = scaled(kRowHeight);
    gap_ = scaled(kGap);
    int x = margin_;
    for (QPushButton* button : leftButtons_) {
        const int width = ButtonWidth(button, scaled(90));
        button->setGeometry(x, margin_, width, rowHeight_);
        x += width + gap_;
    }
    x += 2 * gap_;
    const int labelWidth = deviceLabel_->sizeHint().width();
    deviceLabel_->setGeometry(x, margin_, labelWidth, rowHeight_);
    deviceEdit_->setGeometry(x + labelWidth + gap_, margin_, scaled(kDeviceEditWidth), rowHeight_);
    const int rowEnd = x + labelWidth + gap_ + scaled(kDeviceEditWidth);

    int columnWidth = scaled(150);
    for (QPushButton* button : rightButtons_)
        columnWidth = std::max(columnWidth, ButtonWidth(button, scaled(150)));
    const int listHeight = scaled(kListHeight);
    const int height = scaled(kHeight);
    const int width = std::max(scaled(kMinWidth), rowEnd + 3 * gap_ + rowHeight_ + margin_);
    const int listTop = margin_ + rowHeight_ + margin_;
    baseLayout_.size = QSize(width, height);
    baseLayout_.list = QRect(margin_, listTop, width - 3 * margin_ - columnWidth, listHeight);
    baseLayout_.rightColumn = QRect(width - margin_ - columnWidth, listTop, columnWidth, listHeight);
    const int tabsTop = listTop + listHeight + margin_;
    baseLayout_.tabs = QRect(margin_, tabsTop, width - 2 * margin_, height - tabsTop - margin_);
}

void CTalvexDlg::BuildPages() {
    peakPage_ = new CDlgOutTable(tabs_);
    plot_ = new ChromatogramPlot(peakPage_);
    peakPage_->SetTopWidget(plot_);
    peakPage_->SetGrid(session_.PeakGrid());
    degassingPage_ = new CDlgDegassing(session_, tabs_);
    // The page's request arrives as a queued call already: the recalculation follows its handler.
    connect(degassingPage_, &CDlgDegassing::recalculationRequested, this, &CTalvexDlg::Recalculate);
    gasPage_ = new COutTableS7S8(OutTableMode::Gas, session_, tabs_);
    condensatePage_ = new COutTableS7S8(OutTableMode::Condensate, session_, tabs_);
    markingPage_ = new COutTableS7S8(OutTableMode::Marking, session_, tabs_);
    nlhPage_ = new CDlgOutTable(tabs_);
    curvePanel_ = new CBoilingCurvePanel(nlhPage_);
    nlhPage_->SetBottomWidget(curvePanel_);
    RefreshNlhPage();
    msgPage_ = new CDlgMSG(session_.Log(), tabs_);

    tabs_->addTab(peakPage_, QStringLiteral("Инфо. по хрм."));
    tabs_->addTab(degassingPage_, QStringLiteral("Дегазация"));
    tabs_->addTab(gasPage_, QStringLiteral("Газ сепарации/дегазации"));
    tabs_->addTab(condensatePage_, QStringLiteral("Дегазированный конденсат"));
    tabs_->addTab(markingPage_, QStringLiteral("Результаты разметки (ДК)"));
    tabs_->addTab(nlhPage_, QStringLiteral("Состав НЖУ"));
    tabs_->addTab(msgPage_, QStringLiteral("Системные сообщения"));
    tabs_->setCurrentIndex(kPeaks);
}

QWidget* CTalvexDlg::PageWidget(Page page) const {
    return tabs_->widget(page);
}

QPushButton* CTalvexDlg::Button(const QString& caption) const {
    for (QPushButton* button : findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
        if (button->text() == caption)
            return button;
    return nullptr;
}

void CTalvexDlg::ApplyLayout(const MainWindowLayout& layout) {
    list_->setGeometry(layout.list);
    tabs_->setGeometry(layout.tabs);
    aboutButton_->setGeometry(layout.rightColumn.right() + 1 - rowHeight_, margin_, rowHeight_, rowHeight_);
    int y = layout.rightColumn.top();
    for (QPushButton* button : rightButtons_) {
        button->setGeometry(layout.rightColumn.x(), y, layout.rightColumn.width(), rowHeight_);
        y += rowHeight_ + gap_;
    }
}

void CTalvexDlg::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ApplyLayout(baseLayout_.Resized(size()));
}

void CTalvexDlg::closeEvent(QCloseEvent* event) {
    SaveDeviceName(session_.Settings(), deviceName_.toStdString());
    StoreGeometry();
    CloseRecovery();
    QWidget::closeEvent(event);
}

bool CTalvexDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        DeleteSelected();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CTalvexDlg::AddFiles(const QStringList& paths) {
    std::vector<std::string> files;
    for (const QString& path : paths)
        files.push_back(path.toStdString());
    ShowResults(session_.AddFiles(files));
    ShowSkippedFiles();
}

void CTalvexDlg::ShowSkippedFiles() {
    const std::vector<SkippedFile>& skipped = session_.SkippedFiles();
    if (skipped.empty())
        return;
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Talvex"),
                    QString::fromStdString(SkippedFilesMessage(skipped)), QMessageBox::Ok, this);
    box.exec();
}

std::vector<std::int32_t> CTalvexDlg::SelectedFileIds() const {
    std::vector<std::int32_t> ids;
    for (int row : list_->SelectedRows())
        ids.push_back(list_->RowTag(row));
    return ids;
}

void CTalvexDlg::DeleteSelected() {
    ShowResults(session_.DeleteFiles(SelectedFileIds()));
}

void CTalvexDlg::DeleteAll() {
    ShowResults(session_.DeleteAll());
}

void CTalvexDlg::Recalculate() {
    ShowResults(session_.Recalculate());
}

void CTalvexDlg::RequestRecalculation() {
    QMetaObject::invokeMethod(this, &CTalvexDlg::Recalculate, Qt::QueuedConnection);
}

void CTalvexDlg::ShowResults(bool recalculated) {
    RefreshList();
    RefreshPeakGrid();
    gasPage_->Refresh();
    condensatePage_->Refresh();
    markingPage_->Refresh();
    RefreshNlhPage();
    msgPage_->Refresh();
    MarkChanged();
    if (!recalculated && hooks_.showError)
        hooks_.showError(QStringLiteral("Ошибка"), QString::fromStdString(session_.RecalcError()));
}

void CTalvexDlg::RefreshList() {
    // Rebuilding the rows drops the view's selection; the chromatogram whose peaks are shown stays
    // selected, so that the list and the peak page agree after a recalculation.
    const QSignalBlocker block(list_->selectionModel());
    list_->SetGrid(session_.ListGrid());
    for (int row = 0; row < list_->RowCount(); ++row)
        if (list_->RowTag(row) == session_.SelectedFileId())
            list_->selectRow(row);
}

void CTalvexDlg::RefreshNlhPage() {
    // The decimals are read afresh by every fill.
    const int decimals = session_.StoredSettings().QtyNumAfterDot;
    nlhPage_->SetGrid(session_.NlhGrid(decimals));
    curvePanel_->Refresh(session_.Condensate(), session_.Nlh(), decimals);
}

void CTalvexDlg::RefreshPeakGrid() {
    peakPage_->SetGrid(session_.PeakGrid());
    plot_->showSelected(session_);
}

void CTalvexDlg::OnListSelectionChanged() {
    const std::vector<int> rows = list_->SelectedRows();
    session_.SelectFile(rows.empty() ? -1 : list_->RowTag(rows.front()));
    RefreshPeakGrid();
}

bool CTalvexDlg::OpenChromatogram(std::int32_t fileId) {
    for (const COpenedChmFile& entry : session_.Chromatograms())
        if (entry.fileId == fileId) {
            const QString path = QString::fromStdString(entry.passport.path);
            if (hooks_.openFile && hooks_.openFile(path))
                return true;
            if (hooks_.showError)
                hooks_.showError(QStringLiteral("Ошибка"),
                                 QStringLiteral("Не удается открыть файл: \n%1").arg(path));
            return false;
        }
    return false;
}

void CTalvexDlg::OpenSelected() {
    for (std::int32_t id : SelectedFileIds())
        OpenChromatogram(id);
}

void CTalvexDlg::OnListDoubleClicked() {
    const std::vector<std::int32_t> ids = SelectedFileIds();
    if (!ids.empty())
        OpenChromatogram(ids.front());
}

void CTalvexDlg::RunDialog(const std::function<bool(QWidget*)>& dialog, bool settings) {
    if (!dialog || !dialog(this))
        return;
    // New settings change the decimals of the degassing page; it asks for a recalculation itself.
    if (settings)
        degassingPage_->RecalcDegassing();
    Recalculate();
}

void CTalvexDlg::ShowAbout() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Сведения о Talvex"),
                    QStringLiteral("Талвекс    %1").arg(QString::fromStdString(VersionText())),
                    QMessageBox::Ok, this);
    box.setIconPixmap(AppIcon().pixmap(64, 64));
    box.exec();
}

} // namespace talvex::gui
