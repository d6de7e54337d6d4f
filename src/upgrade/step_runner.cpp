#include "upgrade/step_runner.hpp"

#include <charconv>

#include "base/names.hpp"
#include "upgrade/version_number.hpp"

namespace orvdb::upgrade {

bool AppliedCodes::contains(std::string_view code) const {
    for (const std::string& applied : codes_) {
        if (base::sameName(applied, code)) {
            return true;
        }
    }
    return false;
}

float targetVersion(std::string_view target) {
    float value = 0;
    auto result = std::from_chars(target.data(), target.data() + target.size(), value);
    if (result.ec != std::errc() || result.ptr != target.data() + target.size()) {
        throw std::invalid_argument("upgrade: '" + std::string(target) + "' is not a version");
    }
    return value;
}

namespace {

// The rows [begin, end) of one step or patch: consecutive rows with its key.
size_t endOfGroup(std::span<const UpgradeRow> rows, size_t begin) {
    size_t end = begin + 1;
    while (end < rows.size() && rows[end].key == rows[begin].key) {
        ++end;
    }
    return end;
}

void runRows(UpgradeSession& session, std::span<const UpgradeRow> rows) {
    for (const UpgradeRow& row : rows) {
        if (row.kind == RowKind::Script) {
            row.routine(session);
        } else {
            session.open(row.sql);
        }
    }
}

std::string versionUpdate(const UpgradeCatalogue& catalogue, std::string_view target) {
    if (catalogue.versionText == VersionText::AsWritten) {
        return "UPDATE Version SET Version=" + std::string(target);
    }
    return versionUpdateSql(targetVersion(target));
}

}  // namespace

int runCatalogue(UpgradeSession& session, const UpgradeCatalogue& catalogue,
                 const AppliedCodes& applied, float version) {
    int done = 0;
    for (size_t begin = 0, end = 0; begin < catalogue.steps.size(); begin = end) {
        end = endOfGroup(catalogue.steps, begin);
        std::string_view target = catalogue.steps[begin].key;
        if (!versionBelow(version, targetVersion(target))) {
            continue;
        }
        runRows(session, catalogue.steps.subspan(begin, end - begin));
        session.open(versionUpdate(catalogue, target));
        ++done;
    }
    for (size_t begin = 0, end = 0; begin < catalogue.patches.size(); begin = end) {
        end = endOfGroup(catalogue.patches, begin);
        std::string_view code = catalogue.patches[begin].key;
        if (applied.contains(code)) {
            continue;
        }
        runRows(session, catalogue.patches.subspan(begin, end - begin));
        session.open("INSERT INTO ZV_VersionCode (zvCode) VALUES ('" + std::string(code) + "')");
        ++done;
    }
    return done;
}

}  // namespace orvdb::upgrade
