// How a family of databases declares its upgrade: an ordered table of version
// steps, a table of named patches, the built-in scripts the steps call, and
// an optional closing check. The step runner (step_runner.hpp) only walks
// these tables, so a new family or new steps are data plus script functions:
//
//   const VersionStep kSteps[] = {
//       {0.35840f, statements([](UpgradeSession&) -> Statements {
//            return {"ALTER TABLE Provider ADD COLUMN LogoFilename VARCHAR(255)"};
//        })},
//       {0.35841f, script(15)},
//   };
//
// Statement lists are built when their step runs, so they may ask the
// database for type words or whether a column exists.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "upgrade/upgrade_session.hpp"

namespace orvdb::upgrade {

using Statements = std::vector<std::string>;
using StatementBuilder = Statements (*)(UpgradeSession& session);

// A built-in script: works on the caller's connection, may push its own
// query levels, and leaves the caller's query as it found it.
using ScriptRoutine = void (*)(UpgradeSession& session);

struct ScriptEntry {
    int number = 0;
    ScriptRoutine routine = nullptr;
};

// The only library and procedure names the steps pass: the built-in scripts.
inline constexpr std::string_view kNoLibrary = "NO_DLL";
inline constexpr std::string_view kNoProcedure = "NO_PROCEDURE";

struct VersionStep {
    enum class Kind { Statements, Script };

    float target = 0;
    Kind kind = Kind::Statements;
    StatementBuilder statements = nullptr;  // Kind::Statements
    int script = 0;                         // Kind::Script
};

constexpr VersionStep statements(float target, StatementBuilder builder) {
    return VersionStep{target, VersionStep::Kind::Statements, builder, 0};
}
constexpr VersionStep script(float target, int number) {
    return VersionStep{target, VersionStep::Kind::Script, nullptr, number};
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

// A patch is either a fixed statement list applied through ApplyPatch, or a
// routine that tests the applied codes itself and records its own row.
struct NamedPatch {
    std::string_view code;
    StatementBuilder statements = nullptr;
    void (*custom)(UpgradeSession& session, const AppliedCodes& applied) = nullptr;
};

struct UpgradeCatalogue {
    std::string_view family;
    std::span<const VersionStep> steps;
    std::span<const NamedPatch> patches;
    std::span<const ScriptEntry> scripts;
    // Run by the driver after the steps and patches (may be null).
    void (*closingChecks)(UpgradeSession& session) = nullptr;
};

}  // namespace orvdb::upgrade
