#include "report/report_messages.h"

#include "common/text_codec.h"

namespace talvex {

bool IsReportPathTooLong(std::string_view path) {
    return CodePointCount(path) > kMaxReportPathLength;
}

std::string_view ReportExportMessage(int exportResult) {
    return exportResult < 0 ? kReportSaveFailedMessage : std::string_view();
}

} // namespace talvex
