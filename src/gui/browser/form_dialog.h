#pragma once

#include <QDialog>
#include <QRect>
#include <QSize>

#include <map>

namespace talvex::gui {

// How a control follows one axis of the window's size change.
enum class ResizeAction {
    Fixed = 0,        // stays where it was
    Move = 1,         // moves by the full change
    Grow = 2,         // grows by the full change
    MoveShare = 3,    // moves by change × its initial offset / the initial client extent
    MoveGrowShare = 4 // moves so, and grows by change × its initial extent / the initial client extent
};

// The new rectangle of a control that was at `initial` in a window first sized `initialClient` and now
// `delta` larger (each axis by its own rule).
QRect ResizedRect(const QRect& initial, const QSize& initialClient, const QSize& delta,
                  ResizeAction horizontal, ResizeAction vertical);

// A dialog whose controls are laid out at one initial size and then follow the window's size by their
// rules. The initial size is also the smallest the window can be made.
class CFormDialog : public QDialog {
    Q_OBJECT
public:
    explicit CFormDialog(QWidget* parent = nullptr);

protected:
    // Call once the controls stand at their initial places (of the design font): with a larger font every
    // control's rectangle and the size are scaled by FontScale first. The window takes the size as its
    // initial and minimum size, and every control registered afterwards keeps its current rectangle as
    // its initial one.
    void SetInitialSize(const QSize& size);
    void SetResizeRule(QWidget* control, ResizeAction horizontal, ResizeAction vertical);

    void resizeEvent(QResizeEvent* event) override;

private:
    struct Rule {
        QRect initial;
        ResizeAction horizontal;
        ResizeAction vertical;
    };
    QSize initialSize_;
    std::map<QWidget*, Rule> rules_;
};

} // namespace talvex::gui
