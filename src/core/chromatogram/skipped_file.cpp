#include "core/chromatogram/skipped_file.h"

namespace talvex {
namespace {

std::string PassportTexts(const SkippedFile& file, const char* method, const char* sample, const char* open,
                          const char* close) {
    return std::string(" (") + method + " " + open + file.method + close + ", " + sample + " " + open +
           file.sampleName + close + ")";
}

std::string English(const SkippedFile& file) {
    return PassportTexts(file, "method", "sample", "\"", "\"");
}

std::string Russian(const SkippedFile& file) {
    return PassportTexts(file, "метод", "проба", "«", "»");
}

} // namespace

std::string SkipReason(const SkippedFile& file) {
    switch (file.cause) {
    case SkipCause::Unreadable:
        return "cannot be read: " + file.read.reason;
    case SkipCause::AlreadyListed:
        return "already in the list";
    case SkipCause::NoDetector:
        return "a kind the calculations do not use: detector not recognised from the passport" +
               English(file);
    case SkipCause::NoRole:
        return "a kind the calculations do not use: role (sample, blank, calibration, control) not "
               "recognised "
               "from the passport" +
               English(file);
    case SkipCause::NoMedium:
        return "a kind the calculations do not use: medium (gas or condensate) not recognised from the "
               "passport" +
               English(file);
    case SkipCause::UnusedKind:
        return "a kind the calculations do not use: " + file.typeLabel + English(file);
    case SkipCause::KindPresent:
        return "a second control or blank run of a kind already in the list: " + file.typeLabel;
    }
    return {};
}

std::string SkipReasonText(const SkippedFile& file) {
    switch (file.cause) {
    case SkipCause::Unreadable:
        return "не читается: " + ReadProblemText(file.read);
    case SkipCause::AlreadyListed:
        return "уже есть в списке";
    case SkipCause::NoDetector:
        return "тип не используется в расчетах: по паспорту не распознан детектор" + Russian(file);
    case SkipCause::NoRole:
        return "тип не используется в расчетах: по паспорту не распознано назначение (проба, холостая, "
               "градуировка, ОКП, ОКЭ)" +
               Russian(file);
    case SkipCause::NoMedium:
        return "тип не используется в расчетах: по паспорту не распознана среда (ГД или ДК)" + Russian(file);
    case SkipCause::UnusedKind:
        return "тип не используется в расчетах: " + file.typeLabel + Russian(file);
    case SkipCause::KindPresent:
        return "второй контрольный или холостой анализ этого типа, он уже есть в списке: " + file.typeLabel;
    }
    return {};
}

std::string SkippedFilesMessage(const std::vector<SkippedFile>& files) {
    std::string text = files.size() == 1 ? "Файл не добавлен в список:\n" : "Файлы не добавлены в список:\n";
    for (const SkippedFile& file : files)
        text += "\n" + file.path + " — " + SkipReasonText(file);
    return text;
}

} // namespace talvex
