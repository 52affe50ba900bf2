#include "gui/app/talvex_application.h"

#include "gui/app/qt_translations.h"
#include "gui/mainwindow/app_icon.h"

#include <clocale>

namespace talvex::gui {

TalvexApplication::TalvexApplication(int& argc, char** argv) : QApplication(argc, argv) {
    std::setlocale(LC_NUMERIC, "C");
    InstallQtTranslations(*this);
    // Every window without an icon of its own, message boxes and file dialogs included, shows this one.
    setWindowIcon(AppIcon());
}

} // namespace talvex::gui
