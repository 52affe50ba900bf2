#include "core/chromatogram/passport.h"

#include "core/chromatogram/andi_file.h"
#include "core/chromatogram/archive_reader.h"
#include "core/chromatogram/chm_file.h"
#include "core/chromatogram/chromatogram_path.h"
#include "core/chromatogram/compound_file.h"
#include "core/common/number_text.h"
#include "core/common/text_codec.h"

#include <ctime>
#include <exception>

namespace talvex {
namespace {

constexpr std::uint32_t kPassportSignature = 0xE04561CC;
constexpr std::int32_t kLatestPassportVersion = 3;

std::int64_t StartOfToday(std::int64_t now) {
    const auto t = static_cast<std::time_t>(now);
    std::tm local{};
    if (!localtime_r(&t, &local))
        return now;
    local.tm_hour = local.tm_min = local.tm_sec = 0;
    local.tm_isdst = -1;
    return static_cast<std::int64_t>(std::mktime(&local));
}

std::string FormatG(double v) {
    return FormatGeneral(v, 6);
}

} // namespace

CPassport::CPassport() {
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    samplingTime = StartOfToday(now);
    analysisTime = now;
}

void CPassport::Parse(std::span<const std::uint8_t> stream) {
    ArchiveReader r(stream);
    if (r.ReadUInt32() != kPassportSignature)
        throw ArchiveError("not a passport stream");
    const std::int32_t version = r.ReadInt32();
    if (version > kLatestPassportVersion)
        throw ArchiveError("unsupported passport version");
    sampleName = r.ReadString();
    r.ReadString();
    volume = r.ReadDouble();
    dilution = r.ReadDouble();
    norm = r.ReadDouble();
    samplingTime = r.ReadDateTime();
    samplingPoint = r.ReadString();
    method = r.ReadString();
    duration = r.ReadDouble();
    r.ReadInt32();
    seriesNo = r.ReadInt32();
    calibrationFlag = r.ReadInt32();
    operatorName = r.ReadString();
    r.ReadString();
    r.ReadString();
    r.ReadInt32();
    r.Skip(4 * 8);
    eluent = r.ReadString();
    r.Skip(3 * 8);
    reagent = r.ReadString();
    r.Skip(3 * 8);
    analysisTime = r.ReadDateTime();
    r.ReadInt32();
    r.ReadString();
    comment = r.ReadString();
    if (version >= 2)
        samplingSite = r.ReadString();
    if (version >= 3)
        r.Skip(2 * 8);
}

ReadResult CPassport::ReadPassportFile(const std::string& filePath) {
    if (IsAndiPath(filePath))
        return ReadAndiPassportFile(filePath, *this);
    CompoundFile file;
    if (ReadResult opened = file.Open(filePath); !opened)
        return opened;
    try {
        Parse(file.ReadStream("Passport"));
    } catch (const std::exception& e) {
        return StreamFailure("Passport", e);
    }
    path = filePath;
    return ReadResult::Success();
}

std::string FormatLocalTime(std::int64_t seconds, const char* format) {
    const auto t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (!localtime_r(&t, &local))
        return {};
    char buf[128];
    const std::size_t n = std::strftime(buf, sizeof buf, format, &local);
    return std::string(buf, n);
}

std::string CPassport::Describe() const {
    std::string s;
    s += "ПРОБА: \t" + sampleName + "\r\n";
    s += "Объём: " + FormatG(volume) + "        Разведение: " + FormatG(dilution) +
         "        Норма: " + FormatG(norm) + "\r\n";
    s += "Дата / Время: " + FormatLocalTime(samplingTime, "%d.%m.%y   %H:%M") +
         "         Точка отбора:  " + samplingPoint + "\r\n";
    s += "\r\nАНАЛИЗ\r\n";
    s += "Оператор: " + operatorName + "        Метод: " + method + "\r\n";
    s += "Продолжительность: " + FormatG(duration) +
         " мин        Номер в серии: " + std::to_string(seriesNo) + "\r\n";
    s += "Дата / Время анализа: " + FormatLocalTime(analysisTime, "%d.%m.%y   %H:%M:%S") + "\r\n";
    s += "Элюент: " + eluent + "        Реагент: " + reagent + "\r\n";
    s += "\r\nКОММЕНТАРИЙ: " + std::string(FirstCodePoints(comment, 255));
    return s;
}

} // namespace talvex
