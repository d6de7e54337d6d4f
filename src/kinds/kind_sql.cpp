#include "kinds/kind_sql.hpp"

#include <array>
#include <string_view>

namespace orvdb::kinds {

namespace {

// Texts built from several pieces keep the pieces' blanks exactly.
const std::array<std::string_view, 19> kProviderSql = {
    "SELECT Reference FROM Article WHERE ID=%d",
    "SELECT ID, U FROM PillingUpThermic WHERE zvIDCode='%s'",
    "SELECT zvArticleID, zvSectionID, zvTypeObject, zvDX, zvDY, zvRZ, zvInvertView, zvMV, zvMH"
    " FROM ZV_ThermicProfil"
    " WHERE zvThermicID=%d",
    "SELECT zvInvertView, zvDX, zvDY, zvR, zvH, zvW"
    "  FROM ZV_ThermicGlazing"
    "  WHERE zvThermicID=%d",
    "UPDATE PillingUpThermic SET U=%f WHERE (ID=%d) ",
    "INSERT INTO PillingUpThermic (zvIDCode) VALUES ('%s')",
    "INSERT INTO ZV_ThermicProfil (zvThermicId, zvArticleID, zvSectionID, zvTypeObject, zvDX,"
    "                          zvDY, zvRZ, zvInvertView, zvMV, zvMH)"
    "                  VALUES (%d, %d, %d, %d, %f, %f, %f, %d, %d, %d)",
    "INSERT INTO zv_ThermicGlazing (zvThermicId, zvInvertView, zvDX, zvDY, zvR, zvH, zvW)"
    "                      VALUES (%d, %d, %f, %f, %f, %f, %f)",
    "SELECT @@Identity AS ID",
    "SELECT %s AS zvTranslation FROM ZV_Language WHERE ID=%d",
    "SELECT LogicalName, %s AS zvTranslation FROM SerieDescription, ZV_Language WHERE "
    "ZV_Language.ID=SerieDescription.DescriptionID AND SerieRef=%d",
    "SELECT LogicalName, %s AS zvTranslation FROM ModelDescription, ZV_Language WHERE "
    "ZV_Language.ID=ModelDescription.DescriptionID AND ModelRef=%d",
    "SELECT LogicalName, %s AS zvTranslation FROM ColorDescription, ZV_Language WHERE "
    "ZV_Language.ID=ColorDescription.DescriptionID AND ColorRef=%d",
    "SELECT LogicalName, %s AS zvTranslation FROM HardwareDescription, ZV_Language WHERE "
    "ZV_Language.ID=HardwareDescription.DescriptionID AND HardwareRef=%d",
    "SELECT LogicalName, %s AS zvTranslation, Condition FROM DescriptionTemplate, ZV_Language "
    "WHERE ZV_Language.ID=DescriptionTemplate.DescriptionID AND TemplateType=%d",
    "SELECT TemplateType, DescriptionTemplate.ID AS ID, LogicalName, DescriptionID, "
    " ZV_Language.Name AS zvTranslation, Condition FROM DescriptionTemplate, ZV_Language"
    " WHERE ZV_Language.ID=DescriptionTemplate.DescriptionID ORDER BY TemplateType, "
    "DescriptionTemplate.ID",
    "SELECT %s AS zvTranslation FROM ZV_Language, OpeningXLIBName WHERE "
    "ZV_Language.ID=OpeningXLIBName.Ref AND OpeningXLIBName.ID=%d",
    "UPDATE Article_Remplissage SET UG=%f WHERE Ref=%d",
    "UPDATE Article_Remplissage SET Psi=%f WHERE Ref=%d",
};

const std::array<std::string_view, 3> kLanguageSql = {
    "DELETE FROM Zv_Language",
    "INSERT INTO Zv_Language (%s, %s, %s, %s, %s, %s, %s, %s, %s, %s, %s, TextID, TblID) "
    " VALUES (%s, %s, %s, %s, %s, %s, %s, %s , %s, %s, %s, %d, %d)",
    "SELECT TextID, TblID, %s FROM Zv_language",
};

template <size_t N>
std::string pick(const std::array<std::string_view, N>& texts, int32_t index) {
    if (index < 0 || static_cast<size_t>(index) >= N) {
        return {};
    }
    return std::string(texts[static_cast<size_t>(index)]);
}

}  // namespace

std::string librarySql(int32_t index) {
    if (index != 0) {
        return {};
    }
    return "SELECT %s AS zvTranslation FROM ZV_Language, Opening WHERE "
           "ZV_Language.ID=Opening.NameID AND Opening.ID=%d";
}

std::string providerSql(int32_t index) {
    return pick(kProviderSql, index);
}

std::string languageSql(int32_t index) {
    return pick(kLanguageSql, index);
}

}  // namespace orvdb::kinds
