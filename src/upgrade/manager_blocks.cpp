#include "upgrade/manager_blocks.hpp"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/debug_output.hpp"
#include "host/host_services.hpp"
#include "host/sql_builders.hpp"
#include "upgrade/manager_views.hpp"
#include "upgrade/user_password.hpp"

namespace orvdb::upgrade {

namespace {

using std::string;

thread_local const ManagerRun* boundRun = nullptr;

// The blocks write numbers as the suite's formats do with %u.
string unsignedText(int32_t value) {
    return std::to_string(static_cast<uint32_t>(value));
}

string quoted(std::string_view text) {
    return host::Get_SQL_String(text);
}

void run(UpgradeSession& session, const string& sql) {
    Changes(session).run(sql);
}

// The first row's integer field, or `otherwise` when the select gives none.
int32_t firstInteger(UpgradeSession& session, const string& sql, const char* field,
                     int32_t otherwise) {
    Reader reader(session);
    return reader.open(sql) ? reader.integer(field) : otherwise;
}

int32_t lastIdentity(UpgradeSession& session) {
    return firstInteger(session, "SELECT @@IDENTITY AS Id", "Id", 0);
}

// ---- block 1 ----

struct GroupRight {
    host::RightsCategory category;
    const char* name;
    uint32_t mask;
};

// The company and project rights of an old group, taken from its access
// value by mask.
constexpr GroupRight kGroupRights[] = {
    {host::RightsCategory::company, "USER_RIGHT_COMPANY", 0x1000000},
    {host::RightsCategory::company, "USER_RIGHT_COMPANY_COMPANY_PARAMS", 0x100000},
    {host::RightsCategory::company, "URCCP_COMPANYINFO", 0x1000},
    {host::RightsCategory::company, "URCCP_DOCSMODELS", 0x2000},
    {host::RightsCategory::company, "URCCP_MARGINREBATES", 0x4000},
    {host::RightsCategory::company, "URCCP_PROVIDERS", 0x8000},
    {host::RightsCategory::company, "URCCP_TECHICALPREF", 0x10000},
    {host::RightsCategory::company, "URCCP_USERS", 0x20000},
    {host::RightsCategory::company, "URCCP_USERSTEXTS", 0x80000},
    {host::RightsCategory::company, "USER_RIGHT_COMPANY_ARTICLES_CATALOG", 0x200000},
    {host::RightsCategory::company, "USER_RIGHT_COMPANY_HARDWARE", 0x400000},
    {host::RightsCategory::projects, "USER_RIGHT_PROJECTS", 0x2000000},
    {host::RightsCategory::projects, "URP_DOCUMENTS", 0x800000},
    {host::RightsCategory::projects, "URPD_ORDERBON_COEF_VISIBLE", 0x40000},
    {host::RightsCategory::projects, "URPD_MAKINGMAP", 0x1},
    {host::RightsCategory::projects, "URPD_CUTMAKINGMAP", 0x4},
    {host::RightsCategory::projects, "URPD_ORDERBON", 0x8},
    {host::RightsCategory::projects, "URPD_DELIVERYLIST", 0x10},
    {host::RightsCategory::projects, "URPD_PRICENOTE", 0x20},
    {host::RightsCategory::projects, "URPD_SYNTHESIS", 0x40},
};

// Every old group is read with this access value, whatever it stored.
constexpr uint32_t kOldGroupAccess = 0xFFFF;

struct QuoteRight {
    int operation;
    const char* name;
};

// The quote right each operation number of RightsDevis grants. The export
// and import rights towards outside programs (360 to 422) carry this host's
// names.
constexpr QuoteRight kQuoteRights[] = {
    {100, "URD_ARTICLES_FRNS_POPUP_ITEM"},
    {101, "URD_FRAME_POPUP_ITEM"},
    {102, "URD_GATE_POPUP_ITEM"},
    {103, "URD_COMPOSITION_POPUP_ITEM"},
    {104, "URD_CONSERVATORY_POPUP_ITEM"},
    {105, "URD_CURTAINWALL_POPUP_ITEM"},
    {106, "URD_PARAPET_POPUP_ITEM"},
    {120, "URD_ARTICLES_UPDATE_POPUP_ITEM"},
    {140, "URD_ARTICLES_DEL_POPUP_ITEM"},
    {160, "URD_ARTICLES_CREATE_POPUP_ITEM"},
    {180, "URD_ARTICLES_NEWARTICLE_POPUP_ITEM"},
    {200, "URD_ARTICLES_DELVARIANTE_POPUP_ITEM"},
    {220, "URD_ARTICLES_CREATEGROUPOPTION_POPUP_ITEM"},
    {240, "URD_ARTICLES_CREATECOPY_POPUP_ITEM"},
    {260, "URD_ARTICLES_NEWOPTION_POPUP_ITEM"},
    {280, "URD_ARTICLES_CREATEGROUP_POPUP_ITEM"},
    {300, "URD_ARTICLES_NEWGROUP_POPUP_ITEM"},
    {320, "URD_ARTICLES_NEWVARIANTE_POPUP_ITEM"},
    {340, "URD_OPERATIONS_POPUP_ITEM"},
    {360, "URD_EXTERNAL_EXPORT_POPUP_ITEM"},
    {380, "URD_EXTERNAL_IMPORT_POPUP_ITEM"},
    {381, "URD_EXTERNAL_CONSTRUCTION_EXPORT_POPUP_ITEM"},
    {383, "URD_EXTERNAL_CONSTRUCTION_IMPORT_POPUP_ITEM"},
    {384, "URD_EXTERNAL_PROJECT_EXPORT_POPUP_ITEM"},
    {401, "URD_CONSTRUCTION_UPDATE_POPUP_ITEM"},
    {402, "URD_CONSTRUCTION_DELETE_POPUP_ITEM"},
    {403, "URD_CONSTRUCTION_RENAME_POPUP_ITEM"},
    {404, "URD_CONSTRUCTION_IMPORT_POPUP_ITEM"},
    {405, "URD_CONSTRUCTION_EXPORT_POPUP_ITEM"},
    {406, "URD_CONSTRUCTION_COPY_POPUP_ITEM"},
    {407, "URD_CONSTRUCTION_PASTE_POPUP_ITEM"},
    {408, "URD_CONSTRUCTION_CMPIMPORT_POPUP_ITEM"},
    {409, "URD_CONSTRUCTION_RESTORE_POPUP_ITEM"},
    {410, "URD_CONSTRUCTION_DESCRIPTION_POPUP_ITEM"},
    {420, "URD_EXPORT_MULTIEXPORT_POPUP_ITEM"},
    {421, "URD_IMPORT_MULTIEXPORT_POPUP_ITEM"},
    {422, "URD_EXTERNAL_MULTIEXPORT_POPUP_ITEM"},
    {423, "URD_LABOUR_CREATE_POPUP_ITEM"},
    {720, "URD_FORMULA_CREATE_POPUP_ITEM"},
    {800, "URD_DISCOUNT_CREATE_POPUP_ITEM"},
    {840, "URD_DISCOUNT_DELETE_POPUP_ITEM"},
    {860, "URD_DISCOUNT_RENAME_POPUP_ITEM"},
    {880, "URD_DEVIS_SAVE_POPUP_ITEM"},
    {900, "URD_LABOUR_DELETE_POPUP_ITEM"},
    {1000, "URD_DEVIS_INFO_ITEM"},
    {1020, "URD_SPECIALVAT_CREATE_POPUP_ITEM"},
    {1030, "URD_SPECIALVAT_DELETE_POPUP_ITEM"},
    {1120, "URD_VARIATION_CREATE_POPUP_ITEM"},
    {10000, "URD_PLUGIN_MENU_ROOT_NODE"},
};

const char* quoteRightOf(int32_t operation) {
    for (const QuoteRight& right : kQuoteRights) {
        if (right.operation == operation) {
            return right.name;
        }
    }
    return nullptr;
}

// The group the host's rights management has selected gets its company and
// project rights, then a quote right for each operation of RightsDevis.
void transferGroupRights(UpgradeSession& session, host::RightsManager& rights) {
    for (host::RightsCategory category :
         {host::RightsCategory::company, host::RightsCategory::projects}) {
        host::RightsList& list = rights.rights(category);
        for (const GroupRight& right : kGroupRights) {
            if (right.category == category) {
                list.setRight(right.name, (kOldGroupAccess & right.mask) == right.mask);
            }
        }
    }
    host::RightsList& quotes = rights.rights(host::RightsCategory::quotes);
    Reader operations(session);
    for (bool row =
             operations.open("SELECT id, node_type, id_operation FROM RightsDevis WHERE 1=1");
         row; row = operations.next()) {
        if (const char* name = quoteRightOf(operations.integer("id_operation"))) {
            quotes.setRight(name, true);
        }
    }
}

string userInsert(std::string_view userName, int32_t group, std::string_view password) {
    return "INSERT INTO ApplicationUsers (UserName, RightsModel, UserPassword) VALUES (" +
           quoted(userName) + ", " + std::to_string(group) + ", " + quoted(password) + ")";
}

// ---- block 2 ----

int8_t lowByte(int32_t value) {
    return static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF));
}

