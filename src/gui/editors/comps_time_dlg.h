#pragma once

#include "core/components/retention_time_table.h"
#include "gui/browser/form_dialog.h"
#include "gui/editors/error_sink.h"

class QPushButton;

namespace talvex {
class Session;
}

namespace talvex::gui {

class CGridCtrl;

// The dialog "Времена выхода н-Парафинов": the retention times of CompsTime.csv in an editable grid, with
// adding and deleting records (the button or the Delete key). OK sorts the records by gas time and
// saves them when anything was changed; a failed save shows its error and keeps the dialog open. A time
// cell refuses text that does not start with a number and says why.
class CCompsTime : public CFormDialog {
    Q_OBJECT
public:
    // The session (its data folder, component database and log) must outlive the dialog.
    CCompsTime(Session& session, QWidget* parent = nullptr);

    // Reads CompsTime.csv and fills the grid; false, after showing why, when the file cannot be read.
    bool Load();

    const RetentionTimeTable& Table() const { return table_; }
    void SetErrorSink(ErrorSink sink) { showError_ = std::move(sink); }

    // "Добавить компонент": a new record at the end, its row made visible.
    void AddRecord();
    // "Удалить компонент(ы)": removes the records of the selected rows.
    void DeleteSelected();

    CGridCtrl* Grid() const { return grid_; }

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillGrid();
    bool OnCellChanged(int row, int column);

    Session& session_;
    RetentionTimeTable table_;
    ErrorSink showError_;
    CGridCtrl* grid_ = nullptr;
};

// Runs the retention-time editor modally; true when the operator closed it with OK.
bool RunRetentionTimeEditor(Session& session, QWidget* parent);

} // namespace talvex::gui
