// How a family of databases declares its upgrade: tables of rows, walked by
// one runner (step_runner.hpp).
//
//   constexpr UpgradeRow kSteps[] = {
//       // target     statement, or script number and routine
//       statement("0.35836", "ALTER TABLE variableobjtree_Textlist_Text ADD COLUMN [Position]
//       LONG"), statement("0.35836", "UPDATE variableobjtree_Textlist_Text SET [Position]=ID"),
//       statement("0.35840", "ALTER TABLE Provider ADD COLUMN LogoFilename VARCHAR(255)"),
//       script("0.35841", 15, addMissingPositionColumns),  // probes the tables: code
//   };
//   static_assert(ascendingTargets(kSteps));
//
// Consecutive rows with the same key make one step. A version step runs when
// the database is below its target: its rows in order, then the target is
// written to Version. A patch (key: its code) runs when its code is not yet
// in ZV_VersionCode: its rows in order, then its code is recorded. Targets
// stay text exactly as written; the family's current version is its last
// step's target. A statement row is run as it stands; a routine is used only
// where a step must ask the database something first.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "host/math_ex.hpp"
#include "upgrade/upgrade_session.hpp"

namespace orvdb::upgrade {

// Works on the caller's connection, may push query levels of its own, and
// leaves the caller's level as it found it.
using ScriptRoutine = void (*)(UpgradeSession& session);

enum class RowKind : uint8_t { Statement, Script };

struct UpgradeRow {
    std::string_view key;  // version target as written ("0.35836"), or patch code
    RowKind kind = RowKind::Statement;
    std::string_view sql;             // Statement: run through the current query in command mode
    int number = 0;                   // Script: the number the step table gives it (0: none)
    ScriptRoutine routine = nullptr;  // Script
};

constexpr UpgradeRow statement(std::string_view key, std::string_view sql) {
    return UpgradeRow{key, RowKind::Statement, sql, 0, nullptr};
}
constexpr UpgradeRow script(std::string_view key, int number, ScriptRoutine routine) {
    return UpgradeRow{key, RowKind::Script, {}, number, routine};
}
constexpr UpgradeRow script(std::string_view key, ScriptRoutine routine) {
    return script(key, 0, routine);
}

// The value of a version written as digits with one point ("0.35836"); -1
// for any other text.
constexpr double versionValue(std::string_view text) {
    double value = 0;
    double scale = 1;
    bool point = false;
    bool digits = false;
    for (char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            digits = true;
            if (point) {
                scale /= 10;
                value += (c - '0') * scale;
            } else {
                value = value * 10 + (c - '0');
            }
        } else {
            return -1;
        }
    }
    return digits ? value : -1;
}

// Every key is a version, rows of one step are together, and each step's
// target lies above the one before by more than the comparison tolerance.
constexpr bool ascendingTargets(std::span<const UpgradeRow> rows) {
    for (size_t i = 0; i < rows.size(); ++i) {
        double value = versionValue(rows[i].key);
        if (value < 0 || (rows[i].kind == RowKind::Script && rows[i].routine == nullptr)) {
            return false;
        }
        if (i > 0 && rows[i].key != rows[i - 1].key &&
            value - versionValue(rows[i - 1].key) <= host::kVersionTolerance) {
            return false;
        }
    }
    return true;
}

// Patch codes: 1 to 20 characters (the width of ZV_VersionCode.zvCode), the
// rows of one patch together, no code used twice in any letter case.
constexpr bool distinctCodes(std::span<const UpgradeRow> rows) {
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    auto same = [&](std::string_view a, std::string_view b) {
        if (a.size() != b.size()) {
            return false;
        }
        for (size_t i = 0; i < a.size(); ++i) {
            if (upper(a[i]) != upper(b[i])) {
                return false;
            }
        }
        return true;
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].key.empty() || rows[i].key.size() > 20 ||
            (rows[i].kind == RowKind::Script && rows[i].routine == nullptr)) {
            return false;
        }
        if (i > 0 && rows[i].key == rows[i - 1].key) {
            continue;
        }
        for (size_t j = 0; j < i; ++j) {
            if (same(rows[i].key, rows[j].key)) {
                return false;
            }
        }
    }
    return true;
}

// How a step's target is written to Version: the provider family writes the
// decimal expansion of the single-precision number (0.3605 goes in as
// 0.360499995946884), the library writes the target as it stands.
enum class VersionText : uint8_t { SinglePrecision, AsWritten };

struct UpgradeCatalogue {
    std::span<const UpgradeRow> steps;
    std::span<const UpgradeRow> patches;
    VersionText versionText = VersionText::SinglePrecision;
    // Run by the driver after the steps and patches, on every upgrade (may
    // be null): repairs that look at the schema rather than at the version.
    ScriptRoutine closingChecks = nullptr;

    // The version a database has once every step ran.
    constexpr std::string_view current() const {
        return steps.empty() ? std::string_view() : steps.back().key;
    }
};

// The catalogue's steps up to and including the target `last`, without its
// patches or closing checks: to bring a database to a given version.
constexpr UpgradeCatalogue stepsUpTo(const UpgradeCatalogue& catalogue, std::string_view last) {
    size_t end = 0;
    while (end < catalogue.steps.size() &&
           versionValue(catalogue.steps[end].key) <= versionValue(last)) {
        ++end;
    }
    return UpgradeCatalogue{catalogue.steps.first(end), {}, catalogue.versionText, nullptr};
}

// Applied codes of named patches, as read from ZV_VersionCode.
class AppliedCodes {
public:
    void add(std::string code) { codes_.push_back(std::move(code)); }
    // Without regard to letter case.
    bool contains(std::string_view code) const;
    const std::vector<std::string>& codes() const { return codes_; }

private:
    std::vector<std::string> codes_;
};

}  // namespace orvdb::upgrade
