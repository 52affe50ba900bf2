#include "core/components/component_table.h"

#include "core/common/case_fold.h"
#include "core/common/number_text.h"
#include "core/common/text_codec.h"
#include "core/components/csv_table.h"
#include "core/components/database_path.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace talvex {
namespace {

// Cells of a Comps.csv row.
enum CompsCell : std::size_t {
    kKeyCell = 1,
    kDisplayNameCell = 2,
    kGasFirstCell = 3,     // group, carbon number, boiling point, molar mass, density, FID, TCD, certified
    kLiquidFirstCell = 11, // group, carbon number, boiling point, molar mass, FID, certified
};

const std::string& Cell(const CsvTable::Row& row, std::size_t index) {
    static const std::string empty;
    return index < row.size() ? row[index] : empty;
}

bool IsBlankRow(const CsvTable::Row& row) {
    return std::all_of(row.begin(), row.end(), [](const std::string& c) { return c.empty(); });
}

// An empty cell is a missing number; any other text is read by the atof rules.
double NumberCell(const std::string& text) {
    return text.empty() ? NotSet : ParseAtof(text);
}

std::string NumberText(double value) {
    return IsNotSet(value) ? std::string() : FormatFixed(value, 6);
}

// The FID responds to carbon atoms, so without a measured factor the mass per carbon atom stands in.
void FillFidFactor(PhaseProperties& p) {
    if (IsNotSet(p.fidFactor) && !IsNotSet(p.molarMass) && p.carbonNumber > 0)
        p.fidFactor = p.molarMass / p.carbonNumber;
}

ComponentRecord ParseComponentRow(const CsvTable::Row& row, std::int32_t id) {
    ComponentRecord r;
    r.id = id;
    r.key = Cell(row, kKeyCell);
    r.displayName = Cell(row, kDisplayNameCell);

    std::size_t c = kGasFirstCell;
    r.gas.group = Cell(row, c++);
    r.gas.carbonNumber = NumberCell(Cell(row, c++));
    r.gas.boilingPoint = NumberCell(Cell(row, c++));
    r.gas.molarMass = NumberCell(Cell(row, c++));
    r.gas.density = NumberCell(Cell(row, c++));
    r.gas.fidFactor = NumberCell(Cell(row, c++));
    r.gas.tcdFactor = NumberCell(Cell(row, c++));
    r.gas.certifiedValue = NumberCell(Cell(row, c++));

    c = kLiquidFirstCell;
    r.liquid.group = Cell(row, c++);
    r.liquid.carbonNumber = NumberCell(Cell(row, c++));
    r.liquid.boilingPoint = NumberCell(Cell(row, c++));
    r.liquid.molarMass = NumberCell(Cell(row, c++));
    r.liquid.fidFactor = NumberCell(Cell(row, c++));
    r.liquid.certifiedValue = NumberCell(Cell(row, c++));

    FillFidFactor(r.gas);
    FillFidFactor(r.liquid);
    return r;
}

CsvTable::Row ComponentRow(const ComponentRecord& r) {
    return {
        std::string(),
        r.key,
        r.displayName,
        r.gas.group,
        NumberText(r.gas.carbonNumber),
        NumberText(r.gas.boilingPoint),
        NumberText(r.gas.molarMass),
        NumberText(r.gas.density),
        NumberText(r.gas.fidFactor),
        NumberText(r.gas.tcdFactor),
        NumberText(r.gas.certifiedValue),
        r.liquid.group,
        NumberText(r.liquid.carbonNumber),
        NumberText(r.liquid.boilingPoint),
        NumberText(r.liquid.molarMass),
        NumberText(r.liquid.fidFactor),
        NumberText(r.liquid.certifiedValue),
    };
}

// The range cell reads "от X до Y": X from the fourth character up to the first "до", Y from the
// character after the blank that follows "до". Without "до" the range has no upper bound it could be
// read from and is left empty (high 0), so it never applies.
void ParseRangeText(std::string_view text, double& low, double& high) {
    constexpr std::string_view kTo = "до";
    const std::size_t lowStart = FirstCodePoints(text, 3).size();
    const std::size_t to = text.find(kTo);
    if (to == std::string_view::npos) {
        low = ParseAtof(text.substr(lowStart));
        high = 0.0;
        return;
    }
    low = to > lowStart ? ParseAtof(text.substr(lowStart, to - lowStart)) : 0.0;
    std::size_t highStart = to + kTo.size();
    highStart += FirstCodePoints(text.substr(highStart), 1).size();
    high = ParseAtof(text.substr(highStart));
}

NormRange ParseNormRow(const CsvTable::Row& row) {
    NormRange n;
    ParseRangeText(Cell(row, 1), n.low, n.high);
    // Here an empty cell reads as 0, as atof reads it.
    n.column2 = ParseAtof(Cell(row, 2));
    n.column3 = ParseAtof(Cell(row, 3));
    n.column4 = ParseAtof(Cell(row, 4));
    n.delta = ParseAtof(Cell(row, 5));
    n.repeatability = ParseAtof(Cell(row, 6));
    n.reproducibility = ParseAtof(Cell(row, 7));
    return n;
}

} // namespace