// The falling mode codes before and after: 3 and 5 merged into 2 and 1.
int32_t newFallingCode(int32_t value) {
    switch (lowByte(value)) {
        case 0:
            return 0;
        case 1:
        case 5:
            return 1;
        case 2:
        case 3:
            return 2;
        case 4:
            return 3;
        case 6:
            return 4;
        default:
            return 1;
    }
}

// A quote's old computation method as a falling code.
int32_t methodAsFallingCode(int32_t value) {
    switch (lowByte(value)) {
        case 3:
            return 3;
        case 4:
            return 4;
        default:
            return 1;
    }
}

struct Remap {
    const char* select;
    const char* field;
    const char* update;
    int32_t (*code)(int32_t);
};

int32_t quoteMethodCode(int32_t value) {
    return newFallingCode(methodAsFallingCode(value));
}

constexpr Remap kRemaps[] = {
    {"SELECT Id, FallingMode FROM CompanyData", "FallingMode",
     "UPDATE CompanyData Set FallingMode=", newFallingCode},
    {"SELECT Id, COMPMETHOD FROM DEVIS", "COMPMETHOD",
     "UPDATE DEVIS Set COMPMETHOD=", quoteMethodCode},
    {"SELECT Id, COMPUTETYPE FROM Devis_info_formula", "COMPUTETYPE",
     "UPDATE Devis_info_formula Set COMPUTETYPE=", newFallingCode},
};

