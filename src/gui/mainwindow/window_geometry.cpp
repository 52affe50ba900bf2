#include "gui/mainwindow/window_geometry.h"

#include "core/common/settings_store.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <climits>

namespace talvex::gui {
namespace {

// "a,b|c,d,e": each splitter's sizes.
std::string SplitterText(const std::vector<std::vector<int>>& splitters) {
    QStringList all;
    for (const std::vector<int>& sizes : splitters) {
        QStringList one;
        for (int size : sizes)
            one << QString::number(size);
        all << one.join(QLatin1Char(','));
    }
    return all.join(QLatin1Char('|')).toStdString();
}

std::vector<std::vector<int>> ParseSplitters(const std::string& text) {
    std::vector<std::vector<int>> splitters;
    if (text.empty())
        return splitters;
    for (const QString& one : QString::fromStdString(text).split(QLatin1Char('|'))) {
        std::vector<int> sizes;
        for (const QString& part : one.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int size = part.toInt(&ok);
            if (!ok || size < 0) {
                sizes.clear(); // a damaged entry leaves that splitter as laid out
                break;
            }
            sizes.push_back(size);
        }
        splitters.push_back(std::move(sizes));
    }
    return splitters;
}

} // namespace

WindowGeometry LoadWindowGeometry(const SettingsStore& profile) {
    WindowGeometry g;
    const int x = profile.ReadInt(kWindowSection, "x", INT_MIN);
    const int y = profile.ReadInt(kWindowSection, "y", INT_MIN);
    if (x != INT_MIN && y != INT_MIN)
        g.position = QPoint(x, y);
    const QSize size(profile.ReadInt(kWindowSection, "width", 0),
                     profile.ReadInt(kWindowSection, "height", 0));
    if (size.width() > 0 && size.height() > 0)
        g.size = size;
    g.maximized = profile.ReadInt(kWindowSection, "maximized", 0) != 0;
    g.splitters = ParseSplitters(profile.ReadString(kWindowSection, "splitters", ""));
    return g;
}

void SaveWindowGeometry(SettingsStore& profile, const WindowGeometry& g) {
    if (g.position) {
        profile.WriteInt(kWindowSection, "x", g.position->x());
        profile.WriteInt(kWindowSection, "y", g.position->y());
    }
    if (g.size.isValid()) {
        profile.WriteInt(kWindowSection, "width", g.size.width());
        profile.WriteInt(kWindowSection, "height", g.size.height());
    }
    profile.WriteInt(kWindowSection, "maximized", g.maximized ? 1 : 0);
    profile.WriteString(kWindowSection, "splitters", SplitterText(g.splitters));
}

QSize MinimumWindowSize(const QSize& layout, const QRect& available) {
    if (available.isEmpty())
        return layout;
    return {layout.width(), std::min(layout.height(), available.height())};
}

QSize OpeningWindowSize(const QSize& layout, const QSize& remembered, const QRect& available) {
    const QSize least = MinimumWindowSize(layout, available);
    QSize size = remembered.isValid() && !remembered.isEmpty() ? remembered : layout;
    if (!available.isEmpty())
        size = size.boundedTo(available.size());
    return size.expandedTo(least);
}

QPoint OpeningWindowPosition(const QPoint& remembered, const QSize& frame, const QRect& available) {
    if (available.isEmpty())
        return remembered;
    // The window keeps its place when it is on the screen, and is moved in as little as needed otherwise;
    // a window larger than the screen keeps its top-left corner on it.
    const int x = std::clamp(remembered.x(), available.left(),
                             std::max(available.left(), available.right() + 1 - frame.width()));
    const int y = std::clamp(remembered.y(), available.top(),
                             std::max(available.top(), available.bottom() + 1 - frame.height()));
    return {x, y};
}

} // namespace talvex::gui
