// The views the provider steps and patches create, as CREATE VIEW texts.
// A view that several steps re-create has one text per shape it takes, named
// after what that shape adds. Join conditions follow the provider data model:
// a group table row puts variable Ref1 in group Ref2 of tree Ref3; language
// texts are [Language] (later ZV_Language) rows referred to by id; an
// article's detail row (Article_Profil, ...) has the article's ID.
#pragma once

#include <string_view>

namespace orvdb::upgrade::views {

// ---- all variable groups: one row per group table row, with its type ----

#define ORVDB_GROUP_UNION(COLUMNS, TYPE, TABLE) "SELECT " COLUMNS ", " #TYPE " FROM " TABLE
#define ORVDB_GROUP_COLUMNS "Ref1, Ref2, Ref3, [Position]"
#define ORVDB_GROUP_HEAD "SELECT Ref1, Ref2, Ref3, [Position], 1 AS TypeVariableGroup"

inline constexpr std::string_view kVariableGroupsOfSix =
    "CREATE VIEW All_VariableGroupInformation AS " ORVDB_GROUP_HEAD
    " FROM VariableObjTree_Group_Group"
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_COLUMNS, 2, "VariableObjTree_Value_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_COLUMNS, 3, "VariableObjTree_Bool_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_COLUMNS, 4, "VariableObjTree_TextList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_COLUMNS, 5, "VariableObjTree_ValueList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_COLUMNS, 6, "VariableObjTree_ItemList_Group");

inline constexpr std::string_view kVariableGroupsWithLines =
    "CREATE VIEW All_VariableGroupInformation AS " ORVDB_GROUP_HEAD
    " FROM VariableObjTree_Group_Group"
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_COLUMNS, 2, "VariableObjTree_Value_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_COLUMNS, 3, "VariableObjTree_Bool_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_COLUMNS, 4, "VariableObjTree_TextList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_COLUMNS, 5, "VariableObjTree_ValueList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_COLUMNS, 6, "VariableObjTree_ItemList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_COLUMNS, 7, "VariableObjTree_Line_Group");

#define ORVDB_GROUP_DESCRIBED_COLUMNS \
    ORVDB_GROUP_COLUMNS ", DescriptionTemplate, EventType, LogicalName"
inline constexpr std::string_view kVariableGroupsDescribed =
    "CREATE VIEW All_VariableGroupInformation AS "
    "SELECT " ORVDB_GROUP_DESCRIBED_COLUMNS ", 1 AS TypeVariableGroup"
    " FROM VariableObjTree_Group_Group"
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_DESCRIBED_COLUMNS, 2, "VariableObjTree_Value_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_DESCRIBED_COLUMNS, 3, "VariableObjTree_Bool_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_DESCRIBED_COLUMNS, 4, "VariableObjTree_TextList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_DESCRIBED_COLUMNS, 5, "VariableObjTree_ValueList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_DESCRIBED_COLUMNS, 6, "VariableObjTree_ItemList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_DESCRIBED_COLUMNS, 7, "VariableObjTree_Line_Group");

// From 0.36001 on the ordering column of every table is ZV_Position.
#define ORVDB_GROUP_ZV_COLUMNS \
    "Ref1, Ref2, Ref3, ZV_Position, DescriptionTemplate, EventType, LogicalName"
inline constexpr std::string_view kVariableGroupsZvPosition =
    "CREATE VIEW All_VariableGroupInformation AS "
    "SELECT " ORVDB_GROUP_ZV_COLUMNS ", 1 AS TypeVariableGroup"
    " FROM VariableObjTree_Group_Group"
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_ZV_COLUMNS, 2, "VariableObjTree_Value_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_ZV_COLUMNS, 3, "VariableObjTree_Bool_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_ZV_COLUMNS, 4, "VariableObjTree_TextList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_ZV_COLUMNS, 5, "VariableObjTree_ValueList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_ZV_COLUMNS, 6, "VariableObjTree_ItemList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_ZV_COLUMNS, 7, "VariableObjTree_Line_Group");

