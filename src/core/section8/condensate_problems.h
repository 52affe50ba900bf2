#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace talvex {

class MessageLog;

// What the condensate calculation found wrong with one component, reported once per name at the end.
struct CondensateProblem {
    std::string name;
    bool notInDatabase = false;
    bool noResponseFactor = false;
    bool noMolarMass = false;
    bool notInAllAnalyses = false;
    bool outOfRange = false;
    bool okpMissingSample = false;
    bool okpOutOfRange = false;
    bool okeNotInPassport = false;
    bool okeNotInChromatogram = false;
    bool okeOutOfRange = false;
};

// The problems in the order their names were first flagged.
class CondensateProblems {
public:
    // The record of this name (letter case ignored), appended with no flag set when there is none.
    CondensateProblem& Problem(std::string_view name);
    const std::vector<CondensateProblem>& Items() const { return items_; }

    // One error per component: its name, then a line per flag set.
    void PostProblemMessages(MessageLog& log) const;

private:
    std::vector<CondensateProblem> items_;
};

} // namespace talvex
