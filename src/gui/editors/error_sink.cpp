#include "gui/editors/error_sink.h"

#include <QMessageBox>
#include <QMetaObject>

namespace talvex::gui {

ErrorSink ErrorBox(QWidget* parent) {
    return [parent](const QString& text) { QMessageBox::critical(parent, QStringLiteral("Ошибка"), text); };
}

void ShowRefusal(QObject* context, const ErrorSink& sink, const std::string& refusal) {
    if (refusal.empty() || !sink)
        return;
    QMetaObject::invokeMethod(
        context, [sink, text = QString::fromStdString(refusal)] { sink(text); }, Qt::QueuedConnection);
}

} // namespace talvex::gui
