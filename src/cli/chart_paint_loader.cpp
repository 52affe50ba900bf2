#include "cli/chart_paint_loader.h"

#include "core/controlchart/chart_paint_abi.h"

#include <dlfcn.h>

#include <system_error>

namespace talvex::cli {

using namespace controlchart;

std::filesystem::path DefaultChartPaintLibrary() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return kChartPaintLibrary;
    const std::filesystem::path dir = exe.parent_path();
    const std::filesystem::path beside = dir / kChartPaintLibrary;
    if (std::filesystem::exists(beside, ec))
        return beside;
    return dir / ".." / "lib" / "talvex" / kChartPaintLibrary;
}

bool WriteChartImage(const std::filesystem::path& library, const controlchart::ChartLayout& layout,
                     ImageFormat format, const std::filesystem::path& path, std::string& error) {
    // Loaded once and kept: Qt's application object inside must outlive every drawing.
    void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = "нет библиотеки рисования карт " + library.string() +
                " (PNG и PDF недоступны; SVG и CSV пишутся без нее)" + (why ? std::string(": ") + why : "");
        return false;
    }
    auto version = reinterpret_cast<int (*)()>(dlsym(handle, kChartPaintVersionSymbol));
    auto paint = reinterpret_cast<ChartPaintFileFn>(dlsym(handle, kChartPaintFileSymbol));
    if (!version || !paint || version() != kChartPaintAbiVersion) {
        error = "библиотека рисования карт " + library.string() + " другой версии";
        return false;
    }
    char reason[512] = {};
    if (paint(&layout, format == ImageFormat::Png ? "png" : "pdf", path.c_str(), reason, sizeof reason) !=
        0) {
        error = reason;
        return false;
    }
    return true;
}

} // namespace talvex::cli