#define ORVDB_GROUP_EXPRESSION_COLUMNS ORVDB_GROUP_ZV_COLUMNS ", DescExpression"
inline constexpr std::string_view kVariableGroupsWithExpressions =
    "CREATE VIEW All_VariableGroupInformation AS "
    "SELECT " ORVDB_GROUP_EXPRESSION_COLUMNS ", 1 AS TypeVariableGroup"
    " FROM VariableObjTree_Group_Group"
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 2, "VariableObjTree_Value_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 3, "VariableObjTree_Bool_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 4, "VariableObjTree_TextList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 5, "VariableObjTree_ValueList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 6, "VariableObjTree_ItemList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 7, "VariableObjTree_Line_Group");

// The colour, monetary and physical groups once they have DescExpression.
inline constexpr std::string_view kVariableGroupsOfTen =
    "CREATE VIEW All_VariableGroupInformation AS "
    "SELECT " ORVDB_GROUP_EXPRESSION_COLUMNS ", 1 AS TypeVariableGroup"
    " FROM VariableObjTree_Group_Group"
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 2, "VariableObjTree_Value_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 3, "VariableObjTree_Bool_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 4, "VariableObjTree_TextList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 5, "VariableObjTree_ValueList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 6, "VariableObjTree_ItemList_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 7, "VariableObjTree_Line_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 8, "VariableObjTree_Color_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 9, "VariableObjTree_Monetary_Group")
    " UNION ALL " ORVDB_GROUP_UNION(ORVDB_GROUP_EXPRESSION_COLUMNS, 10, "VariableObjTree_Physical_Group");

// ---- the items of item lists (each item an article) ----

inline constexpr std::string_view kItemListItems =
    "CREATE VIEW View_VariableObjTree_ItemList_Item AS "
    "SELECT I.ID, I.Ref1, I.Ref2, I.ItemIndex, I.Condition, I.Picture "
    "FROM VariableObjTree_ItemList_Item AS I";

inline constexpr std::string_view kItemListItemsWithArticle =
    "CREATE VIEW View_VariableObjTree_ItemList_Item AS "
    "SELECT I.ID, I.Ref1, I.Ref2, I.ItemIndex, I.Condition, Article.PictureFile AS Picture, "
    "Article.Reference AS ItemName, I.[Position] "
    "FROM VariableObjTree_ItemList_Item AS I INNER JOIN Article ON Article.ID = I.Ref2";

// An article's picture: its own file, or for a profile (Ref=1) the drawing
// of its section. Kept short: Access stores a subquery in FROM in a field of
// 255 characters.
#define ORVDB_ITEM_PICTURES(SECTION_TABLE, SECTION_COLUMN)                             \
    "SELECT A.ID, A.PictureFile AS Picture FROM Article AS A WHERE A.PictureFile<>'' " \
    "UNION SELECT A.ID, '..\\Section\\'&" SECTION_COLUMN                               \
    " FROM (Article AS A "                                                             \
    "INNER JOIN Article_Profil AS P ON P.ID=A.ID) INNER JOIN " SECTION_TABLE           \
    " AS S ON S.ID=P.RefSection WHERE A.Ref=1"

inline constexpr std::string_view kItemListItemsWithSectionPictures =
    "CREATE VIEW View_VariableObjTree_ItemList_Item AS "
    "SELECT I.ID, I.Ref1, I.Ref2, I.ItemIndex, I.Condition, U.Picture, "
    "Article.Reference AS ItemName, I.[Position] "
    "FROM (VariableObjTree_ItemList_Item AS I INNER JOIN Article ON Article.ID = I.Ref2) "
    "LEFT JOIN (" ORVDB_ITEM_PICTURES("[Section]", "[section]") ") AS U ON U.ID = I.Ref2";

inline constexpr std::string_view kItemListItemsVisible =
    "CREATE VIEW View_VariableObjTree_ItemList_Item AS "
    "SELECT I.ID, I.Ref1, I.Ref2, I.ItemIndex, I.Condition, I.isVisible, U.Picture, "
    "Article.Reference AS ItemName, I.[Position] "
    "FROM (VariableObjTree_ItemList_Item AS I INNER JOIN Article ON Article.ID = I.Ref2) "
    "LEFT JOIN (" ORVDB_ITEM_PICTURES("[Section]", "[section]") ") AS U ON U.ID = I.Ref2";

