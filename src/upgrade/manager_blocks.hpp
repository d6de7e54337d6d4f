// The manager versions whose work is a routine: data migrations that read
// rows, walk tables and call the host. Each pushes query levels of its own
// around the selects it walks and the statements it issues, and leaves the
// caller's level as it found it.
#pragma once

#include <memory>
#include <string>

#include "host/rights.hpp"
#include "upgrade/catalogue.hpp"

namespace orvdb::upgrade {

// What the blocks use besides the database, for one run of the manager
// upgrade. The catalogue's routines take only the session, so the driver
// binds the run to the calling thread for as long as the steps run.
struct ManagerRun {
    std::shared_ptr<host::RightsManager> rights;
    // Names the administrators' rights group and the first application user.
    std::string administrator;
};

class ManagerRunScope {
public:
    explicit ManagerRunScope(ManagerRun run);
    ~ManagerRunScope();
    ManagerRunScope(const ManagerRunScope&) = delete;
    ManagerRunScope& operator=(const ManagerRunScope&) = delete;

private:
    ManagerRun run_;
    const ManagerRun* outer_;
};

// The run bound to this thread; throws std::logic_error when there is none.
const ManagerRun& currentManagerRun();

// Block 1 (1.68): unless a rights group is already named after the
// administrator, the users and rights-group tables are made anew; the
// administrator's name and each old group with its rights go to the host's
// rights management; the administrator (empty password) and every old user
// are inserted again.
void rebuildUsersAndRightsGroups(UpgradeSession& session);

// Block 2 (1.77): the falling modes, quote computation methods and formula
// computation types take their new codes.
void remapComputationCodes(UpgradeSession& session);

// Block 3 (1.79): labels for three report templates.
void addReportLabels(UpgradeSession& session);

// Block 6 (1.94): Language becomes ZV_Language and TitleTree_Mode
// TreeHeader_Mode through the host's database connector, RightOnRessources'
// RIGHT becomes zvRight; AllLabourRate is made again on ZV_Language; every
// person gets a contact row.
void renameLanguageAndTreeModes(UpgradeSession& session);

// Block 8 (2.0): the computation modes and their data, the quotes' and the
// company's default mode, and the status of the construction and formula
// nodes.
void createComputationModes(UpgradeSession& session);

// Block 9 (2.1): the host's VAT rates from the VAT table when it has none;
// each quote's VAT rate and currency numbers become their names.
void nameVatRatesAndCurrencies(UpgradeSession& session);

// Block 10 (2.11): nothing but its version.
void recordVersionOnly(UpgradeSession& session);

// Block 11 (2.12): projects get the language of the host's registry
// information.
void addProjectLanguage(UpgradeSession& session);

}  // namespace orvdb::upgrade
