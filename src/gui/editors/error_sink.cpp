#include "editors/error_sink.h"

#include <QMessageBox>

namespace talvex::gui {

ErrorSink ErrorBox(QWidget* parent) {
    return [parent](const QString& text) { QMessageBox::critical(parent, QStringLiteral("Ошибка"), text); };
}

} // namespace talvex::gui
