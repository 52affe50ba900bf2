#include "core/nlh/degassing.h"

#include "core/common/number_text.h"

namespace talvex {
namespace {

// Normal conditions of the gas volume: 293.15 K and 101.32 kPa, as the laboratory's method writes them.
constexpr double kNormalTemperature = 293.15;
constexpr double kNormalPressure = 101.32;

void RecalcMethodA(DegassingParameters& p, bool modified) {
    p.CondMass = p.CondMass1 + p.CondMass2;
    p.GasVolume = modified ? p.GasVolume1 : p.GasVolume1 + p.GasVolume2;
    if (p.GasTemperature != 0 && p.CondMass != 0) {
        p.GasVolumeNC =
            p.GasVolume * p.AtmPressure * kNormalTemperature / (p.GasTemperature * kNormalPressure);
        // Cubic metres of gas per tonne of condensate; the condensate mass is in grams.
        p.GasFactor = p.GasVolumeNC / p.CondMass * 1000000;
    }
}

void RecalcMethodB(DegassingParameters& p) {
    p.CondMass = p.CondMass1 + p.CondMass2;
    p.GasMass = p.SampleMass - p.CondMass;
    if (p.GasMass + p.CondMass != 0) {
        p.GasFraction = p.GasMass / (p.GasMass + p.CondMass);
        p.CondFraction = 1 - p.GasFraction;
    }
    if (p.CondMass != 0)
        p.GasFactor = p.GasMass / p.CondMass * 1000; // kilograms of gas per tonne of condensate
}

constexpr DegassingField kAllFields[kDegassingFieldCount] = {
    DegassingField::AtmPressure, DegassingField::GasTemperature, DegassingField::SampleMass,
    DegassingField::CondMass1,   DegassingField::CondMass2,      DegassingField::CondMass,
    DegassingField::GasVolume1,  DegassingField::GasVolume2,     DegassingField::GasVolume,
    DegassingField::GasVolumeNC, DegassingField::GasMass,        DegassingField::CondFraction,
    DegassingField::GasFraction, DegassingField::GasFactor,
};

constexpr const char* kGasVolume1CaptionA = "Объем ГД прошедший через счетчик, м³:";
constexpr const char* kGasVolume1CaptionAModified = "Объем ГД полученный при дегазации, м³:";

std::string FixedCaption(DegassingField field) {
    switch (field) {
    case DegassingField::AtmPressure:
        return "Атмосферное давление при дегазации, кПа:";
    case DegassingField::GasTemperature:
        return "Температура отбора газа дегазации, К:";
    case DegassingField::SampleMass:
        return "Масса пробы НЖУ, г:";
    case DegassingField::CondMass:
        return "Масса ДК, г:";
    case DegassingField::GasVolume2:
        return "Объем ГД отобранный на анализ, м³:";
    case DegassingField::GasVolume:
        return "Объем ГД, м³:";
    case DegassingField::GasVolumeNC:
        return "Объем ГД при Н.У., м³:";
    case DegassingField::GasMass:
        return "Масса ГД , г:";
    case DegassingField::CondFraction:
        return "Массовая доля ДК:";
    case DegassingField::GasFraction:
        return "Массовая доля ГД:";
    default:
        return {};
    }
}

} // namespace

void RecalcDegassing(DegassingParameters& p) {
    p.CondMass = p.GasVolume = p.GasVolumeNC = p.GasMass = p.CondFraction = p.GasFraction = p.GasFactor = 0;
    switch (p.Method) {
    case MethodA:
        RecalcMethodA(p, false);
        break;
    case MethodAModified:
        RecalcMethodA(p, true);
        break;
    case MethodB:
        RecalcMethodB(p);
        break;
    default:
        break;
    }
}

bool IsDegassingInput(DegassingField field) {
    switch (field) {
    case DegassingField::AtmPressure:
    case DegassingField::GasTemperature:
    case DegassingField::SampleMass:
    case DegassingField::CondMass1:
    case DegassingField::CondMass2:
    case DegassingField::GasVolume1:
    case DegassingField::GasVolume2:
        return true;
    default:
        return false;
    }
}

double& DegassingValue(DegassingParameters& p, DegassingField field) {
    switch (field) {
    case DegassingField::AtmPressure:
        return p.AtmPressure;
    case DegassingField::GasTemperature:
        return p.GasTemperature;
    case DegassingField::SampleMass:
        return p.SampleMass;
    case DegassingField::CondMass1:
        return p.CondMass1;
    case DegassingField::CondMass2:
        return p.CondMass2;
    case DegassingField::CondMass:
        return p.CondMass;
    case DegassingField::GasVolume1:
        return p.GasVolume1;
    case DegassingField::GasVolume2:
        return p.GasVolume2;
    case DegassingField::GasVolume:
        return p.GasVolume;
    case DegassingField::GasVolumeNC:
        return p.GasVolumeNC;
    case DegassingField::GasMass:
        return p.GasMass;
    case DegassingField::CondFraction:
        return p.CondFraction;
    case DegassingField::GasFraction:
        return p.GasFraction;
    case DegassingField::GasFactor:
        break;
    }
    return p.GasFactor;
}

DegassingPage::DegassingPage() : gasVolume1Caption_(kGasVolume1CaptionA) {
    texts_.fill("0.0");
}

bool DegassingPage::IsEnabled(DegassingField field, std::int32_t method) {
    const bool methodB = method == MethodB;
    switch (field) {
    case DegassingField::AtmPressure:
    case DegassingField::GasTemperature:
    case DegassingField::GasVolume1:
        return !methodB;
    case DegassingField::SampleMass:
        return methodB;
    case DegassingField::CondMass1:
    case DegassingField::CondMass2:
        return true;
    case DegassingField::GasVolume2:
        return method == MethodA;
    default:
        return false; // results are read-only
    }
}

std::string DegassingPage::MethodCaption(std::int32_t method) {
    switch (method) {
    case MethodA:
        return "Метод А ";
    case MethodAModified:
        return "Метод А (модифицированный)";
    case MethodB:
        return "Метод Б";
    default:
        return {};
    }
}

void DegassingPage::SetMethod(std::int32_t method, int decimals) {
    params_.Method = method;
    // Method B leaves the gas volume caption as the method before it set it.
    if (method == MethodA)
        gasVolume1Caption_ = kGasVolume1CaptionA;
    else if (method == MethodAModified)
        gasVolume1Caption_ = kGasVolume1CaptionAModified;
    if (method == MethodA || method == MethodAModified || method == MethodB)
        labelMethod_ = method;
    Recalculate(decimals);
}

bool DegassingPage::TypeValue(DegassingField field, std::string_view text, int decimals) {
    if (!IsDegassingInput(field) || !IsEnabled(field, params_.Method))
        return false;
    const TypedNumber number = ReadTypedNumber(text);
    DegassingValue(params_, field) = number.value;
    texts_[static_cast<std::size_t>(field)] = number.shown;
    Recalculate(decimals);
    return true;
}

void DegassingPage::Restore(std::int32_t method,
                            const std::vector<std::pair<DegassingField, std::string>>& inputs, int decimals) {
    for (const auto& [field, text] : inputs) {
        if (!IsDegassingInput(field))
            continue;
        const TypedNumber number = ReadTypedNumber(text);
        DegassingValue(params_, field) = number.value;
        texts_[static_cast<std::size_t>(field)] = number.shown;
    }
    SetMethod(method, decimals);
}

void DegassingPage::Recalculate(int decimals) {
    RecalcDegassing(params_);
    for (const DegassingField field : kAllFields)
        if (!IsDegassingInput(field))
            texts_[static_cast<std::size_t>(field)] = FormatFixed(DegassingValue(params_, field), decimals);
}

std::vector<DegassingFieldView> DegassingPage::Fields() const {
    const bool methodB = labelMethod_ == MethodB;
    std::vector<DegassingFieldView> views;
    for (const DegassingField field : kAllFields) {
        DegassingFieldView view{field, FixedCaption(field), IsEnabled(field, params_.Method),
                                texts_[static_cast<std::size_t>(field)]};
        if (field == DegassingField::CondMass1)
            view.caption = methodB ? "Масса ДК дегазации, г:" : "Масса ДК в приемнике, г:";
        else if (field == DegassingField::CondMass2)
            view.caption = methodB ? "Масса ДК в ловушках, г:" : "Масса ДК в фильтре, г:";
        else if (field == DegassingField::GasVolume1)
            view.caption = gasVolume1Caption_;
        else if (field == DegassingField::GasFactor)
            view.caption = methodB ? "Газовый фактор, кг/т:" : "Газовый фактор, м³/т:";
        views.push_back(std::move(view));
    }
    return views;
}

GridModel DegassingPageGrid(const DegassingPage& page) {
    GridModel grid;
    grid.columns = {{"Метод дегазации", 0}, {DegassingPage::MethodCaption(page.Parameters().Method), 0}};
    for (const DegassingFieldView& field : page.Fields())
        grid.rows.push_back({{field.caption, field.text}});
    return grid;
}

} // namespace talvex
