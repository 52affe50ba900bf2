// Fuzz target of CompsTime.csv: the bytes become the file of a data folder with the shipped component
// database; the retention times are loaded, edited and sorted as the editor does, saved back and loaded
// again. The save either works or says why.
#include "fuzz_support.h"

#include "core/components/component_table.h"
#include "core/components/retention_time_table.h"
#include "core/messages/message_log.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto folder = talvex::fuzz::ScratchFolder() / "data";
    static const talvex::ComponentTable components = [&folder] {
        talvex::fuzz::CopyShippedData(folder);
        talvex::ComponentTable table;
        table.LoadComponents(folder);
        return table;
    }();
    talvex::fuzz::WriteWholeFile(folder / talvex::kCompsTimeFileName, talvex::fuzz::AsText(data, size));

    talvex::MessageLog log;
    talvex::RetentionTimeTable table;
    std::string error;
    if (!table.LoadTable(folder, components, log, &error))
        __builtin_trap(); // the file is there and readable
    if (!table.Records().empty())
        (void)table.SetCell(0, talvex::RetentionTimeTable::kGasTimeColumn, "12,5");
    (void)table.AddRecord();
    table.SortByGasTime();
    if (!table.SaveTable(folder, &error) && error.empty())
        __builtin_trap();
    talvex::RetentionTimeTable again;
    if (!again.LoadTable(folder, components, log, &error))
        __builtin_trap();
    return 0;
}