// The item's own picture first.
inline constexpr std::string_view kItemListItemsOwnPicture =
    "CREATE VIEW View_VariableObjTree_ItemList_Item AS "
    "SELECT I.ID, I.Ref1, I.Ref2, I.ItemIndex, I.Condition, I.isVisible, "
    "IIf(I.Picture<>'', I.Picture, U.Picture) AS Picture, Article.Reference AS ItemName, "
    "I.[Position] "
    "FROM (VariableObjTree_ItemList_Item AS I INNER JOIN Article ON Article.ID = I.Ref2) "
    "LEFT JOIN (" ORVDB_ITEM_PICTURES("[Section]", "[section]") ") AS U ON U.ID = I.Ref2";

inline constexpr std::string_view kItemPictures =
    "CREATE VIEW Get_ItemPicture AS " ORVDB_ITEM_PICTURES("ZV_Section", "S.ZV_Section");

inline constexpr std::string_view kItemListItemsOverItemPictures =
    "CREATE VIEW view_VariableObjTree_ItemList_Item AS "
    "SELECT I.ID, I.Ref1, I.Ref2, I.ItemIndex, I.Condition, I.isVisible, "
    "IIf(I.Picture<>'', I.Picture, P.Picture) AS Picture, Article.Reference AS ItemName, "
    "I.ZV_Position "
    "FROM (VariableObjTree_ItemList_Item AS I INNER JOIN Article ON Article.ID = I.Ref2) "
    "LEFT JOIN Get_ItemPicture AS P ON P.ID = I.Ref2";

// ---- shared variables ----

#define ORVDB_SHARE(REF, SHARE, VARIABLE)                                               \
    " (SELECT T1.ID AS ID, " #REF " AS Ref, RefGroup, Name, T2.ID AS ObjID FROM " SHARE \
    " AS T1, " VARIABLE " AS T2 WHERE T1.ID=T2.ID)"

inline constexpr std::string_view kUnionShareVariables =
    "CREATE VIEW Union_ShareVariables AS" ORVDB_SHARE(1, "Share_Groups", "VariableObjTree_Group")
    " UNION ALL" ORVDB_SHARE(2, "Share_ValueVariables", "VariableObjTree_Value")
    " UNION ALL" ORVDB_SHARE(3, "Share_BoolVariables", "VariableObjTree_Bool")
    " UNION ALL" ORVDB_SHARE(4, "Share_TextListVariables", "VariableObjTree_TextList")
    " UNION ALL" ORVDB_SHARE(5, "Share_ValueListVariables", "VariableObjTree_ValueList")
    " UNION ALL" ORVDB_SHARE(6, "Share_ItemListVariables", "VariableObjTree_ItemList")
    " UNION ALL" ORVDB_SHARE(7, "Share_LineVariables", "VariableObjTree_Line");

#define ORVDB_SHARE_VARIABLES(LANGUAGE)                                  \
    "CREATE VIEW View_ShareVariables AS "                                \
    "SELECT U.ID, U.Ref, U.RefGroup, U.ObjID, U.Name AS NameID, L.Name " \
    "FROM Union_ShareVariables AS U LEFT JOIN " LANGUAGE " AS L ON L.ID = U.Name"

inline constexpr std::string_view kShareVariables = ORVDB_SHARE_VARIABLES("[Language]");
inline constexpr std::string_view kShareVariablesZv = ORVDB_SHARE_VARIABLES("ZV_Language");

// ---- colours, through one Get_ view per colour table ----

#define ORVDB_TRANSLATED(VIEW, SOURCE, EXTRA)     \
    "CREATE VIEW " VIEW " AS SELECT S.ID, " EXTRA \
    "L.Name, L.Français, L.Nederlands, "         \
    "L.English, L.Deutsch, L.Polski FROM " SOURCE \
    " AS S LEFT JOIN Get_LanguageColor AS L "     \
    "ON L.ID = S.NameID"

inline constexpr std::string_view kColorsOfPalettes =
    "CREATE VIEW Colors_ColorsList AS SELECT CP.PaletteID, C.ID AS ColorID, C.RGB, C.NameID "
    "FROM Get_Colors_ColorPalette AS CP INNER JOIN Get_Colors AS C ON C.ID = CP.ColorID";
