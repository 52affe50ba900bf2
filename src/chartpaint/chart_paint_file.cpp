// The library's entry points for programs without a window: the chart into a PNG or a PDF file. A
// program that has no Qt application gets one on the offscreen platform, kept for the process.
#include "chartpaint/chart_painter.h"

#include "core/controlchart/chart_paint_abi.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cstring>
#include <string>

using namespace talvex;
using namespace talvex::controlchart;

namespace {

constexpr double kPngPixelsPerUnit = 0.6; // 1440 x 780 pixels, about 150 dpi
constexpr int kPngQuality = 80;

void SetError(char* error, std::size_t size, const std::string& text) {
    if (!error || size == 0)
        return;
    const std::size_t n = std::min(size - 1, text.size());
    std::memcpy(error, text.data(), n);
    error[n] = '\0';
}

bool EnsureGuiApplication(std::string& why) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return true;
    if (QCoreApplication::instance()) {
        why = "программа уже запустила Qt без графики";
        return false;
    }
    static int argc = 3;
    static char name[] = "talvex-cli", option[] = "-platform", platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    static QGuiApplication* app = new QGuiApplication(argc, argv);
    return app != nullptr;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int talvex_chart_paint_version() {
    return kChartPaintAbiVersion;
}

extern "C" __attribute__((visibility("default"))) int talvex_chart_paint_file(const ChartLayout* layout,
                                                                              const char* format,
                                                                              const char* path, char* error,
                                                                              std::size_t errorSize) {
    std::string why;
    if (!layout || !format || !path) {
        SetError(error, errorSize, "нет карты или файла");
        return 1;
    }
    if (!EnsureGuiApplication(why)) {
        SetError(error, errorSize, why);
        return 1;
    }
    const QString file = QString::fromLocal8Bit(path);
    if (std::strcmp(format, "png") == 0) {
        QImage image(static_cast<int>(ChartLayout::kWidth * kPngPixelsPerUnit),
                     static_cast<int>(ChartLayout::kHeight * kPngPixelsPerUnit), QImage::Format_RGB32);
        image.setDotsPerMeterX(static_cast<int>(kPngPixelsPerUnit * 10000));
        image.setDotsPerMeterY(static_cast<int>(kPngPixelsPerUnit * 10000));
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            chartpaint::PaintChart(painter, *layout, QRectF(image.rect()));
        }
        // A lighter compression than the default: a tenth of the time for a slightly larger file.
        if (!image.save(file, "PNG", kPngQuality)) {
            SetError(error, errorSize, "файл PNG не записан");
            return 1;
        }
        return 0;
    }
    if (std::strcmp(format, "pdf") == 0) {
        QPdfWriter writer(file);
        writer.setPageSize(
            QPageSize(QSizeF(ChartLayout::kWidth / 10, ChartLayout::kHeight / 10), QPageSize::Millimeter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(300);
        writer.setTitle(QString::fromUtf8(layout->title.c_str()));
        QPainter painter;
        if (!painter.begin(&writer)) {
            SetError(error, errorSize, "файл PDF не записан");
            return 1;
        }
        chartpaint::PaintChart(painter, *layout, QRectF(0, 0, writer.width(), writer.height()));
        if (!painter.end()) {
            SetError(error, errorSize, "файл PDF не записан");
            return 1;
        }
        return 0;
    }
    SetError(error, errorSize, std::string("неизвестный формат ") + format);
    return 1;
}
