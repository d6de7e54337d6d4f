// The provider family's version steps, in run order. Each step's statements
// are built when it runs; the scripts are in provider_scripts.cpp.
#include <array>

#include "host/sql_builders.hpp"
#include "upgrade/provider_scripts.hpp"
#include "upgrade/provider_upgrade.hpp"

namespace orvdb::upgrade {

namespace {

// Step 1 and script 15 share these: give a value list its [Position] column,
// numbered like its IDs.
Statements addPositionColumn(std::string_view table) {
    std::string name(table);
    return {"ALTER TABLE " + name + " ADD COLUMN [Position] LONG",
            "UPDATE " + name + " SET [Position]=ID"};
}

Statements step35836(UpgradeSession&) {
    Statements list = addPositionColumn("variableobjtree_Textlist_Text");
    Statements values = addPositionColumn("variableobjtree_Valuelist_Value");
    list.insert(list.end(), values.begin(), values.end());
    return list;
}

Statements step35837(UpgradeSession&) {
    Statements list;
    for (const char* key : {"fk_Group_empillagebeam", "fk_proc_empillagebeam",
                            "fk_Comproc_empillagebeam", "fk_Fabproc_empillagebeam"}) {
        list.push_back(std::string("ALTER TABLE EmpillageBeam DROP CONSTRAINT ") + key);
    }
    for (const char* key : {"fk_Group_AssemblageNode", "fk_proc_AssemblageNode",
                            "fk_Fabproc_AssemblageNode", "fk_Relproc_AssemblageNode"}) {
        list.push_back(std::string("ALTER TABLE AssemblageNode DROP CONSTRAINT ") + key);
    }
    return list;
}

Statements step35838(UpgradeSession&) {
    return {
        "UPDATE Article SET RefGroup=NULL WHERE NOT (RefGroup IN (SELECT ID FROM GroupArticle))",
        host::Get_SQL_FOREIGNKEY("Article", "RefGroup", "GroupArticle", "ID",
                                 "fk_Article_GroupArticle")};
}

Statements step35840(UpgradeSession&) {
    return {"ALTER TABLE Provider ADD COLUMN LogoFilename VARCHAR(255)"};
}

constexpr std::array kSteps = {
    statements(0.35836f, step35836),
    statements(0.35837f, step35837),
    statements(0.35838f, step35838),
    statements(0.35840f, step35840),
    script(0.35841f, 15),
};

constexpr std::array kScripts = {
    ScriptEntry{15, scriptPositionColumns},
};

}  // namespace

Statements positionColumnStatements(std::string_view table) {
    return addPositionColumn(table);
}

const UpgradeCatalogue& providerCatalogue() {
    static const UpgradeCatalogue catalogue{"provider", kSteps, std::span<const NamedPatch>{},
                                            kScripts, nullptr};
    return catalogue;
}

}  // namespace orvdb::upgrade