// ---- block 8 ----

struct ComputationMode {
    const char* languageInsert;
    const char* name;
    int32_t priceMode;
};

constexpr ComputationMode kFirstModes[] = {
    {"INSERT INTO zv_Language(Name, Français, Nederlands, Deutsch, English)  VALUES "
     "('Fixed price', 'Prix fixé', 'Vaste prijs', 'Festpreis', 'Fixed price')",
     "Fixed", 1},
    {"INSERT INTO zv_Language(Name, Français, Nederlands, Deutsch, English)  VALUES "
     "('Real price', 'Prix réel', 'Reële prijs', 'Realpreis', 'Real price')",
     "Real price", 1},
    {"INSERT INTO zv_Language(Name, Français, Nederlands, Deutsch, English)  VALUES "
     "('Price real waste', 'Prix chutes réelles', 'Prijs met reëel afval', "
     "'Preis wirkliche Fälle', 'Price real waste')",
     "Price real waste", 3},
};
constexpr std::string_view kDefaultModeName = "Price real waste";

constexpr ComputationMode kFixedWasteMode = {
    "INSERT INTO zv_Language(Name, Français, Nederlands, Deutsch, English)  VALUES "
    "('Price fixed waste', 'Prix chutes forfaitaires', 'Prijs met vast afval', "
    "'Fallpreis forfétaires', 'Price fixed waste')",
    "Price fixed waste", 4};

