#include "kinds/soft_database.hpp"

#include <sys/stat.h>

#include "host/host_services.hpp"
#include "host/paths.hpp"
#include "host/utf16.hpp"
#include "upgrade/upgrade_session.hpp"

namespace orvdb::kinds {

namespace {

// The read-only attribute of a suite file: no one may write it.
bool isReadOnlyFile(const std::string& path) {
    struct stat info {};
    if (::stat(host::resolvePath(path).c_str(), &info) != 0) {
        return false;
    }
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

}  // namespace

bool TSoftDatabase::CheckDatabaseFile(std::string& path, std::string& /*providerName*/,
                                      bool quiet) {
    if (host::fileExists(path)) {
        if (isReadOnlyFile(path)) {
            host::showMessage(path + " has read \"only attributes\"");
            return false;
        }
        return true;
    }
    if (!quiet) {
        host::showMessage(path + " doesnt exist");
    }
    return false;
}

std::u16string TSoftDatabase::version() {
    std::u16string result = u"0.0";
    upgrade::UpgradeSession session(*this);
    upgrade::QueryLevel level(session);
    upgrade::QueryHandle query = session.current();
    query.open("SELECT Version FROM Version");
    if (query.active()) {
        result = host::toUtf16(query.fieldText("Version"));
    }
    return result;
}

ComPtr<iDatabase> openOrDrop(ComPtr<iDatabase> database) {
    host::throwIfFailed(database->Open(), "Open");
    OrvWordBool opened = ORV_WFALSE;
    host::throwIfFailed(database->Get_Opened(&opened), "Get_Opened");
    if (!opened) {
        return {};
    }
    return database;
}

std::string registryPath(int entry, std::string_view rest) {
    std::string path = host::registry()->get(entry);
    path.append(rest);
    return path;
}

std::string parametersFilePath() {
    return registryPath(host::registry_entry::kParametersFolder, "Velmardix_Params.dat");
}

}  // namespace orvdb::kinds
