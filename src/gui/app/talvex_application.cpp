#include "app/talvex_application.h"

#include "app/qt_translations.h"

#include <clocale>

namespace talvex::gui {

TalvexApplication::TalvexApplication(int& argc, char** argv) : QApplication(argc, argv) {
    std::setlocale(LC_NUMERIC, "C");
    InstallQtTranslations(*this);
}

} // namespace talvex::gui
