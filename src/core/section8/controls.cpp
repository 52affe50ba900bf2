// The two operational controls: with a control sample (ОКП) and with a certified mixture (ОКЭ).
#include "core/chromatogram/opened_chm_file.h"
#include "core/common/case_fold.h"
#include "core/common/format.h"
#include "core/components/component_table.h"
#include "core/messages/message_log.h"
#include "core/section8/composition.h"
#include "core/section8/condensate.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace talvex {
namespace {

constexpr const char* kPentane = "н-Пентан";

ControlItem* FindItem(std::vector<ControlItem>& items, const std::string& name) {
    for (ControlItem& item : items)
        if (EqualsIgnoringCase(item.name, name))
            return &item;
    return nullptr;
}

void BuildOkp(const CondensateAnalysis& control, const CondensateAnalysis& first, MarkingMethod method,
              std::vector<ControlItem>& items, CondensateProblems& problems) {
    for (const CondensateEntry& e : control.Entries(method)) {
        ControlItem& item = items.emplace_back();
        item.component = e.component;
        item.name = e.name;
        item.secondEntry = &e;
        // The control sample's value, so that its column and report cell show it.
        item.secondValue = e.massFraction;
        if (!e.component || e.component->liquidNorms.empty())
            continue;
        item.normRange = FirstApplicableNorm(e.component->liquidNorms, e.massFraction);
        if (!item.normRange) {
            item.normRange = NoMatchingNorm();
            problems.Problem(e.name).okpOutOfRange = true;
        }
    }
    for (const CondensateEntry& q : first.Entries(method)) {
        ControlItem* item = FindItem(items, q.name);
        if (!item) {
            item = &items.emplace_back();
            item->component = q.component;
            item->name = q.name;
        }
        item->firstEntry = &q;
        item->firstValue = q.massFraction;
    }
}

void CheckOkpItems(std::vector<ControlItem>& items, CondensateProblems& problems) {
    for (ControlItem& item : items) {
        if (!item.firstEntry || !item.secondEntry) {
            problems.Problem(item.name).okpMissingSample = true;
            continue;
        }
        const double a = item.firstEntry->massFraction;
        const double b = item.secondEntry->massFraction;
        if (IsNotSet(a) || IsNotSet(b))
            continue;
        item.discrepancy = std::fabs(a - b);
        if (!item.normRange)
            continue;
        if (!IsRealNorm(item.normRange) || IsNotSet(item.normRange->reproducibility)) {
            // No range applies (or it has no limit): the item fails, and its limit is missing rather than
            // a figure of some three hundred digits computed from the missing marker.
            item.limit = NotSet;
            item.passed = false;
            continue;
        }
        item.limit = CondensateOkpLimit(item.normRange->reproducibility, a, b);
        item.passed = item.limit >= item.discrepancy;
    }
}

// The response factors of the certified mixture come from the peak table alone, relative to n-pentane.
void ComposeOkeMeasured(CondensateResult& result, const ComponentRecord* pentane, MessageLog& log) {
    for (CondensateEntry& e : result.okeMeasured) {
        if (!e.component) {
            result.problems.Problem(e.name).notInDatabase = true;
            continue;
        }
        const double k = pentane ? RelativeResponseFactor(*e.component, pentane->liquid.fidFactor) : NotSet;
        if (IsNotSet(k)) {
            result.problems.Problem(e.name).noResponseFactor = true;
            continue;
        }
        e.responseFactor = k;
        e.weightedArea = k * e.area;
        result.okeWeightedSum += e.weightedArea;
    }
    const bool anyWeighted = std::any_of(result.okeMeasured.begin(), result.okeMeasured.end(),
                                         [](const CondensateEntry& e) { return !IsNotSet(e.weightedArea); });
    if (!anyWeighted)
        return;
    if (result.okeWeightedSum == 0.0 || !std::isfinite(result.okeWeightedSum)) {
        // Dividing by it would give infinities: the measured values stay missing and the operator is told.
        log.PostText(kMsgError,
                     "Контроль с применением ОК (ГСО): сумма приведенных площадей пиков равна нулю, "
                     "массовые доли не рассчитаны.");
        return;
    }
    for (CondensateEntry& e : result.okeMeasured)
        if (!IsNotSet(e.weightedArea))
            e.massFraction = e.weightedArea / result.okeWeightedSum * 100.0;
}

struct FractionBin {
    int low = 0;
    int high = 0;
    double firstSum = 0.0;
    double secondSum = 0.0;
};

void AddFractionItems(CondensateResult& result, const ComponentTable& components) {
    std::vector<FractionBin> bins;
    for (const ControlItem& item : result.okeItems) {
        if (!item.firstEntry || !item.secondEntry) {
            if (item.firstEntry)
                result.problems.Problem(item.name).okeNotInPassport = true;
            else
                result.problems.Problem(item.name).okeNotInChromatogram = true;
        }
        if (!item.component || !(item.component->liquid.boilingPoint >= 45.0))
            continue;
        const double tb = item.component->liquid.boilingPoint;
        if (!(tb < 1.0e6))
            continue; // no fraction of the table reaches such a temperature
        const int low = tb <= 60.0 ? 45 : 10 * static_cast<int>(tb / 10.0);
        const int high = tb <= 60.0 ? 60 : low + 10;
        auto bin =
            std::find_if(bins.begin(), bins.end(), [low](const FractionBin& b) { return b.low == low; });
        if (bin == bins.end())
            bin = bins.insert(bins.end(), FractionBin{low, high, 0.0, 0.0});
        if (item.firstValue > 0.0)
            bin->firstSum += item.firstValue;
        if (item.secondValue > 0.0)
            bin->secondSum += item.secondValue;
    }
    for (const FractionBin& bin : bins) {
        const std::string name = StrPrintf("F%d-%d", bin.low, bin.high);
        const ComponentRecord* c = components.FindComponent(name);
        if (!c)
            continue;
        ControlItem& item = result.okeItems.emplace_back();
        item.component = c;
        item.name = name;
        item.firstValue = bin.firstSum > 0.0 ? bin.firstSum : NotSet;
        item.secondValue = bin.secondSum > 0.0 ? bin.secondSum : NotSet;
    }
}

// Components by boiling point, each fraction just before the components of its decade, the rest last.
double OkeOrderKey(const ControlItem& item) {
    if (!item.component)
        return std::numeric_limits<double>::max();
    const double tb = item.component->liquid.boilingPoint;
    if (item.firstEntry || item.secondEntry)
        return tb;
    return 10.0 * std::trunc(tb / 10.0) - 0.00001;
}

} // namespace