std::vector<std::string> ComponentTable::LoadComponents(const std::filesystem::path& dataFolder) {
    records.clear();
    componentsHeaderLength = gasNormsHeaderLength = liquidNormsHeaderLength = -1;
    std::vector<std::string> errors;

    auto read = [&](std::string_view fileName, CsvTable& table, std::int32_t& headerLength) {
        std::string error;
        const std::filesystem::path path = DatabaseFilePath(dataFolder, fileName, &error);
        if (path.empty() || !table.ReadCsv(path, 0, &error)) {
            errors.push_back(error);
            return false;
        }
        headerLength = table.HeaderLength();
        return true;
    };

    CsvTable comps;
    if (read(kComponentsFileName, comps, componentsHeaderLength)) {
        for (std::size_t i = 1; i < comps.rows.size(); ++i)
            if (!IsBlankRow(comps.rows[i]))
                records.push_back(
                    ParseComponentRow(comps.rows[i], static_cast<std::int32_t>(records.size())));
    }

    auto addNorms = [&](const CsvTable& table, std::vector<NormRange> ComponentRecord::*norms) {
        // An index, not a pointer: appending a record may move the others.
        std::optional<std::size_t> current;
        for (std::size_t i = 1; i < table.rows.size(); ++i) {
            const CsvTable::Row& row = table.rows[i];
            if (IsBlankRow(row))
                continue;
            const std::string& name = Cell(row, 0);
            if (!name.empty()) {
                const auto it = std::find_if(records.begin(), records.end(), [&](const ComponentRecord& r) {
                    return EqualsIgnoringCase(r.key, name);
                });
                if (it != records.end()) {
                    current = static_cast<std::size_t>(it - records.begin());
                } else {
                    ComponentRecord added;
                    added.id = static_cast<std::int32_t>(records.size());
                    added.key = added.displayName = name;
                    current = records.size();
                    records.push_back(std::move(added));
                }
            }
            // A continuation row before any named row belongs to nobody.
            if (current)
                (records[*current].*norms).push_back(ParseNormRow(row));
        }
    };

    CsvTable gasNorms;
    if (read(kGasNormsFileName, gasNorms, gasNormsHeaderLength))
        addNorms(gasNorms, &ComponentRecord::gasNorms);
    CsvTable liquidNorms;
    if (read(kLiquidNormsFileName, liquidNorms, liquidNormsHeaderLength))
        addNorms(liquidNorms, &ComponentRecord::liquidNorms);
    return errors;
}

bool ComponentTable::SaveComponents(const std::filesystem::path& dataFolder, std::string* error) const {
    const std::filesystem::path path = DatabaseFilePath(dataFolder, kComponentsFileName, error);
    if (path.empty())
        return false;
    CsvTable table;
    table.rows.reserve(records.size());
    for (const ComponentRecord& r : records)
        table.rows.push_back(ComponentRow(r));
    return table.WriteCsv(path, componentsHeaderLength, error);
}

const ComponentRecord* ComponentTable::FindComponent(std::string_view name) const {
    if (name.empty())
        return nullptr;
    for (const ComponentRecord& r : records)
        if (EqualsIgnoringCase(r.displayName, name) || EqualsIgnoringCase(r.key, name))
            return &r;
    return nullptr;
}

ComponentRecord* ComponentTable::FindComponent(std::string_view name) {
    return const_cast<ComponentRecord*>(std::as_const(*this).FindComponent(name));
}

} // namespace talvex
