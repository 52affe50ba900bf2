#include "odtexport/opener.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <mutex>
#include <thread>

extern char** environ;

namespace brisquel {
namespace {

std::mutex openerMutex;
BrisquelOpener installedOpener = nullptr;
void* installedContext = nullptr;

// Starts `xdg-open PATH` without a shell and without waiting: the desktop's viewer may stay open long
// after the report was written. A detached thread reaps the child so that no zombie is left.
void OpenWithXdgOpen(const char* path, void*) {
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return;
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    char program[] = "xdg-open";
    char* argv[] = {program, const_cast<char*>(path), nullptr};
    pid_t child = 0;
    const int started = posix_spawnp(&child, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0)
        return;
    std::thread([child] {
        int status = 0;
        while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

} // namespace

void OpenWrittenFile(const std::string& path) {
    BrisquelOpener opener = nullptr;
    void* context = nullptr;
    {
        std::lock_guard lock(openerMutex);
        opener = installedOpener;
        context = installedContext;
    }
    if (!opener)
        opener = OpenWithXdgOpen;
    try {
        opener(path.c_str(), context);
    } catch (...) {
        // The report is written; a viewer that cannot be started changes nothing about that.
    }
}

} // namespace brisquel

extern "C" BRISQUEL_API void BrisquelSetOpener(BrisquelOpener opener, void* context) {
    std::lock_guard lock(brisquel::openerMutex);
    brisquel::installedOpener = opener;
    brisquel::installedContext = context;
}
