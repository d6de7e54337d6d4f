// `orvdb upgrade --all`: every database of the data root, found where the
// host finds each kind and upgraded in the host's order: the library, each
// provider folder, the workshop data, the manager databases of the workshop
// folder, the manager parameters and the language database. One database
// that fails does not stop the others; the command then exits 1 naming it.
#include "cmd_upgrade.hpp"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <stdexcept>

#include "base/names.hpp"
#include "cmd_upgrade_progress.hpp"
#include "host/host_services.hpp"
#include "host/paths.hpp"
#include "kinds/provider_database.hpp"

namespace orvdb::cli {

namespace {

namespace fs = std::filesystem;
using namespace host::registry_entry;

std::string folderOf(int entry) {
    return host::registry()->get(entry);
}

bool sameFolder(int first, int second) {
    return base::foldName(host::resolvePath(folderOf(first))) ==
           base::foldName(host::resolvePath(folderOf(second)));
}

std::vector<std::string> sortedByName(std::vector<std::string> names) {
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return base::foldName(a) < base::foldName(b);
    });
    return names;
}

// The NAME.mdb files of the workshop folder that are neither the workshop
// data nor the manager parameters.
std::vector<std::string> managerDatabases() {
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(host::resolvePath(folderOf(kWorkshopFolder)), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code typeError;
        const fs::path& path = it->path();
        if (!it->is_regular_file(typeError) ||
            base::foldName(path.extension().string()) != ".mdb") {
            continue;
        }
        const std::string stem = path.stem().string();
        const bool parameters =
            base::sameName(stem, "XManParam") && sameFolder(kWorkshopFolder, kManagerParamFolder);
        if (!base::sameName(stem, "Xmandata") && !parameters) {
            names.push_back(stem);
        }
    }
    return sortedByName(std::move(names));
}

std::vector<UpgradeTarget> databasesOfTheRoot(const std::vector<std::string>& managers) {
    std::vector<UpgradeTarget> targets;
    if (host::fileExists(folderOf(kLibraryFolder) + "XLib.Mdb")) {
        targets.push_back({"library", "", ""});
    }
    for (const std::string& folder : sortedByName(kinds::ListProviderFolders())) {
        targets.push_back({"provider", folder, ""});
    }
    if (host::fileExists(folderOf(kWorkshopFolder) + "Xmandata.mdb")) {
        targets.push_back({"workshop", "", ""});
    }
    // Managers named on the command line are upgraded even when their file
    // is missing, so that the missing file is reported.
    for (const std::string& name : managers.empty() ? managerDatabases() : managers) {
        targets.push_back({"manager", "", name});
    }
    if (host::fileExists(folderOf(kManagerParamFolder) + "XManParam.Mdb")) {
        targets.push_back({"parameters", "", ""});
    }
    if (host::fileExists(folderOf(kLanguageFolder) + "XLng.mdb")) {
        targets.push_back({"language", "", ""});
    }
    return targets;
}

std::string labelOf(const UpgradeTarget& target) {
    if (!target.provider.empty()) {
        return target.kind + " " + target.provider;
    }
    if (!target.database.empty()) {
        return target.kind + " " + target.database;
    }
    return target.kind;
}

// Each manager upgrade tells the host its rights groups and VAT rates: a
// fresh rights management and VAT list per database keeps one manager's
// from showing under the next.
void freshManagerHostObjects() {
    host::HostServices services;
    services.rights = std::make_shared<host::MemoryRightsManager>();
    services.vatRates = std::make_shared<host::MemoryVatRateList>();
    host::installHostServices(std::move(services));
}

}  // namespace

void runUpgradeAll(const UpgradeOptions& options) {
    const std::vector<UpgradeTarget> targets = databasesOfTheRoot(options.databases);
    if (targets.empty()) {
        throw std::runtime_error("no database to upgrade under the data root " +
                                 folderOf(kDataRoot) + " (library XLib.Mdb in " +
                                 folderOf(kLibraryFolder) + ", provider folders in " +
                                 folderOf(kDataRoot) +
                                 "Providers/, workshop and manager "
                                 "databases in " +
                                 folderOf(kWorkshopFolder) + ")");
    }
    UpgradeProgress progress(UpgradeProgress::modeFor(options.progress, stderr), stderr,
                             static_cast<int>(targets.size()));
    std::vector<std::string> failed;
    for (const UpgradeTarget& target : targets) {
        const std::string label = labelOf(target);
        std::cout << "kind\t" << target.kind << '\n';
        progress.begin(label);
        if (target.kind == "manager") {
            freshManagerHostObjects();
        }
        try {
            UpgradeOutcome outcome = upgradeDatabase(target, options.stringsFile, std::cout);
            progress.succeeded(outcome.before, outcome.after);
        } catch (const std::exception& e) {
            std::cout << "error\t" << e.what() << '\n';
            std::cout.flush();
            progress.failed(e.what());
            failed.push_back(label);
        }
    }
    std::cout.flush();
    if (!failed.empty()) {
        std::string names;
        for (const std::string& label : failed) {
            names += (names.empty() ? "" : ", ") + label;
        }
        throw std::runtime_error(
            std::to_string(failed.size()) + " of " + std::to_string(targets.size()) +
            " databases could not be upgraded: " + names + " (their error lines say why)");
    }
}

}  // namespace orvdb::cli