inline constexpr std::string_view kColorsOfPalettesNamed =
    "CREATE VIEW Colors_ColorsList AS SELECT CP.PaletteID, P.NameID AS PaletteNameID, "
    "C.ID AS ColorID, C.RGB, C.NameID "
    "FROM (Get_Colors_ColorPalette AS CP INNER JOIN Get_Colors AS C ON C.ID = CP.ColorID) "
    "INNER JOIN Get_Colors_Palette AS P ON P.ID = CP.PaletteID";
inline constexpr std::string_view kColorList =
    "CREATE VIEW ColorsList AS SELECT C.ID, C.NameID, C.RGB, C.RefGamme, "
    "G.NameID AS GammeNameID, C.RefFinition "
    "FROM Get_Colors AS C LEFT JOIN Get_Color_Gamme AS G ON G.ID = C.RefGamme";
inline constexpr std::string_view kColorListWithFinish =
    "CREATE VIEW ColorsList AS SELECT C.ID, C.NameID, C.RGB, C.RefGamme, "
    "G.NameID AS GammeNameID, C.RefFinition, F.NameID AS FinitionNameID "
    "FROM (Get_Colors AS C LEFT JOIN Get_Color_Gamme AS G ON G.ID = C.RefGamme) "
    "LEFT JOIN Get_Finitions AS F ON F.ID = C.RefFinition";
inline constexpr std::string_view kGammes =
    "CREATE VIEW Colors_Gamme AS SELECT G.ID, G.NameID FROM Get_Color_Gamme AS G";
inline constexpr std::string_view kFinishColors =
    "CREATE VIEW Finitions_Colors AS SELECT F.ID AS FinitionID, F.NameID AS FinitionNameID, "
    "C.ID AS ColorID, C.RGB FROM Get_Finitions AS F INNER JOIN Get_Colors AS C "
    "ON C.RefFinition = F.ID";
inline constexpr std::string_view kTranslatedColors =
    ORVDB_TRANSLATED("Trad_Color", "Get_Colors", "S.RGB, ");
inline constexpr std::string_view kTranslatedFinishes =
    ORVDB_TRANSLATED("Trad_Finition", "Get_Finitions", "");
inline constexpr std::string_view kTranslatedProviderColors =
    ORVDB_TRANSLATED("Trad_ProviderColor", "Get_Colors_Fournisseurs", "S.Code, S.ColorID, ");
inline constexpr std::string_view kTranslatedPalettes =
    ORVDB_TRANSLATED("Trad_Palette", "Get_Colors_Palette", "");

// ---- articles ----

#define ORVDB_LANGUAGE_TEXTS(L) \
    L ".Name, " L ".Français, " L ".Nederlands, " L ".English, " L ".Deutsch, " L ".Polski"

inline constexpr std::string_view kArticleTexts =
    "CREATE VIEW ArticleDescription AS SELECT Article.ID, Article.Reference, " ORVDB_LANGUAGE_TEXTS(
        "L") " FROM Article LEFT JOIN [Language] AS L ON L.ID = Article.Description";
#define ORVDB_ARTICLE_TEXTS_WITH_PICTURES(LANGUAGE)                            \
    "CREATE VIEW ArticleDescription AS SELECT Article.ID, Article.Reference, " \
    "Article.PictureFile, Article.Logo, " ORVDB_LANGUAGE_TEXTS(                \
        "L") " FROM Article LEFT JOIN " LANGUAGE " AS L ON L.ID = Article.Description"
inline constexpr std::string_view kArticleTextsWithPictures =
    ORVDB_ARTICLE_TEXTS_WITH_PICTURES("[Language]");
inline constexpr std::string_view kArticleTextsZv =
    ORVDB_ARTICLE_TEXTS_WITH_PICTURES("ZV_Language");

