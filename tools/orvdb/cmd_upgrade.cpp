// `orvdb upgrade --kind KIND`: opens the database of one kind the way the
// host does (through its Get_...Database export), runs Update and shows the
// upgrade's log with the version before and after. A manager database first
// gets the upgrade strings and, as Update's first argument, the host's rights
// management; what the upgrade told the rights management and the VAT rates
// it gave the host are shown after the log.
#include "cmd_upgrade.hpp"

#include "cli_context.hpp"

#include <orvdb/exports.h>
#include <orvdb/strings.h>
#include <orvdb/com_ptr.hpp>

#include <iostream>
#include <map>
#include <stdexcept>

#include "default_manager_strings.hpp"
#include "host/boundary_strings.hpp"
#include "host/folder_server_info.hpp"
#include "host/host_services.hpp"
#include "host/paths.hpp"
#include "host/rights_objects.hpp"
#include "host/string_collection.hpp"
#include "host/utf16.hpp"
#include "kinds/soft_database.hpp"

namespace orvdb::cli {

namespace {

std::string lastError() {
    return host::Bstr::adopt(OrvGetLastErrorMessage()).utf8();
}

OrvIServerInfo* toC(IServerInfo* info) {
    return reinterpret_cast<OrvIServerInfo*>(info);
}

ComPtr<iDatabase> openKind(const UpgradeTarget& options) {
    auto registry = host::registry();
    ComPtr<IServerInfo> info;
    OrvIDatabase* handle = nullptr;
    OrvHResult status = ORV_S_OK;
    const std::string& kind = options.kind;
    if (kind == "library") {
        info = host::makeFolderServerInfo(
            host::toUtf16(registry->get(host::registry_entry::kLibraryFolder)), u"XLib");
        status = Get_XLibDatabase(&handle, toC(info.get()));
    } else if (kind == "provider" || kind == "filling" || kind == "hardware") {
        if (options.provider.empty()) {
            throw std::runtime_error("--kind " + kind + " needs --provider NAME");
        }
        host::Bstr provider = host::Bstr::fromUtf8(options.provider);
        if (kind == "provider") {
            info = host::makeFolderServerInfo(
                host::toUtf16(registry->get(host::registry_entry::kDataRoot)), u"XLibData");
            status = Get_XLibDataDatabase(&handle, provider.get(), toC(info.get()));
        } else if (kind == "filling") {
            status = Get_FillingDatabase(&handle, provider.get());
        } else {
            status = Get_HardwareDatabase(&handle, provider.get());
        }
    } else if (kind == "manager" || kind == "workshop") {
        std::string name = kind == "workshop" ? "XMANDATA" : options.database;
        std::string file = kind == "workshop" ? "Xmandata" : options.database;
        if (name.empty()) {
            throw std::runtime_error(
                "--kind manager needs --database NAME (the file NAME.mdb of "
                "the workshop folder, registry entry 57)");
        }
        info = host::makeFolderServerInfo(
            host::toUtf16(registry->get(host::registry_entry::kWorkshopFolder)),
            host::toUtf16(file));
        host::HostString hostName = host::HostString::fromUtf8(name);
        status = Get_ManagerDatabase(&handle, hostName.get(), toC(info.get()));
    } else if (kind == "parameters") {
        info = host::makeFolderServerInfo(
            host::toUtf16(registry->get(host::registry_entry::kManagerParamFolder)), u"XManParam");
        status = Get_XManParamDatabase(&handle, toC(info.get()));
    } else if (kind == "language") {
        info = host::makeFolderServerInfo(
            host::toUtf16(registry->get(host::registry_entry::kLanguageFolder)), u"XLng");
        status = Get_XLngDatabase(&handle, toC(info.get()));
    }
    if (status != ORV_S_OK) {
        throw std::runtime_error(lastError());
    }
    if (!handle) {
        throw std::runtime_error("no " + kind +
                                 " database could be opened (see the message above)");
    }
    return ComPtr<iDatabase>::adopt(reinterpret_cast<iDatabase*>(handle));
}

std::string versionOf(iDatabase& db) {
    host::Bstr version;
    host::throwIfFailed(db.GetVersion(version.put()), "GetVersion");
    return version.utf8();
}

// The host hands a manager database its upgrade strings before Update.
void giveUpgradeStrings(iDatabase& db, const std::string& stringsFile) {
    ComPtr<IManagerStrings> target = ComPtr<iDatabase>(&db).as<IManagerStrings>();
    if (!target) {
        throw std::runtime_error("the manager database takes no upgrade strings");
    }
    std::vector<std::string> strings = stringsFile.empty()
                                           ? host::textLines(defaultManagerStrings())
                                           : host::readTextLines(stringsFile);
    ComPtr<IWideStringCollection> collection = host::makeStringCollection(std::move(strings));
    host::throwIfFailed(target->SetUpgradeStrings(collection.get()), "SetUpgradeStrings");
}

void printHostState(std::ostream& out) {
    if (auto* rights = dynamic_cast<host::MemoryRightsManager*>(host::rights().get())) {
        for (const std::string& line : rights->listing()) {
            out << "rights\t" << line << '\n';
        }
    }
    for (const host::VatRate& rate : host::vatRates()->rates()) {
        out << "vat rate\t" << rate.caption << '\t' << rate.rate << '\t' << rate.description
            << '\n';
    }
}

void runUpgrade(const UpgradeOptions& options) {
    if (options.all) {
        runUpgradeAll(options);
        return;
    }
    if (options.target.kind.empty()) {
        throw CLI::RequiredError("--kind KIND (one database) or --all");
    }
    UpgradeTarget target = options.target;
    if (options.databases.size() > 1) {
        throw CLI::ValidationError("--database", "is given once with --kind manager");
    }
    if (!options.databases.empty()) {
        target.database = options.databases.front();
    }
    upgradeDatabase(target, options.stringsFile, std::cout);
}

}  // namespace

UpgradeOutcome upgradeDatabase(const UpgradeTarget& target, const std::string& stringsFile,
                               std::ostream& out) {
    ComPtr<iDatabase> db = openKind(target);
    OrvWordBool opened = ORV_WFALSE;
    host::throwIfFailed(db->Get_Opened(&opened), "Get_Opened");
    if (!opened) {
        throw std::runtime_error("the " + target.kind + " database could not be opened");
    }
    auto& connection = dynamic_cast<kinds::TSoftDatabase&>(*db.get());
    UpgradeOutcome outcome;
    outcome.path = host::resolvePath(host::toUtf8(connection.path()));
    out << "database\t" << outcome.path << '\n';
    // The provider folder actually opened (another one when the asked
    // provider had no data file).
    if (ComPtr<iProviderName> named = db.as<iProviderName>()) {
        host::Bstr provider;
        if (named->Get_ProviderName(provider.put()) == ORV_S_OK) {
            out << "provider\t" << provider.utf8() << '\n';
        }
    }
    outcome.before = versionOf(*db);
    out << "version before\t" << outcome.before << '\n';

    const bool manager = target.kind == "manager";
    ComPtr<IRightsManager> rights;
    if (manager) {
        giveUpgradeStrings(*db, stringsFile);
        rights = host::makeRightsManagerObject(host::rights());
    }
    const OrvHResult status = db->Update(rights.get(), nullptr);
    const std::string failure = status == ORV_S_OK ? std::string() : lastError();
    for (const std::string& line : connection.lastUpgradeLog()) {
        out << "log\t" << line << '\n';
    }
    if (status != ORV_S_OK) {
        out.flush();
        throw std::runtime_error("upgrade failed: " + failure);
    }
    outcome.after = versionOf(*db);
    out << "version after\t" << outcome.after << '\n';
    if (manager) {
        printHostState(out);
    }
    return outcome;
}

void addUpgradeCommand(CLI::App& app) {
    static UpgradeOptions options;
    auto* cmd = app.add_subcommand(
        "upgrade",
        "Open the database of one kind (or every database of the data root) as the host does "
        "and bring it to the current schema, showing the upgrade log and the version before "
        "and after");
    auto* kind = cmd->add_option("--kind", options.target.kind, "Database kind")
                     ->check(CLI::IsMember({"library", "provider", "filling", "hardware", "manager",
                                            "workshop", "parameters", "language"}));
    cmd->add_flag("--all", options.all,
                  "Every database of the data root, in the host's order: library, provider "
                  "folders, workshop data, manager databases, manager parameters, language")
        ->excludes(kind);
    cmd->add_option("--provider", options.target.provider,
                    "Provider folder under <data root>/Providers (provider, filling, hardware)");
    cmd->add_option("--database", options.databases,
                    "Manager database name: the file NAME.mdb of the workshop folder (manager; "
                    "with --all, repeatable, and only these managers are upgraded)");
    cmd->add_option("--strings", options.stringsFile,
                    "Manager upgrade strings: a UTF-8 file, one text a line; entry 23 (the 24th "
                    "line) names the administrators (default: the bundled list)")
        ->check(CLI::ExistingFile);
    cmd->add_option("--progress", options.progress,
                    "With --all: a line per database on stderr, redrawn in place on a terminal "
                    "(auto, tty), or none")
        ->check(CLI::IsMember({"auto", "tty", "none"}))
        ->capture_default_str();
    cmd->callback([] { runUpgrade(options); });
}

}  // namespace orvdb::cli
