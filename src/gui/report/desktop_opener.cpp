#include "gui/report/desktop_opener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

constexpr int kQueryTimeLimitMs = 10000;

} // namespace

bool DesktopHasOdtViewer() {
    const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (xdgMime.isEmpty())
        return true;
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                          QStringLiteral("application/vnd.oasis.opendocument.text")});
    if (!query.waitForFinished(kQueryTimeLimitMs)) {
        query.kill();
        query.waitForFinished();
        return true;
    }
    // An empty answer: no program is associated with ODT files.
    return !query.readAllStandardOutput().trimmed().isEmpty();
}

bool OpenWithDesktop(const QString& path) {
    // The desktop's opener (xdg-open) starts detached and reports a missing program to nobody, so the
    // association is asked first.
    return DesktopHasOdtViewer() && QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
