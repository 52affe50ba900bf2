#pragma once

#include "core/common/grid_model.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace talvex {

// The degassing method chosen on the degassing page.
enum DegassingMethod : std::int32_t {
    MethodA = 0,
    MethodAModified = 1,
    MethodB = 2,
};

// The values of the degassing page: the inputs the operator types and the results computed from them.
// Everything starts at 0 and the method at MethodA; nothing is stored between runs of the program.
struct DegassingParameters {
    std::int32_t Method = MethodA;
    double AtmPressure = 0.0;    // kPa, as typed (the formula takes it without conversion)
    double GasTemperature = 0.0; // K, as typed
    double SampleMass = 0.0;     // g
    double CondMass1 = 0.0;      // g
    double CondMass2 = 0.0;      // g
    double CondMass = 0.0;       // g, result
    double GasVolume1 = 0.0;     // m³
    double GasVolume2 = 0.0;     // m³
    double GasVolume = 0.0;      // m³, result
    double GasVolumeNC = 0.0;    // m³ at normal conditions, result
    double GasMass = 0.0;        // g, result
    double CondFraction = 0.0;   // mass fraction, result
    double GasFraction = 0.0;    // mass fraction, result
    double GasFactor = 0.0;      // m³/t for both A methods, kg/t for method B; result
};

// Computes the results from the inputs by the method. Every result is first set to 0; a division whose
// divisor is exactly 0 is not done and leaves its results at 0; an unknown method leaves them all at 0.
void RecalcDegassing(DegassingParameters& p);

// The fields of the degassing page, in the order of the page.
enum class DegassingField {
    AtmPressure,
    GasTemperature,
    SampleMass,
    CondMass1,
    CondMass2,
    CondMass,
    GasVolume1,
    GasVolume2,
    GasVolume,
    GasVolumeNC,
    GasMass,
    CondFraction,
    GasFraction,
    GasFactor,
};
inline constexpr std::size_t kDegassingFieldCount = 14;

bool IsDegassingInput(DegassingField field);
double& DegassingValue(DegassingParameters& p, DegassingField field);

// What the page shows: the caption of each field (some switch with the method), whether it can be typed
// into, and its text.
struct DegassingFieldView {
    DegassingField field;
    std::string caption;
    bool enabled = true;
    std::string text;
};

// The degassing page without its window: the values, the text of every field and the method. Typed texts
// are taken as the page takes them (comma to point, the typed decimals kept); results are shown with the
// decimals of the stored settings. The desktop page and the CLI both work through it.
class DegassingPage {
public:
    DegassingPage(); // every field shows "0.0", method A

    const DegassingParameters& Parameters() const { return params_; }

    // Changes the method and recomputes.
    void SetMethod(std::int32_t method, int decimals);

    // Takes a typed text into an input field: the value is stored, the field shows it rewritten, and the
    // results are recomputed. False (nothing changes) for a result field or a field the method disables.
    bool TypeValue(DegassingField field, std::string_view text, int decimals);

    // Sets the method and every given input field at once, as a saved session holds them: each text is read
    // as a typed one, also in a field the method disables (the page keeps such values for the other
    // methods), then the results are recomputed.
    void Restore(std::int32_t method, const std::vector<std::pair<DegassingField, std::string>>& inputs,
                 int decimals);

    // Recomputes the results and shows them with `decimals` decimals.
    void Recalculate(int decimals);

    // Every field in page order.
    std::vector<DegassingFieldView> Fields() const;

    // The caption of the method's radio button ("Метод А " with its trailing blank, ...).
    static std::string MethodCaption(std::int32_t method);

    // Whether the method leaves the field open for typing.
    static bool IsEnabled(DegassingField field, std::int32_t method);

private:
    DegassingParameters params_;
    std::array<std::string, kDegassingFieldCount> texts_;
    // The last method that switched the labels: a method outside the three keeps the labels it found,
    // and method B keeps the label of the gas volume field as the method before it left it.
    std::int32_t labelMethod_ = MethodA;
    std::string gasVolume1Caption_;
};

// The degassing page as a grid: the method as the heading ("Метод дегазации" and its caption), then one
// row per field in page order, its caption and the text it shows.
GridModel DegassingPageGrid(const DegassingPage& page);

} // namespace talvex