// The article columns every article view starts with: "Article.ID AS ID,"
// then one column a line, seven blanks before each. The patches' form
// carries Weight, which they move to Article.
#define ORVDB_ARTICLE_COLUMN(C) "       Article." #C " AS " #C ",\n"
#define ORVDB_ARTICLE_COLUMNS_BEFORE_WEIGHT "Article.ID AS ID,\n" ORVDB_ARTICLE_COLUMN(Name)
#define ORVDB_ARTICLE_COLUMNS_AFTER_WEIGHT                                                   \
    ORVDB_ARTICLE_COLUMN(Ref)                                                                \
    ORVDB_ARTICLE_COLUMN(Code)                                                               \
    ORVDB_ARTICLE_COLUMN(Description)                                                        \
    ORVDB_ARTICLE_COLUMN(Affichage)                                                          \
    ORVDB_ARTICLE_COLUMN(Autre)                                                              \
    ORVDB_ARTICLE_COLUMN(Ref2)                                                               \
    ORVDB_ARTICLE_COLUMN(Logo)                                                               \
    ORVDB_ARTICLE_COLUMN(zvPosition)                                                         \
    ORVDB_ARTICLE_COLUMN(refGroup)                                                           \
    ORVDB_ARTICLE_COLUMN(Substitution)                                                       \
    ORVDB_ARTICLE_COLUMN(Empillage)                                                          \
    ORVDB_ARTICLE_COLUMN(VariableTree)                                                       \
    "       Article.ID_CondGr AS id_condGr,\n" ORVDB_ARTICLE_COLUMN(ID_Colorisation)         \
        ORVDB_ARTICLE_COLUMN(ID_Palette) ORVDB_ARTICLE_COLUMN(Reference)                     \
            ORVDB_ARTICLE_COLUMN(ID_raw_ClassPrice) ORVDB_ARTICLE_COLUMN(PictureFile)        \
                ORVDB_ARTICLE_COLUMN(ColorGroup) ORVDB_ARTICLE_COLUMN(DocumentGroup)         \
                    ORVDB_ARTICLE_COLUMN(ColorisationProcedure) ORVDB_ARTICLE_COLUMN(Fictif) \
                        ORVDB_ARTICLE_COLUMN(Commandable) ORVDB_ARTICLE_COLUMN(NotProvided)  \
                            ORVDB_ARTICLE_COLUMN(MaterialProcedure)                          \
                                ORVDB_ARTICLE_COLUMN(ViewProperty)                           \
                                    ORVDB_ARTICLE_COLUMN(VisibilityGroup)                    \
                                        ORVDB_ARTICLE_COLUMN(zvExportGroup)                  \
                                            ORVDB_ARTICLE_COLUMN(ExportInformationProc)      \
                                                ORVDB_ARTICLE_COLUMN(PerimeterInt)           \
                                                    ORVDB_ARTICLE_COLUMN(PerimeterExt)
#define ORVDB_ARTICLE_COLUMNS ORVDB_ARTICLE_COLUMNS_BEFORE_WEIGHT ORVDB_ARTICLE_COLUMNS_AFTER_WEIGHT
#define ORVDB_ARTICLE_COLUMNS_WITH_WEIGHT                            \
    ORVDB_ARTICLE_COLUMNS_BEFORE_WEIGHT ORVDB_ARTICLE_COLUMN(Weight) \
        ORVDB_ARTICLE_COLUMNS_AFTER_WEIGHT

#define ORVDB_ARTICLE_VIEW(VIEW, ARTICLE, DETAIL, DETAIL_COLUMNS)                                \
    "CREATE VIEW " VIEW " AS SELECT " ARTICLE DETAIL_COLUMNS "\nFROM Article INNER JOIN " DETAIL \
    " ON " DETAIL ".ID = Article.ID"

#define ORVDB_PROFILE_COLUMNS                                             \
    "       Article_Profil.RefSection AS RefSection,\n"                   \
    "       Article_Profil.Hauteur AS Hauteur,\n"                         \
    "       Article_Profil.DilatationProcedure AS DilatationProcedure,\n" \
    "       Article_Profil.StaticEnable AS StaticEnable,\n"               \
    "       Article_Profil.MultiGlazingProcedure AS MultiGlazingProcedure"
