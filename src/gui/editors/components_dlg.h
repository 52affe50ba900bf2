#pragma once

#include "core/components/component_grid.h"
#include "gui/browser/form_dialog.h"
#include "gui/editors/error_sink.h"

#include <functional>

class QPushButton;
class QRadioButton;

namespace talvex {
class Session;
}

namespace talvex::gui {

class CGridCtrl;

// The dialog "Компоненты": the session's component database in an editable grid, the degassing-gas or
// the degassed-condensate block at a time. Names, groups and numbers are edited in place; OK writes
// Comps.csv (its header line kept, the file replaced atomically) and reloads the database. Components
// are neither added nor deleted here: the norm files name them by key, which stays as the files give it.
// "Отмена" discards the edits. A number cell refuses text that does not start with a number and says why.
class CComponents : public CFormDialog {
    Q_OBJECT
public:
    // The session must outlive the dialog.
    CComponents(Session& session, QWidget* parent = nullptr);

    // Rereads the three database files (showing what cannot be read) and fills the grid. Run it before
    // the dialog is shown.
    void Load();

    ComponentBlock ShownBlock() const { return shownBlock_; }
    void SetShownBlock(ComponentBlock block);
    // True once the dialog has been opened: OK then always writes the file.
    bool Changed() const { return changed_; }

    void SetErrorSink(ErrorSink sink) { showError_ = std::move(sink); }

    CGridCtrl* Grid() const { return grid_; }
    QRadioButton* BlockButton(ComponentBlock block) const;

    // OK: saves and reloads; a failed save shows its error and leaves the dialog open.
    void accept() override;
    // "Отмена" (and Escape, and closing the window): the session's table goes back to what Load read.
    void reject() override;

private:
    void FillGrid();
    bool OnCellChanged(int row, int column);

    Session& session_;
    ComponentBlock shownBlock_ = ComponentBlock::Gas;
    bool changed_ = false;
    ComponentTable opened_; // the table as Load read it, for "Отмена"
    ErrorSink showError_;
    CGridCtrl* grid_ = nullptr;
    QRadioButton* gasButton_ = nullptr;
    QRadioButton* liquidButton_ = nullptr;
};

// The main window's hook for the component editor: opens it modally, keeping the shown block from one
// opening to the next; true when the operator closed it with OK.
std::function<bool(QWidget*)> ComponentEditorHook(Session& session);

} // namespace talvex::gui
