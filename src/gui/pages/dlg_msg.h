#pragma once

#include <QWidget>

class QCheckBox;
class QPlainTextEdit;

namespace talvex {
class MessageLog;
}

namespace talvex::gui {

// The page "Системные сообщения": the message log's text with three check boxes that hide errors,
// warnings or information. The log composes the text; the page only shows it.
class CDlgMSG : public QWidget {
    Q_OBJECT
public:
    explicit CDlgMSG(MessageLog& log, QWidget* parent = nullptr);

    // Shows the text the log composed last (after every recalculation).
    void Refresh();

    // The text shown, with the log's CR LF line ends.
    QString Text() const;

    QCheckBox* ErrorsBox() const { return errors_; }
    QCheckBox* WarningsBox() const { return warnings_; }
    QCheckBox* InfoBox() const { return info_; }

private:
    void OnFilterChanged();

    MessageLog& log_;
    QCheckBox* errors_;
    QCheckBox* warnings_;
    QCheckBox* info_;
    QPlainTextEdit* text_;
};

} // namespace talvex::gui
