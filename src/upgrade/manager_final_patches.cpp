#include "upgrade/manager_final_patches.hpp"

#include <string>
#include <string_view>

#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::upgrade {

namespace {

constexpr std::string_view kPolishLabels[] = {
    "UPDATE zv_Language SET Polski = 'Sprawozdania naukowe' WHERE Name='SCIENTIFIC_REPORTS' ",
    "UPDATE zv_Language SET Polski = 'Bliczenia statyczne' WHERE Name='Calcul statique' ",
    "UPDATE zv_Language SET Polski = 'Obliczenie termiczny' WHERE Name='Calcul thermique' ",
    "UPDATE zv_Language SET Polski = 'Cytat Tabela' WHERE Name='Devis tableau' ",
    "UPDATE zv_Language SET Polski = 'Raport Gospodarczy' WHERE Name='Rapport commercial' ",
    "UPDATE zv_Language SET Polski = 'Szczegółowy raport handlowa' "
    "WHERE Name='Rapport commercial détaillé' ",
    "UPDATE zv_Language SET Polski = 'Stała cena' WHERE Name='Fixed price' ",
    "UPDATE zv_Language SET Polski = 'Cena bez odpadów' WHERE Name='Real price' ",
    "UPDATE zv_Language SET Polski = 'Cena prawdziwe odpadów' WHERE Name='Price real waste' ",
    "UPDATE zv_Language SET Polski = 'Cena ustalona odpadów' WHERE Name='Price fixed waste' ",
};

// The engine's keyword for changing a column's type ("ALTER COLUMN").
std::string alterColumnKeyword(iDatabase& database) {
    host::Bstr text;
    host::throwIfFailed(database.Get_AlterColumnText(0, text.put()), "Get_AlterColumnText");
    return text.utf8();
}

}  // namespace

void runManagerFinalPatches(UpgradeSession& session) {
    QueryLevel level(session);
    session.setCommandMode();

    // A statement the engine rejects is dropped quietly by the query; only
    // an engine that raises on ALTER COLUMN gets the other form.
    const std::string name255 = session.typeWord(2, 255);
    try {
        session.open("ALTER TABLE DOSSIERDEVISTREENODES " + alterColumnKeyword(session.database()) +
                     " NAME  " + name255);
    } catch (const std::exception&) {
        session.open("ALTER TABLE DOSSIERDEVISTREENODES  MODIFY  NAME  " + name255);
    }

    const std::string counter = session.typeWord(8);
    const std::string integer = session.typeWord(0);
    if (!session.tableExists("ARTUNICID")) {
        session.open("CREATE TABLE ARTUNICID ( ID " + counter + " PRIMARY KEY  , SERVERID " +
                     integer + " , PROJECTID " + integer + " , STRUCTID " + integer +
                     " , SUBSTRUCTID " + integer + " , IDINPRJ " + integer + " , IDINSTRUCT " +
                     integer + ")");
    }
    if (!session.tableExists("SERVERSID")) {
        session.open("CREATE TABLE SERVERSID ( ID " + counter + " PRIMARY KEY  , SRVGUID " +
                     session.typeWord(2, 30) + ")");
    }
    if (!session.fieldExists("DOSSIERS", "EXTERNALID")) {
        session.open("ALTER TABLE DOSSIERS ADD COLUMN EXTERNALID " + session.typeWord(2, 25));
    }
    for (std::string_view label : kPolishLabels) {
        session.open(label);
    }
}

}  // namespace orvdb::upgrade
