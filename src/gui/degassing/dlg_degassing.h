#pragma once

#include "core/nlh/degassing.h"

#include <QWidget>

#include <array>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimer;

namespace talvex {
class Session;
}

namespace talvex::gui {

// The degassing page ("Дегазация") over the session's DegassingPage. A typed value is taken one second
// after the last keystroke, rewritten as the program reads it, and every completed edit or method change
// asks for a recalculation of the whole session through recalculationRequested(), emitted as a queued
// call so that it runs after the page's own handler. One field is pending at a time: typing into another
// field or choosing a method takes the pending field at once.
class CDlgDegassing : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDefaultInputDelayMs = 1000;

    // The page shows and edits session.Degassing(); the session must outlive the page.
    explicit CDlgDegassing(talvex::Session& session, QWidget* parent = nullptr,
                           int inputDelayMs = kDefaultInputDelayMs);

    // Recomputes the results, shows them with the stored number of decimals and requests the
    // recalculation. The main window calls it after the settings dialog was closed with OK.
    void RecalcDegassing();
    // Shows the page's values and method as the session holds them, without a recalculation (after a
    // saved session was put on the page).
    void ShowValues();

    int inputDelay() const;
    void setInputDelay(int ms);

    QLineEdit* fieldEdit(talvex::DegassingField field) const;
    QLabel* fieldLabel(talvex::DegassingField field) const;
    QRadioButton* methodButton(int method) const;
    // The field whose text waits to be taken, or none.
    bool hasPendingField() const { return pending_ >= 0; }

public slots:
    // Takes the pending field's text now (the input timer calls it when it fires).
    void takePendingEdit();

signals:
    // Connect to Session::Recalculate and the refresh of the pages.
    void recalculationRequested();

private:
    void OnFieldChanged(int index);
    void OnMethodClicked(int method);
    void CompleteEdit();
    void ShowPage();
    int Decimals() const;

    talvex::Session& session_;
    std::array<QLineEdit*, talvex::kDegassingFieldCount> edits_{};
    std::array<QLabel*, talvex::kDegassingFieldCount> labels_{};
    QButtonGroup* methods_ = nullptr;
    QTimer* timer_ = nullptr;
    int pending_ = -1;        // index of the pending input field, -1 when none
    bool ownRewrite_ = false; // the next change notification is the page's own rewrite
};

} // namespace talvex::gui