// The mode, its label and its data for the two kinds of material; returns
// the new mode's id.
int32_t createMode(UpgradeSession& session, const ComputationMode& mode) {
    run(session, mode.languageInsert);
    const int32_t label = lastIdentity(session);
    run(session, "INSERT INTO ComputesModes (Name, TranslationId) VALUES (" + quoted(mode.name) +
                     ", " + unsignedText(label) + ")");
    const int32_t id = lastIdentity(session);
    for (int32_t material : {3, 6}) {
        const int32_t packaging = material == 3 ? 2 : 1;
        run(session,
            "INSERT INTO ComputesModesData (ComputesModesId, MaterialObjectType, PackagingMode, "
            "PriceMode) VALUES (" +
                unsignedText(id) + ", " + unsignedText(material) + ", " + unsignedText(packaging) +
                ", " + unsignedText(mode.priceMode) + ")");
    }
    return id;
}

string modeIdQuery(std::string_view name) {
    return "SELECT Id From ComputesModes WHERE Name=" + quoted(name);
}

}  // namespace

// ---- the run ----

ManagerRunScope::ManagerRunScope(ManagerRun run) : run_(std::move(run)), outer_(boundRun) {
    boundRun = &run_;
}

ManagerRunScope::~ManagerRunScope() {
    boundRun = outer_;
}

const ManagerRun& currentManagerRun() {
    if (!boundRun) {
        throw std::logic_error("manager upgrade: a block ran outside a manager upgrade run");
    }
    return *boundRun;
}

// ---- the blocks ----

void rebuildUsersAndRightsGroups(UpgradeSession& session) {
    const ManagerRun& manager = currentManagerRun();
    const string& administrator = manager.administrator;
    // Checked before the tables are dropped: the groups must have somewhere to go.
    if (!manager.rights) {
        throw std::logic_error("manager upgrade: no rights management to hand the groups to");
    }
    // The name goes in unquoted: one with an apostrophe makes the select
    // fail, which counts as no group.
    if (firstInteger(session,
                     "SELECT count (ID) As ZV_Count FROM ApplicationUserRightGroups Where "
                     "RightsGroupName='" +
                         administrator + "'",
                     "ZV_Count", 0) == 1) {
        return;
    }
    {
        Changes changes(session);
        changes.run("DROP Table ApplicationUserRightGroups");
        changes.run(
            "CREATE TABLE ApplicationUserRightGroups (ID AUTOINCREMENT PRIMARY KEY, "
            "RightsGroupName VARCHAR(50),  RightsACL OLEOBJECT, RightsCheck VARCHAR(50) )");
        changes.run("DROP Table ApplicationUsers");
        changes.run(
            "CREATE TABLE ApplicationUsers (ID AUTOINCREMENT PRIMARY KEY, UserName VARCHAR(50), "
            "UserStatus VARCHAR(50),  RightsModel LONG, UserPassword VARCHAR(50), "
            "UserCheck VARCHAR(50))");
    }
    host::RightsManager& rights = *manager.rights;
    rights.setAdministratorGroup(administrator);

    if (session.tableExists("TmpApplicationUserRightGroups")) {
        Reader groups(session);
        for (bool row = groups.open("SELECT Id, RightsGroupName, RightsACL, RightsCheck "
                                    "FROM TmpApplicationUserRightGroups WHERE 1=1");
             row; row = groups.next()) {
            rights.selectGroup(groups.text("RightsGroupName"));
            transferGroupRights(session, rights);
        }
    }

    run(session, userInsert(administrator, 1, HashUserPassword("")));

    if (session.tableExists("TmpApplicationUsers")) {
        Reader users(session);
        for (bool row = users.open("SELECT U.UserName, U.RightsModel, U.UserPassword, U.UserCheck, "
                                   "TR.RightsGroupName FROM TmpApplicationUsers U LEFT JOIN "
                                   "TmpApplicationUserRightGroups TR ON TR.Id = U.RightsModel");
             row; row = users.next()) {
            const string group =
                users.integer("RightsModel") == 0 ? administrator : users.text("RightsGroupName");
            const int32_t groupId =
                firstInteger(session,
                             "SELECT Id FROM ApplicationUserRightGroups WHERE RightsGroupName = " +
                                 quoted(group) + " ",
                             "Id", 1);
            // The stored hash as it stands: the password itself is unknown.
            run(session, userInsert(users.text("UserName"), groupId, users.text("UserPassword")));
        }
    }
}

