#include "gui/grid/grid_ctrl.h"
#include "gui/grid/grid_table_model.h"

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QVBoxLayout>

using talvex::GridModel;
using talvex::gui::CGridCtrl;

namespace {

GridModel TwoRows() {
    GridModel grid;
    grid.columns = {{"№", 35}, {"Имя", 200}};
    grid.rows.resize(2);
    grid.rows[0].cells = {"1", "Метан"};
    grid.rows[1].cells = {"2", "Этан"};
    grid.rows[1].textColor = 0x000000FF; // red, stored as 0x00BBGGRR
    grid.rows[1].backColor = 0x00FF0000; // blue
    return grid;
}

// A grid that lets every cell be edited and counts the "changed" questions, answering `keep`.
struct EditFixture {
    explicit EditFixture(bool keep) {
        grid.SetGrid(TwoRows());
        grid.SetEditable(true);
        grid.SetMayEditAnswer([](int, int) { return true; });
        grid.SetChangedAnswer([this, keep](int item, int subItem) {
            changes.push_back({item, subItem});
            return keep;
        });
        grid.show();
        if (!QTest::qWaitForWindowExposed(&grid))
            qFatal("grid not shown");
    }
    CGridCtrl grid;
    std::vector<std::pair<int, int>> changes;
};

} // namespace

