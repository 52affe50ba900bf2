#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace talvex::gui {

// Where an editor shows an error the operator must see at once. The program shows a message box with
// the caption "Ошибка"; tests collect the texts instead.
using ErrorSink = std::function<void(const QString& text)>;
ErrorSink ErrorBox(QWidget* parent);

} // namespace talvex::gui
