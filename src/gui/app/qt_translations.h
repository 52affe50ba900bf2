#pragma once

#include <QString>

class QCoreApplication;

namespace talvex::gui {

// Qt's own texts (the file dialogs, the standard buttons, the context menu of a line edit) in the
// program's language, Russian, from Qt's translations (Debian's qt6-translations-l10n). Returns false,
// and Qt stays English, when the translation is not installed.
bool InstallQtTranslations(QCoreApplication& app);

// The file the translations come from: qtbase_ru.qm in Qt's translations folder.
QString QtTranslationFile();

} // namespace talvex::gui
