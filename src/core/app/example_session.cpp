#include "core/app/example_session.h"

#include "core/chromatogram/chromatogram_path.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace talvex {

std::vector<std::string> ChromatogramFilesIn(const std::filesystem::path& folder) {
    std::vector<std::string> files;
    std::error_code failure;
    for (const auto& entry : std::filesystem::directory_iterator(folder, failure))
        if (IsChromatogramPath(entry.path().string()))
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

bool TypeExampleDegassing(DegassingPage& page, int decimals) {
    page.SetMethod(MethodA, decimals);
    const std::pair<DegassingField, const char*> typed[] = {
        {DegassingField::AtmPressure, "99,8"},  {DegassingField::GasTemperature, "293,6"},
        {DegassingField::GasVolume1, "0.0118"}, {DegassingField::GasVolume2, "0.0004"},
        {DegassingField::CondMass1, "84.6"},    {DegassingField::CondMass2, "1.7"}};
    bool all = true;
    for (const auto& [field, text] : typed)
        all = page.TypeValue(field, text, decimals) && all;
    return all;
}

} // namespace talvex