void remapComputationCodes(UpgradeSession& session) {
    for (const Remap& remap : kRemaps) {
        std::vector<std::pair<int32_t, int32_t>> changes;  // id, new code
        {
            Reader reader(session);
            for (bool row = reader.open(remap.select); row; row = reader.next()) {
                changes.emplace_back(reader.integer("Id"), remap.code(reader.integer(remap.field)));
            }
        }
        for (const auto& [id, code] : changes) {
            run(session, remap.update + unsignedText(code) + " WHERE ID=" + unsignedText(id));
        }
    }
}

void addReportLabels(UpgradeSession& session) {
    struct Label {
        const char* title;
        const char* insert;
    };
    static constexpr Label kLabels[] = {
        {"Devis tableau",
         "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
         "VALUES  ('Devis tableau', 'Devis tableau', '', 'Quote Table', '', 0)"},
        {"Rapport commercial",
         "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
         "VALUES  ('Rapport commercial', 'Rapport commercial', '', 'Commercial Report', '', 0)"},
        {"Rapport commercial détaillé",
         "INSERT INTO [Language] (Name, Français, Nederlands, English, deutsch, RefGroup) "
         "VALUES  ('Rapport commercial détaillé', 'Rapport commercial détaillé', '', "
         "'Detailed commercial report', '', 0)"},
    };
    for (const Label& label : kLabels) {
        run(session, label.insert);
        const int32_t id = lastIdentity(session);
        run(session, "Update TemplatesDocsPaths Set id_lng=" + unsignedText(id) + " WHERE Title='" +
                         label.title + "'");
    }
}

void renameLanguageAndTreeModes(UpgradeSession& session) {
    std::shared_ptr<host::DatabaseConnector> connector = host::databaseConnector();
    iDatabase& database = session.database();
    connector->renameTable(&database, "Language", "ZV_Language", 1, 0);
    connector->renameColumn(&database, "RightOnRessources", "RIGHT", "zvRight",
                            session.typeWord(2, 255), 1, 0);

    for (std::string_view statement :
         {std::string_view("DROP TABLE AllLabourRate"), manager_views::kLabourRatesOfZvLanguage,
          std::string_view("DROP TABLE RESSOURCESWITHRIGHTS")}) {
        try {
            run(session, string(statement));
        } catch (const std::exception& e) {
            host::debugTrace(string(e.what()) + " " + string(statement));
        }
    }

    std::vector<int32_t> people;
    {
        Reader reader(session);
        for (bool row = reader.open("SELECT Id From PEOPLE"); row; row = reader.next()) {
            people.push_back(reader.integer("Id"));
        }
    }
    for (int32_t id : people) {
        run(session, "INSERT INTO Contacts (id, PeopleId) VALUES (" + unsignedText(id) + ", " +
                         unsignedText(id) + ")");
    }

    connector->renameTable(&database, "TitleTree_Mode", "TreeHeader_Mode", 1, 0);
}

