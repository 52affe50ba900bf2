#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace talvex {

// What the report dialog tells the operator about writing the ODT report (message boxes with the
// application's title as caption and an OK button).

// An output path longer than this many characters is refused before anything is written.
inline constexpr std::size_t kMaxReportPathLength = 260;
bool IsReportPathTooLong(std::string_view path);

// Shown with the error icon for an over-long output path.
inline constexpr std::string_view kReportPathMessage = "Некорректное или \n слишком длинное имя файла!";

// Shown with the exclamation icon for every failure to write the report (the code itself is not shown),
// and when no preview file name can be had.
inline constexpr std::string_view kReportSaveFailedMessage = "Произошла ошибка при сохранении отчета.";

// "Экспорт" of the report dialog: its error messages carry this caption (exclamation icon); the last one
// is shown with the application's title and no icon.
inline constexpr std::string_view kExportErrorCaption = "Ошибка экспорта";
inline constexpr std::string_view kExportNoPathMessage = "Задайте файл (путь) для экспорта.";
inline constexpr std::string_view kExportUnknownFormatMessage =
    "Задан неизвестный формат файла для экспорта.";
inline constexpr std::string_view kExportDoneMessage = "Экспорт завершен.";

// The message for an export result code: kReportSaveFailedMessage for a negative code, empty otherwise.
std::string_view ReportExportMessage(int exportResult);

// After "Сохранить" has written the report (information icon): where it is.
std::string ReportSavedMessage(std::string_view path);

// After "Просмотр" has written the report but no program opened it (exclamation icon): that, and where the
// file is, so that the operator can open or keep it.
std::string ReportNotOpenedMessage(std::string_view path);

} // namespace talvex
