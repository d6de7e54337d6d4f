// The provider family's version steps, in run order, one row per statement.
// Scripts (steps that must look at the database first) are in
// provider_scripts.cpp.
#include "upgrade/provider_scripts.hpp"
#include "upgrade/provider_upgrade.hpp"

namespace orvdb::upgrade {

namespace {

constexpr UpgradeRow kProviderSteps[] = {
    // target     statement, or script number and routine
    statement("0.35836", "ALTER TABLE variableobjtree_Textlist_Text ADD COLUMN [Position] LONG"),
    statement("0.35836", "UPDATE variableobjtree_Textlist_Text SET [Position]=ID"),
    statement("0.35836", "ALTER TABLE variableobjtree_Valuelist_Value ADD COLUMN [Position] LONG"),
    statement("0.35836", "UPDATE variableobjtree_Valuelist_Value SET [Position]=ID"),

    statement("0.35837", "ALTER TABLE EmpillageBeam DROP CONSTRAINT fk_Group_empillagebeam"),
    statement("0.35837", "ALTER TABLE EmpillageBeam DROP CONSTRAINT fk_proc_empillagebeam"),
    statement("0.35837", "ALTER TABLE EmpillageBeam DROP CONSTRAINT fk_Comproc_empillagebeam"),
    statement("0.35837", "ALTER TABLE EmpillageBeam DROP CONSTRAINT fk_Fabproc_empillagebeam"),
    statement("0.35837", "ALTER TABLE AssemblageNode DROP CONSTRAINT fk_Group_AssemblageNode"),
    statement("0.35837", "ALTER TABLE AssemblageNode DROP CONSTRAINT fk_proc_AssemblageNode"),
    statement("0.35837", "ALTER TABLE AssemblageNode DROP CONSTRAINT fk_Fabproc_AssemblageNode"),
    statement("0.35837", "ALTER TABLE AssemblageNode DROP CONSTRAINT fk_Relproc_AssemblageNode"),

    statement(
        "0.35838",
        "UPDATE Article SET RefGroup=NULL WHERE NOT (RefGroup IN (SELECT ID FROM GroupArticle))"),
    statement("0.35838",
              "ALTER TABLE Article ADD CONSTRAINT fk_Article_GroupArticle "
              "FOREIGN KEY (RefGroup) REFERENCES GroupArticle(ID)"),

    statement("0.35840", "ALTER TABLE Provider ADD COLUMN LogoFilename VARCHAR(255)"),

    script("0.35841", 15, addMissingPositionColumns),
};
static_assert(ascendingTargets(kProviderSteps));

}  // namespace

const UpgradeCatalogue& providerCatalogue() {
    static constexpr UpgradeCatalogue catalogue{
        kProviderSteps, {}, VersionText::SinglePrecision, nullptr};
    return catalogue;
}

}  // namespace orvdb::upgrade
