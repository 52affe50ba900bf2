#pragma once

#include "section8_fixtures.h"

#include <gtest/gtest.h>

namespace talvex::testing {

// Three analyses: n-hexane with 1.00, 1.10 and 1.05 % under the norm (0.5, 2), δ 4, r 10; propane only in
// the analysis with number 1; an ОКЭ list with the fraction F90-100 and its member n-heptane.
class CondensateResultFixture : public ::testing::Test {
protected:
    void SetUp() override {
        components_.records.reserve(8);
        hexane_ = &AddComponent(components_, "н-Гексан", 68.73, 1.0, 86.18, 6);
        hexane_->liquidNorms = {Norm(0.5, 2, 4, 10, 6)};
        propane_ = &AddComponent(components_, "Пропан", -42.1, 1.0, 44.1, 3);
        heptane_ = &AddComponent(components_, "н-Гептан", 98.4, 1.0, 100.2, 7);
        fraction_ = &AddComponent(components_, "F90-100", 95.0);
        result_.analyses.reserve(3);
        for (int no = 0; no < 3; ++no) {
            CondensateAnalysis& a = result_.analyses.emplace_back();
            a.analysisNo = no;
            Add(a, hexane_, 1.0 + (no == 1 ? 0.1 : no == 2 ? 0.05 : 0.0));
            if (no == 1)
                Add(a, propane_, 0.25);
            a.massSumA = 100.0;
            a.molarMassA = 80.0 + no;
        }
        BuildCondensateRows(result_);
        ComputeRowStatistics(result_);

        ControlItem& f = result_.okeItems.emplace_back();
        f.component = fraction_;
        f.name = "F90-100";
        f.firstValue = 4.1;
        f.secondValue = 4.0;
        f.discrepancy = 0.1;
        f.limit = 0.2;
        f.passed = true;
        certified_.massFraction = 4.0;
        ControlItem& h = result_.okeItems.emplace_back(f);
        h.component = heptane_;
        h.name = "н-Гептан";
        h.secondEntry = &certified_;
    }

    static void Add(CondensateAnalysis& a, const ComponentRecord* c, double massFraction) {
        CondensateEntry& e = a.entriesA.emplace_back();
        e.component = c;
        e.name = c->displayName;
        e.massFraction = massFraction;
        e.responseFactor = 1.0;
        e.area = 10.0 * massFraction;
        e.windowStart = 1.0;
        e.windowEnd = 2.0;
    }

    ComponentTable components_;
    ComponentRecord* hexane_ = nullptr;
    ComponentRecord* propane_ = nullptr;
    ComponentRecord* heptane_ = nullptr;
    ComponentRecord* fraction_ = nullptr;
    CondensateEntry certified_;
    CondensateResult result_;
};

} // namespace talvex::testing
