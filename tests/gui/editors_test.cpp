#include "core/app/session.h"
#include "core/common/not_set.h"
#include "core/common/settings_store.h"
#include "core/common/text_codec.h"
#include "gui/editors/components_dlg.h"
#include "gui/editors/comps_time_dlg.h"
#include "gui/grid/grid_ctrl.h"
#include "gui_test_support.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <sys/stat.h>

#include <fstream>
#include <iterator>

using talvex::ComponentBlock;
using talvex::MemorySettingsStore;
using talvex::NotSet;
using talvex::Session;
using talvex::gui::CComponents;
using talvex::gui::CCompsTime;
using talvex::gui::CGridCtrl;

namespace fs = std::filesystem;

namespace {

std::string Bytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// The data file as UTF-8 lines without their CR LF.
QStringList Lines(const fs::path& file) {
    QStringList lines =
        QString::fromStdString(talvex::Cp1251ToUtf8(Bytes(file))).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.back().isEmpty())
        lines.removeLast();
    return lines;
}

// The operator double-clicks into a cell, types over its text and presses Enter.
void TypeInto(CGridCtrl* grid, int row, int column, const QString& text) {
    QVERIFY(grid->EditSubItem(row, column));
    QVERIFY(grid->ActiveEditor());
    grid->ActiveEditor()->setText(text);
    QTest::keyClick(grid->ActiveEditor(), Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the closed edit box goes
    QVERIFY(!grid->ActiveEditor());
}

// Key presses for the text; QTest::keyClicks knows only Latin-1 characters, so the Cyrillic ones go as
// key events carrying their text, as a keyboard with a Russian layout sends them.
void KeyClicks(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The operator clicks the row, double-clicks the cell, types over its text key by key and presses Enter.
void TypeWithKeys(CGridCtrl* grid, int row, int column, const QString& text) {
    grid->scrollTo(grid->model()->index(row, column));
    const QPoint cell = grid->visualRect(grid->model()->index(row, column)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QVERIFY(grid->ActiveEditor());
    QTest::keyClick(grid->ActiveEditor(), Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(grid->ActiveEditor(), Qt::Key_Delete);
    else
        KeyClicks(grid->ActiveEditor(), text);
    QTest::keyClick(grid->ActiveEditor(), Qt::Key_Return);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the closed edit box goes
    QVERIFY(!grid->ActiveEditor());
}

QPushButton* Button(QWidget& dialog, const QString& text) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    qFatal("no button %s", qPrintable(text));
}

QStringList Column(const CGridCtrl* grid, int column) {
    QStringList cells;
    for (int row = 0; row < grid->RowCount(); ++row)
        cells << grid->CellText(row, column);
    return cells;
}

} // namespace

class EditorsTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        data_ = talvex::guitest::CopyShippedData(dir_->path().toStdString());
        profile_ = MemorySettingsStore();
        session_ = std::make_unique<Session>(profile_, data_);
        QVERIFY(session_->LoadComponents().empty());
        errors_.clear();
    }
    void cleanup() {
        fs::permissions(data_, fs::perms::owner_all, fs::perm_options::add);
        session_.reset();
        dir_.reset();
    }

    // --- the component editor ---

    void componentEditsAreNormalisedAndSavedOnOk() {
        CComponents dialog(*session_);
        Show(dialog);
        CGridCtrl* grid = dialog.Grid();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Компоненты"));
        QCOMPARE(grid->Grid().columns.size(), std::size_t(11));
        const QString key = grid->CellText(0, 1);
        TypeInto(grid, 0, 4, QStringLiteral("12,5"));  // ЧАУ
        TypeInto(grid, 0, 9, QStringLiteral("---"));   // К-ДТП
        TypeInto(grid, 0, 7, QStringLiteral("0,125")); // Плотность
        QCOMPARE(grid->CellText(0, 4), QStringLiteral("12.5"));
        QCOMPARE(grid->CellText(0, 9), QStringLiteral("---"));
        dialog.BlockButton(ComponentBlock::Liquid)->setChecked(true);
        QCOMPARE(grid->Grid().columns.size(), std::size_t(9));
        QCOMPARE(grid->Grid().columns[7].caption, std::string("К-ПИД"));
        TypeInto(grid, 0, 7, QStringLiteral("2,5"));    // К-ПИД of the condensate
        TypeInto(grid, 0, 8, QStringLiteral("1.25"));   // Атест. знач, ж
        TypeInto(grid, 0, 3, QStringLiteral("F45-60")); // Группа of the condensate
        const QStringList before = Lines(data_ / "Comps.csv");

        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(errors_.isEmpty());
        const QStringList after = Lines(data_ / "Comps.csv");
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after.front(), before.front()); // the header line is kept
        const QStringList cells = after[1].split(';');
        QCOMPARE(cells[1], key);
        QCOMPARE(cells[4], QStringLiteral("12.500000"));
        QCOMPARE(cells[7], QStringLiteral("0.125000"));
        QCOMPARE(cells[9], QString()); // "---" leaves the cell empty
        QCOMPARE(cells[11], QStringLiteral("F45-60"));
        QCOMPARE(cells[15], QStringLiteral("2.500000"));
        QCOMPARE(cells[16], QStringLiteral("1.250000"));
        // The session uses what was saved: the table was reloaded from the file.
        const talvex::ComponentRecord& r = session_->Components().records[0];
        QCOMPARE(r.gas.carbonNumber, 12.5);
        QCOMPARE(r.gas.tcdFactor, NotSet);
        QCOMPARE(r.liquid.fidFactor, 2.5);
        QCOMPARE(r.liquid.carbonNumber, 0.0);
        QVERIFY(!dialog.Changed());
        // ... and so does the program at its next start.
        Session restarted(profile_, data_);
        QVERIFY(restarted.LoadComponents().empty());
        QCOMPARE(restarted.Components().records[0].liquid.certifiedValue, 1.25);
    }

    void rowNumberAndKeyCannotBeEdited() {
        CComponents dialog(*session_);
        Show(dialog);
        QVERIFY(!dialog.Grid()->EditSubItem(0, 0));
        QVERIFY(!dialog.Grid()->EditSubItem(0, 1));
        QVERIFY(dialog.Grid()->EditSubItem(0, 2));
    }

    void okWithoutEditsRewritesInTheProgramsNumberFormat() {
        QStringList lines = Lines(data_ / "Comps.csv");
        QVERIFY(lines[1].contains(QStringLiteral(";0.000000;-268.930000;")));
        lines[1].replace(QStringLiteral(";0.000000;-268.930000;"), QStringLiteral(";0;-268.93;"));
        WriteBytes(data_ / "Comps.csv", talvex::Utf8ToCp1251((lines.join("\r\n") + "\r\n").toStdString()));
        CComponents dialog(*session_);
        Show(dialog);
        dialog.accept();
        QVERIFY(Lines(data_ / "Comps.csv")[1].contains(QStringLiteral(";0.000000;-268.930000;")));
    }

    void cancelLeavesTheFile() {
        const std::string before = Bytes(data_ / "Comps.csv");
        CComponents dialog(*session_);
        Show(dialog);
        TypeInto(dialog.Grid(), 1, 2, QStringLiteral("Водород-2"));
        dialog.reject();
        QCOMPARE(Bytes(data_ / "Comps.csv"), before);
    }

    // "Отмена" (or Escape) puts the session's table back as the files have it, so that no later
    // recalculation uses edits that Comps.csv does not hold.
    void cancelDiscardsTheEditsInMemory_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Отмена") << false;
        QTest::newRow("Escape") << true;
    }
    void cancelDiscardsTheEditsInMemory() {
        QFETCH(bool, escape);
        const std::vector<talvex::ComponentRecord> before = session_->Components().records;
        CComponents dialog(*session_);
        Show(dialog);
        TypeWithKeys(dialog.Grid(), 0, 4, QStringLiteral("12,5"));      // ЧАУ
        TypeWithKeys(dialog.Grid(), 1, 2, QStringLiteral("Водород-2")); // Имя компонента
        dialog.BlockButton(ComponentBlock::Liquid)->setChecked(true);
        TypeWithKeys(dialog.Grid(), 0, 4, QStringLiteral("7")); // ЧАУ of the condensate
        QCOMPARE(session_->Components().records[0].gas.carbonNumber, 12.5);
        if (escape)
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else
            QTest::mouseClick(Button(dialog, QStringLiteral("Отмена")), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
        const auto& after = session_->Components().records;
        QCOMPARE(after.size(), before.size());
        QCOMPARE(after[0].gas.carbonNumber, before[0].gas.carbonNumber);
        QCOMPARE(after[1].displayName, before[1].displayName);
        QCOMPARE(after[0].liquid.carbonNumber, before[0].liquid.carbonNumber);
    }

    // Text without a number at its start is refused in every number cell: the cell keeps its value, the
    // operator is told why, and OK writes the old value. "---", empty and "12,5" are still taken.
    void componentNumberCellsRefuseText() {
        CComponents dialog(*session_);
        Show(dialog);
        CGridCtrl* grid = dialog.Grid();
        QCOMPARE(grid->CellText(0, 6), QStringLiteral("4.003"));
        TypeWithKeys(grid, 0, 6, QStringLiteral("abc")); // ММ
        QTRY_COMPARE(errors_.size(), 1);
        QVERIFY(errors_.front().contains(QStringLiteral("\"abc\" не число")));
        QCOMPARE(grid->CellText(0, 6), QStringLiteral("4.003"));
        QCOMPARE(session_->Components().records[0].gas.molarMass, 4.003);
        TypeWithKeys(grid, 0, 4, QStringLiteral("12,5")); // ЧАУ
        TypeWithKeys(grid, 0, 5, QStringLiteral("---"));  // Т кип
        TypeWithKeys(grid, 0, 9, QString());              // К-ДТП
        QCOMPARE(grid->CellText(0, 4), QStringLiteral("12.5"));
        QCOMPARE(grid->CellText(0, 5), QStringLiteral("---"));
        QCOMPARE(grid->CellText(0, 9), QString());
        QCOMPARE(errors_.size(), 1);
        QTest::mouseClick(Button(dialog, QStringLiteral("ОК")), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const QStringList cells = Lines(data_ / "Comps.csv")[1].split(';');
        QCOMPARE(cells[4], QStringLiteral("12.500000"));
        QCOMPARE(cells[5], QString());
        QCOMPARE(cells[6], QStringLiteral("4.003000")); // not 0
        QCOMPARE(cells[9], QString());
        QCOMPARE(session_->Components().records[0].gas.molarMass, 4.003);
    }

    void failedComponentSaveKeepsTheDialogOpen() {
        const std::string before = Bytes(data_ / "Comps.csv");
        QCOMPARE(::chmod((data_ / "Comps.csv").c_str(), 0444), 0);
        CComponents dialog(*session_);
        Show(dialog);
        TypeInto(dialog.Grid(), 0, 4, QStringLiteral("3"));
        dialog.accept();
        QCOMPARE(errors_.size(), 1);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.result() != int(QDialog::Accepted));
        QCOMPARE(Bytes(data_ / "Comps.csv"), before);
        QCOMPARE(dialog.Grid()->CellText(0, 4), QStringLiteral("3")); // the edit is still there to retry
    }

    void hookKeepsTheShownBlockBetweenOpenings() {
        const auto hook = talvex::gui::ComponentEditorHook(*session_);
        ComponentBlock seen = ComponentBlock::Gas;
        QTimer::singleShot(0, [] {
            auto* d = qobject_cast<CComponents*>(QApplication::activeModalWidget());
            QVERIFY(d);
            d->BlockButton(ComponentBlock::Liquid)->setChecked(true);
            d->reject();
        });
        QVERIFY(!hook(nullptr));
        QTimer::singleShot(0, [&seen] {
            auto* d = qobject_cast<CComponents*>(QApplication::activeModalWidget());
            QVERIFY(d);
            seen = d->ShownBlock();
            QCOMPARE(d->Grid()->Grid().columns.size(), std::size_t(9));
            d->accept();
        });
        QVERIFY(hook(nullptr));
        QCOMPARE(seen, ComponentBlock::Liquid);
    }

    // --- the retention-time editor ---

    void timeEditsAreNormalisedSortedAndSaved() {
        CCompsTime dialog(*session_);
        QVERIFY(LoadTimes(dialog));
        CGridCtrl* grid = dialog.Grid();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Времена выхода н-Парафинов"));
        QCOMPARE(grid->CellText(0, 1), QStringLiteral("н-Пентан"));
        QCOMPARE(grid->CellText(0, 2), QStringLiteral("5.0000"));
        QVERIFY(!grid->EditSubItem(0, 0));
        TypeInto(grid, 0, 2, QStringLiteral("12,5")); // н-Пентан now after н-Гексан (10.227)
        TypeInto(grid, 1, 3, QStringLiteral("---"));  // н-Гексан loses its condensate time
        QCOMPARE(grid->CellText(0, 2), QStringLiteral("12.5"));
        QCOMPARE(grid->CellText(1, 3), QStringLiteral("---"));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        // Sorted by gas time, records without one first: н-Гексан (10.227) now comes before н-Пентан.
        const QStringList lines = Lines(data_ / "CompsTime.csv");
        const auto hexane = lines.indexOf(QStringLiteral("н-Гексан;10.2270;"));
        QVERIFY(hexane > 1);
        QVERIFY(!lines[1].split(';')[0].isEmpty() && lines[1].split(';')[1].isEmpty());
        QCOMPARE(lines[hexane + 1], QStringLiteral("н-Пентан;12.5000;3.5000"));
        QCOMPARE(Column(grid, 1).mid(hexane - 1, 2), (QStringList{"н-Гексан", "н-Пентан"})); // shown sorted
    }

    void addedRecordsAreDeletedByTheirIds_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("button") << false;
        QTest::newRow("Delete key") << true;
    }
    void addedRecordsAreDeletedByTheirIds() {
        QFETCH(bool, byKey);
        CCompsTime dialog(*session_);
        QVERIFY(LoadTimes(dialog));
        CGridCtrl* grid = dialog.Grid();
        const int loaded = grid->RowCount();
        dialog.AddRecord();
        dialog.AddRecord();
        QCOMPARE(grid->RowCount(), loaded + 2);
        QCOMPARE(grid->CellText(loaded, 1), QStringLiteral("Задайте имя компонента!"));
        QCOMPARE(grid->CellText(loaded, 2), QStringLiteral("---"));
        TypeInto(grid, loaded + 1, 1, QStringLiteral("н-Тридекан"));
        TypeInto(grid, loaded, 1, QStringLiteral("первый"));
        grid->selectRow(loaded);
        if (byKey)
            QTest::keyClick(grid, Qt::Key_Delete);
        else
            dialog.DeleteSelected();
        QCOMPARE(grid->RowCount(), loaded + 1);
        QCOMPARE(grid->CellText(loaded, 1), QStringLiteral("н-Тридекан"));
        QCOMPARE(grid->CellText(loaded, 0), QString::number(loaded + 1)); // renumbered
        QCOMPARE(dialog.Table().Records().back().rowId, loaded + 1);      // the id stays
        // A second deletion of the same row number now removes the other record.
        grid->selectRow(loaded);
        dialog.DeleteSelected();
        QCOMPARE(grid->RowCount(), loaded);
        QVERIFY(dialog.Table().Modified());
    }

    void okWithoutEditsDoesNotWriteTheFile() {
        // A hand-made file the program would write differently.
        std::string bytes = Bytes(data_ / "CompsTime.csv");
        const std::size_t at = bytes.find(";5.0000;");
        QVERIFY(at != std::string::npos);
        bytes.replace(at, 8, ";05.0;");
        WriteBytes(data_ / "CompsTime.csv", bytes);
        CCompsTime dialog(*session_);
        QVERIFY(LoadTimes(dialog));
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Bytes(data_ / "CompsTime.csv"), bytes);
    }

    void cancelKeepsTheFile() {
        const std::string before = Bytes(data_ / "CompsTime.csv");
        CCompsTime dialog(*session_);
        QVERIFY(LoadTimes(dialog));
        TypeInto(dialog.Grid(), 0, 2, QStringLiteral("1"));
        dialog.AddRecord();
        dialog.reject();
        QCOMPARE(Bytes(data_ / "CompsTime.csv"), before);
    }

    // A time cell refuses text without a number at its start; the edit counts as none, so OK leaves the
    // file alone.
    void timeCellsRefuseText() {
        const std::string before = Bytes(data_ / "CompsTime.csv");
        CCompsTime dialog(*session_);
        QVERIFY(LoadTimes(dialog));
        CGridCtrl* grid = dialog.Grid();
        QCOMPARE(grid->CellText(0, 2), QStringLiteral("5.0000"));
        TypeWithKeys(grid, 0, 2, QStringLiteral("мин"));
        TypeWithKeys(grid, 0, 3, QStringLiteral("x5"));
        QTRY_COMPARE(errors_.size(), 2);
        QVERIFY(errors_[0].contains(QStringLiteral("\"мин\" не число")));
        QVERIFY(errors_[1].contains(QStringLiteral("\"x5\" не число")));
        QCOMPARE(grid->CellText(0, 2), QStringLiteral("5.0000"));
        QCOMPARE(dialog.Table().Records()[0].gasTime, 5.0);
        QVERIFY(!dialog.Table().Modified());
        QTest::mouseClick(Button(dialog, QStringLiteral("ОК")), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(Bytes(data_ / "CompsTime.csv"), before);
    }

    void failedTimeSaveKeepsTheDialogOpenWithTheError() {
        const std::string before = Bytes(data_ / "CompsTime.csv");
        QCOMPARE(::chmod((data_ / "CompsTime.csv").c_str(), 0444), 0);
        CCompsTime dialog(*session_);
        QVERIFY(LoadTimes(dialog));
        TypeInto(dialog.Grid(), 0, 2, QStringLiteral("99"));
        dialog.accept();
        QCOMPARE(errors_.size(), 1);
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.result() != int(QDialog::Accepted));
        QCOMPARE(Bytes(data_ / "CompsTime.csv"), before);
        // The records stay, sorted: н-Пентан with 99 minutes went to the end.
        QCOMPARE(dialog.Grid()->CellText(dialog.Grid()->RowCount() - 1, 1), QStringLiteral("н-Пентан"));
        QVERIFY(dialog.Table().Modified());
    }

    void missingTimeFileIsReportedAtOpening() {
        fs::remove(data_ / "CompsTime.csv");
        CCompsTime dialog(*session_);
        dialog.SetErrorSink([this](const QString& text) { errors_ << text; });
        QVERIFY(!dialog.Load());
        QCOMPARE(errors_.size(), 1);
        QVERIFY(errors_.front().contains(QStringLiteral("не найден")));
        QCOMPARE(dialog.Grid()->RowCount(), 0);
    }

    void unknownNamesAreReportedAtTheLoadAfterOk() {
        CCompsTime dialog(*session_);
        QVERIFY(LoadTimes(dialog));
        session_->Log().Clear();
        TypeInto(dialog.Grid(), 0, 1, QStringLiteral("н-Неизвестан"));
        dialog.accept();
        const auto texts = session_->Log().Texts(talvex::kMsgError);
        QCOMPARE(texts.size(), std::size_t(1));
        QCOMPARE(texts.front(), std::string("Компонент \"н-Неизвестан\" таблицы времен выходов н-Парафинов "
                                            "не найден в базовой таблице."));
    }

private:
    void Show(CComponents& dialog) {
        dialog.SetErrorSink([this](const QString& text) { errors_ << text; });
        dialog.Load();
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    }
    bool LoadTimes(CCompsTime& dialog) {
        dialog.SetErrorSink([this](const QString& text) { errors_ << text; });
        const bool loaded = dialog.Load();
        dialog.show();
        return loaded && QTest::qWaitForWindowExposed(&dialog);
    }

    talvex::guitest::IsolatedProfile isolated_;
    std::unique_ptr<QTemporaryDir> dir_;
    fs::path data_;
    MemorySettingsStore profile_;
    std::unique_ptr<Session> session_;
    QStringList errors_;
};

QTEST_MAIN(EditorsTest)
#include "editors_test.moc"
