#pragma once

#include <QApplication>

namespace talvex::gui {

// The desktop program's application object. Starting Qt sets the process locale from the environment
// (LANG=ru_RU.UTF-8 on the laboratory's desktops); the numeric category goes back to "C" right after, so
// that anything the C library formats or reads keeps the decimal point that the pages, the reports and the
// command line use. Texts keep the environment's locale. Qt's own texts are Russian like the program's
// (when Qt's translations are installed), and every window carries the program's icon.
class TalvexApplication : public QApplication {
public:
    TalvexApplication(int& argc, char** argv);
};

} // namespace talvex::gui
