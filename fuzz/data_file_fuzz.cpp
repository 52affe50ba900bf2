// Fuzz target of one file of the component database (the file named by TALVEX_FUZZ_DATA_FILE: Comps.csv,
// TableSection7.csv or TableSection8.csv): the bytes become that file of a data folder whose other files
// are the shipped ones; the database is loaded, saved back through the editors' save path and loaded
// again. A load never fails for a readable file, and the save either works or says why.
#include "fuzz_support.h"

#include "core/components/component_table.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto folder = talvex::fuzz::ScratchFolder() / "data";
    static const bool prepared = (talvex::fuzz::CopyShippedData(folder), true);
    (void)prepared;
    talvex::fuzz::WriteWholeFile(folder / TALVEX_FUZZ_DATA_FILE, talvex::fuzz::AsText(data, size));

    talvex::ComponentTable table;
    if (!table.LoadComponents(folder).empty())
        __builtin_trap();
    std::string error;
    if (!table.SaveComponents(folder, &error) && error.empty())
        __builtin_trap();
    talvex::ComponentTable again;
    if (!again.LoadComponents(folder).empty())
        __builtin_trap();
    return 0;
}
