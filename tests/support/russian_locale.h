#pragma once

// A Russian locale for the tests that compare what the program writes under it with the "C" locale: the
// laboratory's desktops run with LANG=ru_RU.UTF-8, whose numbers carry a decimal comma.

#include "core/common/child_process.h"

#include <clocale>
#include <cstdlib>
#include <string>

#include <locale.h>

namespace talvex::testing {

inline constexpr const char* kRussianLocale = "ru_RU.UTF-8";

struct RussianLocaleState {
    enum Kind { Ready, NoLocaledef, Failed } kind = Failed;
    std::string detail; // why it is not ready
};

inline bool LocaleExists(const char* name) {
    const locale_t locale = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
    if (!locale)
        return false;
    freelocale(locale);
    return true;
}

// Makes sure that kRussianLocale can be set in this process and in the programs it starts. A machine
// without it (a fresh Debian has only C.UTF-8) gets it compiled by localedef into a temporary folder that
// LOCPATH names, without touching the system's locales. Done once per process.
inline const RussianLocaleState& PrepareRussianLocale() {
    static const RussianLocaleState state = [] {
        RussianLocaleState s;
        if (LocaleExists(kRussianLocale)) {
            s.kind = RussianLocaleState::Ready;
            return s;
        }
        if (!FindProgram("localedef")) {
            s.kind = RussianLocaleState::NoLocaledef;
            s.detail = "localedef is not installed";
            return s;
        }
        static TemporaryFolder folder("talvex-locale-");
        if (!folder.Valid()) {
            s.detail = "no temporary folder for the locale";
            return s;
        }
        const ChildOutcome made =
            RunChild({"localedef", "-i", "ru_RU", "-f", "UTF-8", (folder.Path() / kRussianLocale).string()},
                     std::chrono::minutes(5));
        ::setenv("LOCPATH", folder.Path().c_str(), 1);
        if (LocaleExists(kRussianLocale)) {
            s.kind = RussianLocaleState::Ready;
            return s;
        }
        s.detail = "localedef -i ru_RU -f UTF-8 made no usable locale (Debian's package `locales` holds its "
                   "sources): " +
                   made.output;
        return s;
    }();
    return state;
}

// Sets one category of the process locale for the lifetime of the object and restores it afterwards.
class ScopedLocale {
public:
    ScopedLocale(int category, const char* name) : category_(category) {
        if (const char* old = std::setlocale(category, nullptr))
            old_ = old;
        active_ = std::setlocale(category, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(category_, old_.c_str()); }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

    bool Active() const { return active_; }

private:
    int category_;
    std::string old_ = "C";
    bool active_ = false;
};

// The C library's own decimal point in the current numeric locale.
inline std::string CDecimalPoint() {
    return std::localeconv()->decimal_point;
}

} // namespace talvex::testing

// In a GoogleTest body: switches the numeric locale to Russian until the end of the scope (the variable
// `name` holds it), skipping the test only where localedef is missing and failing where the locale cannot
// be had otherwise. Asserts that the C library then really writes a decimal comma, so that a test under it
// cannot pass by accident.
#define TALVEX_RUSSIAN_NUMERIC_LOCALE(name)                                                                  \
    const ::talvex::testing::RussianLocaleState& name##State = ::talvex::testing::PrepareRussianLocale();    \
    if (name##State.kind == ::talvex::testing::RussianLocaleState::NoLocaledef)                              \
        GTEST_SKIP() << name##State.detail;                                                                  \
    ASSERT_EQ(name##State.kind, ::talvex::testing::RussianLocaleState::Ready) << name##State.detail;         \
    ::talvex::testing::ScopedLocale name(LC_NUMERIC, ::talvex::testing::kRussianLocale);                     \
    ASSERT_TRUE(name.Active());                                                                              \
    ASSERT_EQ(::talvex::testing::CDecimalPoint(), ",")
