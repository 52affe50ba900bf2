// Every text of the main window's pages and of the dialogs fits its rectangle, at the design font and at
// an application font 1.5 times larger: captions, labels, buttons, tab captions, typed values, grid
// captions and the dates, times and numbers in grids.
#include "gui_test_support.h"

#include "core/app/example_session.h"
#include "core/app/session.h"
#include "core/common/settings.h"
#include "core/common/settings_store.h"
#include "gui/browser/open_chrm_dlg.h"
#include "gui/editors/components_dlg.h"
#include "gui/editors/comps_time_dlg.h"
#include "gui/grid/grid_ctrl.h"
#include "gui/mainwindow/talvex_dlg.h"
#include "gui/report/dlg_report.h"
#include "gui/settings/settings_dlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <filesystem>

using namespace talvex::gui;

namespace {

namespace fs = std::filesystem;

QString Describe(const QWidget* w, const QString& text, int need, int have) {
    return QStringLiteral("%1 \"%2\": needs %3 px, has %4")
        .arg(QString::fromLatin1(w->metaObject()->className()), text)
        .arg(need)
        .arg(have);
}

bool Shown(const QWidget* w) {
    return w->isVisible() && w->width() > 0;
}

// The texts of one window that do not fit their rectangles.
QStringList ClippedTexts(QWidget& window) {
    QStringList clipped;
    const auto check = [&](const QWidget* w, const QString& text, int need, int have) {
        if (need > have)
            clipped << Describe(w, text, need, have);
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!Shown(label) || label->wordWrap() || label->text().isEmpty() ||
            label->textFormat() == Qt::RichText)
            continue;
        for (const QString& line : label->text().split(QLatin1Char('\n')))
            check(label, line, label->fontMetrics().horizontalAdvance(line), label->contentsRect().width());
        check(label, label->text(), label->sizeHint().height(), label->height() + 1);
    }
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (!Shown(button) || button->text().isEmpty())
            continue;
        // The style's own measure: the text, the indicator and the margins.
        const QSize hint = button->sizeHint();
        const int need = qobject_cast<const QRadioButton*>(button) || qobject_cast<const QCheckBox*>(button)
                             ? hint.width()
                             : button->fontMetrics().horizontalAdvance(button->text()) + 8;
        check(button, button->text(), need, button->width());
        check(button, button->text(), button->fontMetrics().height(), button->height());
    }
    for (const QGroupBox* box : window.findChildren<QGroupBox*>())
        if (Shown(box) && !box->title().isEmpty())
            check(box, box->title(), box->fontMetrics().horizontalAdvance(box->title()), box->width());
    for (const QLineEdit* edit : window.findChildren<QLineEdit*>()) {
        if (!Shown(edit) || edit->text().isEmpty() || qobject_cast<const CGridCtrlEditCell*>(edit))
            continue;
        const int have =
            edit->contentsRect().width() - edit->textMargins().left() - edit->textMargins().right() - 4;
        check(edit, edit->text(), edit->fontMetrics().horizontalAdvance(edit->text()), have);
    }
    for (const QTabBar* bar : window.findChildren<QTabBar*>()) {
        if (!Shown(bar))
            continue;
        // Every tab is in sight: no scroll arrows, no shortened caption.
        for (int i = 0; i < bar->count(); ++i) {
            check(bar, bar->tabText(i), bar->tabRect(i).right(), bar->width());
            check(bar, bar->tabText(i), bar->fontMetrics().horizontalAdvance(bar->tabText(i)),
                  bar->tabRect(i).width());
        }
    }
    // Dates, times and numbers in grids, and every column's caption.
    static const QRegularExpression kNumberLike(QStringLiteral("^[-+0-9.,:  ]+$"));
    for (const CGridCtrl* grid : window.findChildren<CGridCtrl*>()) {
        if (!Shown(grid))
            continue;
        const QHeaderView* header = grid->horizontalHeader();
        for (int column = 0; column < grid->model()->columnCount(); ++column) {
            const QString caption = grid->model()->headerData(column, Qt::Horizontal).toString();
            check(grid, caption, header->fontMetrics().horizontalAdvance(caption) + 6,
                  grid->columnWidth(column));
            for (int row = 0; row < grid->RowCount(); ++row) {
                const QString text = grid->CellText(row, column);
                if (kNumberLike.match(text).hasMatch())
                    check(grid, text, grid->fontMetrics().horizontalAdvance(text) + 6,
                          grid->columnWidth(column));
            }
        }
    }
    return clipped;
}

void ExpectNothingClipped(QWidget& window, const QString& what) {
    QApplication::processEvents();
    const QStringList clipped = ClippedTexts(window);
    QVERIFY2(clipped.isEmpty(), qPrintable(what + QStringLiteral(": ") + clipped.join(QStringLiteral("; "))));
}

class LayoutFitTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { designFont_ = QApplication::font(); }
    void cleanup() { QApplication::setFont(designFont_); }

    void everyTextFits_data() {
        QTest::addColumn<double>("fontFactor");
        QTest::newRow("design font") << 1.0;
        QTest::newRow("1.5x application font") << 1.5;
    }
    void everyTextFits() {
        QFETCH(double, fontFactor);
        QFont font = designFont_;
        font.setPointSizeF(designFont_.pointSizeF() * fontFactor);
        QApplication::setFont(font);

        talvex::MemorySettingsStore profile;
        talvex::Session session(profile, fs::path(TALVEX_SOURCE_DIR) / "data");
        QVERIFY(session.LoadComponents().empty());
        QVERIFY(talvex::TypeExampleDegassing(session.Degassing(), 3));
        CTalvexDlg window(session, MainWindowHooks{});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QStringList paths;
        for (const std::string& file : talvex::ChromatogramFilesIn(fs::path(TALVEX_SOURCE_DIR) / "examples"))
            paths << QString::fromStdString(file);
        window.AddFiles(paths);
        for (int page = 0; page < CTalvexDlg::kPageCount; ++page) {
            window.Tabs()->setCurrentIndex(page);
            ExpectNothingClipped(window, window.Tabs()->tabText(page));
        }

        talvex::MemorySettingsStore userKey;
        talvex::MemorySettingsStore machineKey;
        const fs::path examples = fs::path(TALVEX_SOURCE_DIR) / "examples";
        userKey.WriteString("", kKeyLastOpenPath2, examples.string());
        machineKey.WriteString("", kKeyOpenPath, examples.parent_path().string());
        COpenChrmDlg browser(userKey, machineKey, &window);
        browser.show();
        ExpectNothingClipped(browser, QStringLiteral("browser"));
        CSettingsDlg settings(session.Settings(), &window);
        settings.show();
        ExpectNothingClipped(settings, QStringLiteral("settings"));
        CComponents components(session, &window);
        components.Load();
        components.show();
        ExpectNothingClipped(components, QStringLiteral("components"));
        CCompsTime times(session, &window);
        times.Load();
        times.show();
        ExpectNothingClipped(times, QStringLiteral("retention times"));
        CDlgReport report(session, QStringLiteral("ГХ-2"), &window);
        report.show();
        ExpectNothingClipped(report, QStringLiteral("report"));
    }

private:
    QFont designFont_;
};

} // namespace

QTEST_MAIN(LayoutFitTest)
#include "layout_fit_test.moc"
