#include "app/talvex_application.h"

#include <clocale>

namespace talvex::gui {

TalvexApplication::TalvexApplication(int& argc, char** argv) : QApplication(argc, argv) {
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace talvex::gui