#define ORVDB_SURFACE_COLUMNS "       Article_Surfacique.Epaisseur AS Epaisseur"
#define ORVDB_FILLING_COLUMNS                                         \
    "       ComplementBackfill.InternalPicture AS InternalPicture,\n" \
    "       ComplementBackfill.ExternalPicture AS ExternalPicture,\n" \
    "       ComplementBackfill.RealEpaisseur AS RealEpaisseur"
#define ORVDB_VENTILATOR_COLUMNS                                        \
    "       Article_Ventilator.Thickness AS Thickness,\n"               \
    "       Article_Ventilator.DeductionVitrage AS DeductionVitrage,\n" \
    "       Article_Ventilator.SupRetract AS SupRetract,\n"             \
    "       Article_Ventilator.SubRetract AS SubRetract,\n"             \
    "       Article_Ventilator.BrutColorRed AS BrutColorRed,\n"         \
    "       Article_Ventilator.BrutColorGreen AS BrutColorGreen,\n"     \
    "       Article_Ventilator.BrutColorBlue AS BrutColorBlue,\n"       \
    "       Article_Ventilator.ForfaitPrice AS ForfaitPrice,\n"         \
    "       Article_Ventilator.LinearPrice AS LinearPrice,\n"           \
    "       Article_Ventilator.Existence AS Existence"
#define ORVDB_FREE_ARTICLE_COLUMNS                 \
    "       Article_FreeArticle.Price AS Price,\n" \
    "       Article_FreeArticle.Unit AS Unit,\n"   \
    "       Article_FreeArticle.PriceProcedureId AS PriceProcedureId"

// Before the patches, each detail table still carries the weight.
inline constexpr std::string_view kProfileArticles =
    ORVDB_ARTICLE_VIEW("Get_ArticleProfils", ORVDB_ARTICLE_COLUMNS, "Article_Profil",
                       "       Article_Profil.Weight AS Weight,\n" ORVDB_PROFILE_COLUMNS);
inline constexpr std::string_view kSurfaceArticles =
    ORVDB_ARTICLE_VIEW("Get_ArticleSurfacique", ORVDB_ARTICLE_COLUMNS, "Article_Surfacique",
                       "       Article_Surfacique.Weight AS Weight,\n" ORVDB_SURFACE_COLUMNS);
inline constexpr std::string_view kFillingArticles =
    ORVDB_ARTICLE_VIEW("Get_ArticleFillings", ORVDB_ARTICLE_COLUMNS, "ComplementBackfill",
                       "       ComplementBackfill.Weight AS Weight,\n" ORVDB_FILLING_COLUMNS);
inline constexpr std::string_view kVentilatorArticles =
    ORVDB_ARTICLE_VIEW("Get_ArticleVentilators", ORVDB_ARTICLE_COLUMNS, "Article_Ventilator",
                       ORVDB_VENTILATOR_COLUMNS);
inline constexpr std::string_view kFreeArticles =
    ORVDB_ARTICLE_VIEW("Get_ArticleFreeArticle", ORVDB_ARTICLE_COLUMNS, "Article_FreeArticle",
                       ORVDB_FREE_ARTICLE_COLUMNS);
// The first free-article view, before the common column list existed.
inline constexpr std::string_view kFreeArticlesFirst =
    "CREATE VIEW Get_ArticleFreeArticle AS SELECT Article.ID AS ID, Article.Name AS Name, "
    "Article.Reference AS Reference, Article.RefGroup AS RefGroup, "
    "Article.PictureFile AS PictureFile, Article_FreeArticle.Price AS Price, "
    "Article_FreeArticle.Unit AS Unit FROM Article INNER JOIN Article_FreeArticle "
    "ON Article_FreeArticle.ID = Article.ID";

// The patches' form: the weight is the article's.
inline constexpr std::string_view kProfileArticlesWeighed =
    ORVDB_ARTICLE_VIEW("Get_ArticleProfils", ORVDB_ARTICLE_COLUMNS_WITH_WEIGHT, "Article_Profil",
                       ORVDB_PROFILE_COLUMNS);
inline constexpr std::string_view kSurfaceArticlesWeighed =
    ORVDB_ARTICLE_VIEW("Get_ArticleSurfacique", ORVDB_ARTICLE_COLUMNS_WITH_WEIGHT,
                       "Article_Surfacique", ORVDB_SURFACE_COLUMNS);