double CondensateOkpLimit(double reproducibility, double a, double b) {
    return (a + b) * 0.5 * (reproducibility * 0.84 / 100);
}

double CondensateOkeLimit(double delta, double certified) {
    return delta * 0.01 * certified;
}

void BuildOkpItems(CondensateResult& result) {
    if (!result.okpAnalysis.chromatogram || result.analyses.empty())
        return;
    for (const MarkingMethod m : {MarkingMethod::A, MarkingMethod::B})
        if (!result.Rows(m).empty())
            BuildOkp(result.okpAnalysis, result.analyses.front(), m, result.OkpItems(m), result.problems);
}

void CheckOkp(CondensateResult& result) {
    CheckOkpItems(result.okpItemsA, result.problems);
    CheckOkpItems(result.okpItemsB, result.problems);
}

void ComputeOke(CondensateResult& result, const ComponentTable& components, MessageLog& log) {
    result.okeWeightedSum = 0.0;
    const ComponentRecord* pentane = components.FindComponent(kPentane);
    int unnamed = 0;
    for (const cmpeek& peak : result.okeRun->peaks) {
        CondensateEntry& e = result.okeMeasured.emplace_back();
        e.component = components.FindComponent(peak.name);
        e.name = peak.name.empty() ? StrPrintf("Без имени-%d", ++unnamed) : peak.name;
        e.area = peak.area;
    }
    ComposeOkeMeasured(result, pentane, log);
    for (const ComponentRecord& record : components.records) {
        if (IsNotSet(record.liquid.certifiedValue))
            continue;
        CondensateEntry& e = result.okeCertified.emplace_back();
        e.name = record.displayName.empty() ? StrPrintf("Без имени-%d", ++unnamed) : record.displayName;
        e.component = components.FindComponent(e.name);
        e.massFraction = record.liquid.certifiedValue;
    }
    for (const CondensateEntry& p : result.okeMeasured) {
        if (!p.component)
            continue;
        ControlItem& item = result.okeItems.emplace_back();
        item.component = p.component;
        item.name = p.name;
        item.firstEntry = &p;
        item.firstValue = p.massFraction;
    }
    for (const CondensateEntry& q : result.okeCertified) {
        ControlItem* item = FindItem(result.okeItems, q.name);
        if (!item) {
            item = &result.okeItems.emplace_back();
            item->component = q.component;
            item->name = q.name;
        }
        item->secondEntry = &q;
        item->secondValue = q.massFraction;
    }
    AddFractionItems(result, components);
    std::sort(result.okeItems.begin(), result.okeItems.end(),
              [](const ControlItem& a, const ControlItem& b) { return OkeOrderKey(a) < OkeOrderKey(b); });
}

void CheckOke(CondensateResult& result) {
    for (ControlItem& item : result.okeItems) {
        if (!item.component)
            continue;
        const double a = item.firstValue;
        const double b = item.secondValue;
        if (!(a > 0.0 && b > 0.0))
            continue;
        if (item.component->liquidNorms.empty()) {
            item.normRange = nullptr;
            continue;
        }
        const NormRange* range = FirstApplicableNorm(item.component->liquidNorms, a);
        if (!range) {
            item.normRange = NoMatchingNorm();
            result.problems.Problem(item.name).okeOutOfRange = true;
            continue;
        }
        item.normRange = range;
        item.discrepancy = std::fabs(a - b);
        if (IsNotSet(range->delta))
            continue; // a norm row without accuracy gives no limit and no verdict
        item.limit = CondensateOkeLimit(range->delta, b);
        item.passed = item.limit >= item.discrepancy;
    }
}

} // namespace talvex
