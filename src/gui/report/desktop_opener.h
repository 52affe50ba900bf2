#pragma once

#include <QString>

// Opening a written ODT report with the desktop's program for ODT files.

// Whether the desktop names a default program for ODT files, asked with `xdg-mime query default`; true
// when it cannot tell (no xdg-mime, or no answer), leaving the verdict to the opening itself.
bool DesktopHasOdtViewer();

// Hands the file to the desktop's program for ODT files. False when there is none, or when the desktop
// could not be asked to open it: then nothing was opened.
bool OpenWithDesktop(const QString& path);