void createComputationModes(UpgradeSession& session) {
    const bool addColumn = !session.fieldExists("DEVIS", "ComputesModesId");
    if (addColumn) {
        run(session, "ALTER TABLE DEVIS  ADD COLUMN ComputesModesId " + session.typeWord(0));
        run(session, "UPDATE DEVIS SET ComputesModesId=0");
    }

    int32_t defaultMode = 0;
    try {
        defaultMode = firstInteger(session, "SELECT DefaultComputesModesId FROM CompanyData",
                                   "DefaultComputesModesId", 0);
    } catch (const std::exception& e) {
        host::debugTrace(string("reading the default computation mode: ") + e.what());
        defaultMode = 0;
    }

    if (firstInteger(session, "SELECT COUNT(Id) AS TotalCount From ComputesModes", "TotalCount",
                     0) == 0) {
        for (const ComputationMode& mode : kFirstModes) {
            const int32_t id = createMode(session, mode);
            if (defaultMode == 0 && mode.name == kDefaultModeName) {
                defaultMode = id;
            }
        }
    }
    if (defaultMode == 0) {
        defaultMode = firstInteger(session, modeIdQuery(kDefaultModeName), "Id", 0);
    }

    if (addColumn) {
        run(session, "UPDATE DEVIS SET ComputesModesId=" + unsignedText(defaultMode));
    }
    run(session, "UPDATE CompanyData SET DefaultComputesModesId=" + unsignedText(defaultMode));
    run(session, "UPDATE Devis_info_construction SET ComputesModesId=" + unsignedText(defaultMode));

    {
        Reader reader(session);
        if (!reader.open(modeIdQuery(kFixedWasteMode.name))) {
            createMode(session, kFixedWasteMode);
        }
    }

    run(session,
        "UPDATE DossierDevisTreeNodes Set NodeStatus=2 WHERE NodeType  in "
        "(5,5,6,7,8,9,10,102, 103)");
    run(session, "UPDATE DossierDevisTreeNodes Set NodeStatus=3 WHERE NodeType  in (104,105)");
}

void nameVatRatesAndCurrencies(UpgradeSession& session) {
    std::shared_ptr<host::VatRateList> vatRates = host::vatRates();
    if (vatRates->empty()) {
        Reader reader(session);
        for (bool row = reader.open("SELECT Caption, Rate, Description FROM VAT"); row;
             row = reader.next()) {
            vatRates->add(host::VatRate{reader.text("Caption"),
                                        static_cast<double>(reader.number("Rate")),
                                        reader.text("Description")});
        }
        vatRates->close();
    }

    run(session, "ALTER TABLE DEVIS ADD COLUMN VATRateName VARCHAR (50)");
    run(session, "ALTER TABLE DEVIS ADD COLUMN DeviseName VARCHAR (50)");

    struct Quote {
        int32_t id, vat, currency;
    };
    std::vector<Quote> quotes;
    {
        Reader reader(session);
        for (bool row = reader.open("SELECT Id, VATID, DeviseID FROM Devis"); row;
             row = reader.next()) {
            quotes.push_back(
                {reader.integer("Id"), reader.integer("VATID"), reader.integer("DeviseID")});
        }
    }
    std::shared_ptr<host::CurrencyList> currencies = host::currencies();
    for (const Quote& quote : quotes) {
        string vatName;
        {
            Reader reader(session);
            if (reader.open("SELECT CAPTION FROM VAT WHERE Id=" + unsignedText(quote.vat))) {
                vatName = reader.text("CAPTION");
            }
        }
        const string currency = currencies->currencyName(quote.currency <= 0 ? 1 : quote.currency);
        run(session, "UPDATE Devis SET VATRateName=" + quoted(vatName) + ", DeviseName=" +
                         quoted(currency) + "  WHERE Id=" + unsignedText(quote.id));
    }

    run(session, "ALTER TABLE DEVIS DROP COLUMN DeviseID");
    run(session, "ALTER TABLE DEVIS DROP COLUMN VATID");
}

void recordVersionOnly(UpgradeSession&) {}

void addProjectLanguage(UpgradeSession& session) {
    if (session.fieldExists("DOSSIERS", "LanguageId")) {
        return;
    }
    run(session, "ALTER TABLE DOSSIERS ADD COLUMN LanguageId " + session.typeWord(0));
    run(session, "UPDATE DOSSIERS SET LanguageId=" + unsignedText(host::registry()->languageId()));
}

}  // namespace orvdb::upgrade
