#include "core/report/report_messages.h"

#include "core/common/text_codec.h"

namespace talvex {

bool IsReportPathTooLong(std::string_view path) {
    return CodePointCount(path) > kMaxReportPathLength;
}

std::string_view ReportExportMessage(int exportResult) {
    return exportResult < 0 ? kReportSaveFailedMessage : std::string_view();
}

std::string ReportSavedMessage(std::string_view path) {
    return "Отчет сохранен в файл:\n" + std::string(path);
}

std::string ReportNotOpenedMessage(std::string_view path) {
    return "Не найдена программа для просмотра файлов ODT: отчет не открыт.\nОтчет сохранен в файл:\n" +
           std::string(path);
}

} // namespace talvex