inline constexpr std::string_view kFillingArticlesWeighed =
    ORVDB_ARTICLE_VIEW("Get_ArticleFillings", ORVDB_ARTICLE_COLUMNS_WITH_WEIGHT,
                       "ComplementBackfill", ORVDB_FILLING_COLUMNS);
inline constexpr std::string_view kVentilatorArticlesWeighed =
    ORVDB_ARTICLE_VIEW("Get_ArticleVentilators", ORVDB_ARTICLE_COLUMNS_WITH_WEIGHT,
                       "Article_Ventilator", ORVDB_VENTILATOR_COLUMNS);
inline constexpr std::string_view kProfileArticlesThermic = ORVDB_ARTICLE_VIEW(
    "Get_ArticleProfils", ORVDB_ARTICLE_COLUMNS_WITH_WEIGHT, "Article_Profil",
    ORVDB_PROFILE_COLUMNS ",\n       Article_Profil.zvThermicEnable AS zvThermicEnable");

// ---- construction models ----

inline constexpr std::string_view kFixedConstructionModels =
    "CREATE VIEW Get_ALL_FIXE_ConstructionModel AS SELECT M.ID, M.Name, M.Preview, "
    "M.VariableTree FROM ModeleConstruction AS M WHERE M.Fixe=1";
inline constexpr std::string_view kConstructionsByParent =
    "CREATE VIEW Get_Construction_By_Parent AS SELECT C.ParentID, M.ID, M.Name, "
    "C.Condition_Mcc FROM ModeleConstruction_Children AS C INNER JOIN ModeleConstruction AS M "
    "ON M.ID = C.ChildID";
inline constexpr std::string_view kConstructionsByParentExported =
    "CREATE VIEW Get_Construction_By_Parent AS SELECT C.ParentID, M.ID, M.Name, "
    "C.Condition_Mcc, M.ExportProcID FROM ModeleConstruction_Children AS C "
    "INNER JOIN ModeleConstruction AS M ON M.ID = C.ChildID";
// The library's openings placed on the model's elements.
inline constexpr std::string_view kOpeningsOnModels =
    "CREATE VIEW OpeningOnModel AS SELECT E.ModelID, E.OpeningID, E.Condition_Mce, O.NameID "
    "FROM ModeleConstruction_Element AS E INNER JOIN [XLIB].Opening AS O ON O.ID = E.OpeningID";

// ---- discounts and languages, over ZV_Language ----

// Discounts by article type of the library.
inline constexpr std::string_view kDiscountsByArticleType =
    "CREATE VIEW DiscountByArticleType AS SELECT T.ID AS TypeID, T.Name AS TypeName, "
    "D.ID AS DiscountID, D.Rate, L.Name AS DiscountName "
    "FROM (Discounts AS D INNER JOIN [XLIB].TypeArticleXLIB AS T ON T.ID = D.TypeArticle) "
    "LEFT JOIN ZV_Language AS L ON L.ID = D.TranslateName";
inline constexpr std::string_view kDiscountsByProvider =
    "CREATE VIEW DiscountByProvider AS SELECT A.Ref1 AS ProviderID, D.ID AS DiscountID, "
    "D.Rate, L.Name AS DiscountName FROM (AssignedDiscounts AS A INNER JOIN Discounts AS D "
    "ON D.ID = A.Ref2) LEFT JOIN ZV_Language AS L ON L.ID = D.TranslateName";
inline constexpr std::string_view kLanguageColors =
    "CREATE VIEW Get_LanguageColor AS SELECT * FROM [Language]";
inline constexpr std::string_view kLanguageColorsZv =
    "CREATE VIEW Get_LanguageColor AS SELECT * FROM ZV_Language";
inline constexpr std::string_view kLanguages = "CREATE VIEW QLanguage AS SELECT * FROM ZV_Language";
inline constexpr std::string_view kTranslatedDiscounts =
    "CREATE VIEW Trad_Discount AS SELECT D.ID, " ORVDB_LANGUAGE_TEXTS(
        "L") " FROM Discounts AS D LEFT JOIN ZV_Language AS L ON L.ID = D.TranslateName";

}  // namespace orvdb::upgrade::views
