#pragma once

#include <QString>

#include <functional>
#include <string>

class QObject;
class QWidget;

namespace talvex::gui {

// Where an editor shows an error the operator must see at once. The program shows a message box with
// the caption "Ошибка"; tests collect the texts instead.
using ErrorSink = std::function<void(const QString& text)>;
ErrorSink ErrorBox(QWidget* parent);

// Tells the operator why a typed cell was refused (`refusal` from the core; nothing when empty). The
// message comes once the grid has ended its edit, so that no message box opens while the edit box is
// still being closed.
void ShowRefusal(QObject* context, const ErrorSink& sink, const std::string& refusal);

} // namespace talvex::gui