class GridCtrlTest : public QObject {
    Q_OBJECT
private slots:
    void editEndsAsTheKeyAndTheOwnerSay_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("keep");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("questions");
        QTest::newRow("Escape leaves the cell") << "Пропан" << int(Qt::Key_Escape) << true << "Метан" << 0;
        QTest::newRow("the same text is no change") << "Метан" << int(Qt::Key_Return) << true << "Метан" << 0;
        QTest::newRow("a case change is a change") << "метан" << int(Qt::Key_Return) << true << "метан" << 1;
        QTest::newRow("kept") << "Пропан" << int(Qt::Key_Return) << true << "Пропан" << 1;
        QTest::newRow("refused: old text back") << "Пропан" << int(Qt::Key_Return) << false << "Метан" << 1;
    }
    void editEndsAsTheKeyAndTheOwnerSay() {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(bool, keep);
        QFETCH(QString, shown);
        QFETCH(int, questions);
        EditFixture f(keep);
        QVERIFY(f.grid.EditSubItem(0, 1));
        auto* editor = f.grid.ActiveEditor();
        QVERIFY(editor);
        QCOMPARE(editor->text(), QStringLiteral("Метан"));
        QCOMPARE(editor->selectedText(), QStringLiteral("Метан")); // typing replaces the whole text
        editor->insert(typed); // typing over the selection (QTest types Latin-1 only)
        QTest::keyClick(editor, Qt::Key(key));
        QCoreApplication::processEvents(); // the view ends an edit by a queued call
        QCOMPARE(f.grid.CellText(0, 1), shown);
        QCOMPARE(int(f.changes.size()), questions);
        if (questions)
            QCOMPARE(f.changes.front(), std::make_pair(0, 1));
        QCOMPARE(f.grid.CellText(1, 1), QStringLiteral("Этан"));
    }

    void ownerDecidesWhetherACellOpens() {
        CGridCtrl grid;
        grid.SetGrid(TwoRows());
        grid.SetEditable(true);
        QVERIFY(!grid.EditSubItem(0, 1)); // no answer means no
        grid.SetMayEditAnswer([](int, int subItem) { return subItem == 1; });
        QVERIFY(!grid.EditSubItem(0, 0));
        QVERIFY(!grid.EditSubItem(-1, 1));
        QVERIFY(!grid.EditSubItem(5, 1));
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QVERIFY(grid.EditSubItem(1, 1));
        QVERIFY(grid.ActiveEditor());
    }

    void doubleClickEditsOnlyAnEditableGrid_data() {
        QTest::addColumn<bool>("editable");
        QTest::newRow("editable") << true;
        QTest::newRow("read-only") << false;
    }
    void doubleClickEditsOnlyAnEditableGrid() {
        QFETCH(bool, editable);
        CGridCtrl grid;
        grid.SetGrid(TwoRows());
        grid.SetEditable(editable);
        grid.SetMayEditAnswer([](int, int) { return true; });
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QPoint cell = grid.visualRect(grid.model()->index(1, 1)).center();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell);
        QCOMPARE(grid.SelectedRows(), std::vector<int>{1});
        QCOMPARE(grid.ActiveEditor() != nullptr, editable);
        if (editable)
            QCOMPARE(grid.ActiveEditor()->Item(), 1);
    }

    void enterEndsTheEditWithoutClosingTheDialog() {
        QDialog dialog;
        auto* grid = new CGridCtrl(&dialog);
        auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
        ok->setDefault(true); // Enter anywhere else in the dialog would press it
        QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(grid);
        layout->addWidget(ok);
        grid->SetGrid(TwoRows());
        grid->SetEditable(true);
        grid->SetMayEditAnswer([](int, int) { return true; });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(grid->EditSubItem(1, 1));
        grid->ActiveEditor()->insert(QStringLiteral("Бутан"));
        QTest::keyClick(grid->ActiveEditor(), Qt::Key_Return);
        QCoreApplication::processEvents();
        QCOMPARE(grid->CellText(1, 1), QStringLiteral("Бутан"));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);
    }

    void rowsCarryTheirColoursAndTags() {
        CGridCtrl grid;
        GridModel model = TwoRows();
        model.rows[0].tag = 17;
        grid.SetGrid(model);
        const QAbstractItemModel* m = grid.model();
        // The default colour leaves the list's own colours (and the highlight while selected).
        QVERIFY(!m->index(0, 1).data(Qt::ForegroundRole).isValid());
        QVERIFY(!m->index(0, 1).data(Qt::BackgroundRole).isValid());
        QCOMPARE(m->index(1, 0).data(Qt::ForegroundRole).value<QBrush>().color(), QColor(Qt::red));
        QCOMPARE(m->index(1, 1).data(Qt::BackgroundRole).value<QBrush>().color(), QColor(Qt::blue));
        QCOMPARE(grid.RowTag(0), 17);
        QCOMPARE(grid.columnWidth(1), 200);
        grid.DeleteAllItems();
        QCOMPARE(grid.RowCount(), 0);
        QCOMPARE(m->columnCount(), 2);
    }

    // The row's own background shows until the row is selected; then the highlight replaces it.
    void selectedRowsAreDrawnInTheHighlightColours() {
        CGridCtrl grid;
        grid.SetGrid(TwoRows());
        grid.resize(400, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const auto pixelAt = [&grid](int row) {
            const QRect cell = grid.visualRect(grid.model()->index(row, 1));
            const QImage image = grid.viewport()->grab().toImage();
            return QColor(image.pixel(cell.right() - 4, cell.center().y()));
        };
        QCOMPARE(pixelAt(1), QColor(Qt::blue));
        QCOMPARE(pixelAt(0), grid.palette().color(QPalette::Base));
        grid.selectRow(1);
        const QColor selected = pixelAt(1);
        QVERIFY2(selected == grid.palette().color(QPalette::Active, QPalette::Highlight) ||
                     selected == grid.palette().color(QPalette::Inactive, QPalette::Highlight),
                 qPrintable(selected.name()));
    }

    void narrowCellsShowTheirWholeTextAsATip_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("tip");
        QTest::newRow("too narrow") << 20 << "Метан";
        QTest::newRow("wide enough") << 200 << "";
    }
    void narrowCellsShowTheirWholeTextAsATip() {
        QFETCH(int, width);
        QFETCH(QString, tip);
        CGridCtrl grid;
        grid.SetGrid(TwoRows());
        grid.setColumnWidth(1, width);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QPoint at = grid.visualRect(grid.model()->index(0, 1)).center();
        QHelpEvent help(QEvent::ToolTip, at, grid.viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(grid.viewport(), &help);
        QCOMPARE(QToolTip::isVisible() ? QToolTip::text() : QString(), tip);
        QToolTip::hideText();
    }

    // The table's widths are those of the design font: a larger font widens them in proportion, and no
    // column is ever narrower than its caption, whose whole text is also the header's tooltip.
    void columnsGrowWithTheFontAndNeverClipTheirCaption_data() {
        QTest::addColumn<double>("fontFactor");
        QTest::newRow("design font") << 1.0;
        QTest::newRow("1.5x font") << 1.5;
    }
    void columnsGrowWithTheFontAndNeverClipTheirCaption() {
        QFETCH(double, fontFactor);
        CGridCtrl grid;
        QFont font = QApplication::font();
        font.setPointSizeF(font.pointSizeF() * fontFactor);
        grid.setFont(font);
        GridModel table;
        table.columns = {
            {"№", 35}, {"Ан-1. Масс. доля, %", 60}, {"Время выхода (газ), мин", 40}, {"Имя", 200}};
        table.rows.push_back({{"1", "0.150", "1.234", "Метан"}});
        grid.SetGrid(table);
        const QFontMetrics metrics(font);
        for (int column = 0; column < 4; ++column) {
            const QString caption = QString::fromStdString(table.columns[std::size_t(column)].caption);
            QVERIFY2(grid.columnWidth(column) >= metrics.horizontalAdvance(caption) + 4, qPrintable(caption));
            QVERIFY2(grid.columnWidth(column) >=
                         int(table.columns[std::size_t(column)].width * (fontFactor - 0.05)),
                     qPrintable(caption));
            QCOMPARE(grid.model()->headerData(column, Qt::Horizontal, Qt::ToolTipRole).toString(), caption);
        }
        // The roomy column keeps its designed width, scaled: it is not shrunk to its caption.
        QVERIFY(grid.columnWidth(3) >= int(200 * (fontFactor - 0.05)));
    }

    void doubleClickOnAHeaderBorderFitsTheColumn() {
        CGridCtrl grid;
        GridModel table = TwoRows();
        table.rows[1].cells[1] = "Очень длинное имя компонента, которое не влезает";
        grid.SetGrid(table);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setColumnWidth(1, 30);
        emit grid.horizontalHeader()->sectionHandleDoubleClicked(1);
        QVERIFY(grid.columnWidth(1) >=
                grid.fontMetrics().horizontalAdvance(QString::fromStdString(table.rows[1].cells[1])));
    }

    void headerClicksAlternateTheDirectionAndSortNothing() {
        CGridCtrl grid;
        grid.SetGrid(TwoRows());
        QSignalSpy spy(&grid, &CGridCtrl::headerClicked);
        emit grid.horizontalHeader()->sectionClicked(1);
        emit grid.horizontalHeader()->sectionClicked(1);
        emit grid.horizontalHeader()->sectionClicked(0);
        QCOMPARE(spy.size(), 3);
        QCOMPARE(spy[0], (QVariantList{1, true}));
        QCOMPARE(spy[1], (QVariantList{1, false}));
        QCOMPARE(spy[2], (QVariantList{0, true}));
        QCOMPARE(grid.CellText(0, 1), QStringLiteral("Метан"));
    }
};

QTEST_MAIN(GridCtrlTest)
#include "grid_ctrl_test.moc"
