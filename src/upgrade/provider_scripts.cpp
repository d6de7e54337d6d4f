#include "upgrade/provider_scripts.hpp"

#include <string>
#include <utility>
#include <vector>

#include "host/database_connector.hpp"
#include "host/host_services.hpp"
#include "host/sql_builders.hpp"

namespace orvdb::upgrade {

using std::string;
using std::to_string;

void addMissingPositionColumns(UpgradeSession& session) {
    QueryLevel level(session);
    for (const char* table : {"variableobjtree_textlist_text", "variableobjtree_Valuelist_Value"}) {
        session.setSelectMode();
        if (session.tryOpen(string("SELECT [Position] FROM ") + table)) {
            continue;
        }
        session.setCommandMode();
        session.open(string("ALTER TABLE ") + table + " ADD COLUMN [Position] LONG");
        session.open(string("UPDATE ") + table + " SET [Position]=ID");
        session.setSelectMode();
    }
}

void widenBackfillPicturesOfCreatedDatabases(UpgradeSession& session) {
    {
        Reader version(session);
        if (!version.open("SELECT * FROM Version WHERE CreateFrom=1")) {
            return;
        }
    }
    Changes changes(session);
    changes.run("ALTER TABLE ComplementBackfill ALTER COLUMN InternalPicture VARCHAR(64)");
    changes.run("ALTER TABLE ComplementBackfill ALTER COLUMN ExternalPicture VARCHAR(64)");
}

void renumberListPositions(UpgradeSession& session) {
    Changes changes(session);
    changes.run("ALTER TABLE variableobjtree_Textlist_Text ADD COLUMN [Position] LONG");
    changes.run("ALTER TABLE variableobjtree_Valuelist_Value ADD COLUMN [Position] LONG");
    changes.run("UPDATE VariableobjTree_textlist_text SET [Position]=ID WHERE [Position] IS NULL");
    changes.run(
        "UPDATE VariableObjTree_ValueList_Value SET [Position]=ID WHERE [Position] IS NULL");

    struct List {
        const char* items;
        const char* list;
    };
    const List lists[] = {{"VariableobjTree_textlist_text", "VariableobjTree_textlist"},
                          {"VariableobjTree_valueList_Value", "VariableobjTree_valueList"},
                          {"VariableobjTree_ItemList_Item", "VariableobjTree_ItemList"}};
    for (const List& list : lists) {
        const string items = list.items;
        std::vector<string> refs;
        {
            Reader reader(session);
            for (bool row = reader.open("SELECT Distinct(Ref1) AS Ref FROM " + items); row;
                 row = reader.next()) {
                refs.push_back(reader.text("Ref"));
            }
        }
        for (const string& ref : refs) {
            if (ref.empty()) {
                continue;
            }
            std::vector<string> ids;
            {
                Reader reader(session);
                for (bool row = reader.open("SELECT ID FROM " + items + " WHERE Ref1=" + ref +
                                            " ORDER BY [Position]");
                     row; row = reader.next()) {
                    ids.push_back(reader.text("ID"));
                }
            }
            for (size_t position = 0; position < ids.size(); ++position) {
                changes.run("UPDATE " + items + " SET [Position]=" + to_string(position) +
                            " WHERE ID=" + ids[position]);
            }
        }
    }
    for (const List& list : lists) {
        std::vector<std::pair<string, string>> currents;
        {
            Reader reader(session);
            for (bool row = reader.open(string("SELECT P2.[Position] AS P, P1.ID AS PID ") +
                                        " FROM " + list.items + " AS P2, " + list.list + " AS P1" +
                                        " WHERE P1.ID=P2.Ref1 AND P1.CurrentVal=P2.ItemIndex");
                 row; row = reader.next()) {
                currents.emplace_back(reader.text("P"), reader.text("PID"));
            }
        }
        for (const auto& [position, id] : currents) {
            changes.run(string("UPDATE ") + list.list + " SET CurrentVal=" + position +
                        " WHERE ID=" + id);
        }
    }
}

void createVisibilityExpressions(UpgradeSession& session) {
    Changes changes(session);
    changes.run(string("CREATE TABLE Expression (") + "Id AUTOINCREMENT PRIMARY KEY, " +
                "Expression VARCHAR(255), " + "NextExpression LONG)");
    changes.run(
        "ALTER TABLE Expression ADD CONSTRAINT fk_nextExpression FOREIGN KEY (NextExpression) "
        "REFERENCES Expression(ID)");
    struct Visibility {
        const char* table;
        const char* column;
    };
    const Visibility tables[] = {
        {"VariableObjTree_Bool", "Visible"},
        {"VariableObjTree_Group", "Visible"},
        {"VariableObjTree_ItemList", "Visible"},
        {"VariableObjTree_Line", "Visible"},
        {"VariableObjTree_TextList", "Visible"},
        {"VariableObjTree_Value", "Visible"},
        {"VariableObjTree_ValueList", "Visible"},
        {"VariableObjTree_ItemList_Item", "Condition"},
        {"VariableObjTree_TextList_Text", "Condition"},
        {"VariableObjTree_ValueList_Value", "Condition"},
    };
    const string newColumn = "isVisible";
    for (const Visibility& visibility : tables) {
        const string table = visibility.table;
        changes.run("ALTER TABLE " + table + " ADD COLUMN " + newColumn + " LONG");
        changes.run(host::Get_SQL_FOREIGNKEY(table, newColumn, "Expression", "ID",
                                             "fk_" + table + "_" + newColumn));
        std::vector<std::pair<string, string>> texts;
        {
            Reader reader(session);
            for (bool row =
                     reader.open("SELECT ID, " + string(visibility.column) + " FROM " + table);
                 row; row = reader.next()) {
                texts.emplace_back(reader.text("ID"), reader.text(visibility.column));
            }
        }
        for (const auto& [id, text] : texts) {
            changes.run("INSERT INTO Expression (Expression) VALUES (" +
                        host::Get_SQL_String(text) + ")");
            string newId;
            {
                Reader identity(session);
                if (identity.open("SELECT @@IDENTITY AS NEWID FROM " + table)) {
                    newId = identity.text("NEWID");
                }
            }
            changes.run("UPDATE " + table + " SET " + newColumn + "=" + newId + " WHERE ID=" + id);
        }
    }
}

void moveAfterProcedures(UpgradeSession& session) {
    struct Model {
        int32_t id;
        int32_t before;
        int32_t after;
    };
    std::vector<Model> models;
    {
        Reader reader(session);
        for (bool row =
                 reader.open("SELECT ID, BeforeProcedure, AfterProcedure FROM ModeleConstruction");
             row; row = reader.next()) {
            models.push_back({reader.integer("ID"), reader.integer("BeforeProcedure"),
                              reader.integer("AfterProcedure")});
        }
    }
    Changes changes(session);
    for (const Model& model : models) {
        if (model.after <= 0) {
            continue;
        }
        const string after = to_string(model.after);
        if (model.before > 0) {
            changes.run("INSERT INTO ProcedureNodes (Ref, Type, Owner, Niveau) VALUES (" + after +
                        ", 5, " + to_string(model.before) + ", 0)");
        } else {
            changes.run("UPDATE ModeleConstruction SET BeforeProcedure=" + after +
                        " WHERE ID=" + to_string(model.id));
        }
        changes.run("UPDATE Procedures SET Ref=25 WHERE ID=" + after);
    }
    changes.run("UPDATE ModeleConstruction SET AfterProcedure=0");
}

void fillGlazingOrderReferences(UpgradeSession& session) {
    std::vector<std::pair<int32_t, string>> articles;
    {
        Reader reader(session);
        for (bool row = reader.open(
                 "SELECT DISTINCT GlazingPrice.Article_Id AS Article_Id, Article.Reference AS "
                 "Reference FROM GlazingPrice INNER JOIN Article ON Article.ID = "
                 "GlazingPrice.Article_Id");
             row; row = reader.next()) {
            articles.emplace_back(reader.integer("Article_Id"), reader.text("Reference"));
        }
    }
    Changes changes(session);
    for (const auto& [article, reference] : articles) {
        changes.run("UPDATE GlazingPrice SET OrderRef=" + host::Get_SQL_String(reference) +
                    " WHERE Article_Id=" + to_string(static_cast<uint32_t>(article)));
    }
}

void renameLanguageActionAndSection(UpgradeSession& session) {
    auto connector = host::databaseConnector();
    for (const auto& [from, to] :
         {std::pair{"Language", "ZV_Language"}, std::pair{"Action", "ZV_Action"},
          std::pair{"Section", "ZV_Section"}}) {
        connector->renameTable(&session.database(), from, to, 1, 1);
    }
}

void renameMachiningExternal(UpgradeSession& session) {
    host::databaseConnector()->renameColumn(&session.database(), "Machining", "External",
                                            "zvExternal", "VARCHAR(40)", 1, 1);
}

void renameBorderLimits(UpgradeSession& session) {
    auto connector = host::databaseConnector();
    connector->renameColumn(&session.database(), "TabBorderPairValue", "Max", "zvMax",
                            "VARCHAR(255)", 1, 1);
    connector->renameColumn(&session.database(), "TabBorderPairValue", "Min", "zvMin",
                            "VARCHAR(255)", 1, 1);
}

void moveBorders(UpgradeSession& session) {
    struct Border {
        int32_t ref, position, orientation, minIncluded, maxIncluded;
        string minValue, maxValue, comment;
    };
    std::vector<Border> borders;
    {
        Reader reader(session);
        for (bool row = reader.open(
                 "SELECT Ref, ZV_Position, Orientation, MinValue, MaxValue, MinIncluded, "
                 "MaxIncluded, Comment FROM TmpTabBorders ORDER BY ID");
             row; row = reader.next()) {
            borders.push_back({reader.integer("Ref"), reader.integer("ZV_Position"),
                               reader.integer("Orientation"), reader.integer("MinIncluded"),
                               reader.integer("MaxIncluded"), reader.text("MinValue"),
                               reader.text("MaxValue"), reader.text("Comment")});
        }
    }
    auto unsignedText = [](int32_t value) { return to_string(static_cast<uint32_t>(value)); };
    // Pair values and borders are numbered alike: a border's ID is that of
    // its pair value.
    constexpr int kPairBorder = 2;
    Changes changes(session);
    for (const Border& border : borders) {
        changes.run(
            "INSERT INTO TabBorderPairValue (zvMin, zvMax, MinIncluded, MaxIncluded) "
            "VALUES (" +
            host::Get_SQL_String(border.minValue) + ", " + host::Get_SQL_String(border.maxValue) +
            ", " + unsignedText(border.minIncluded) + ", " + unsignedText(border.maxIncluded) +
            ")");
        changes.run(
            "INSERT INTO TabBorders (Ref, RefType, zv_Position, Orientation, Comment) "
            "VALUES (" +
            unsignedText(border.ref) + ", " + unsignedText(kPairBorder) + ", " +
            unsignedText(border.position) + ", " + unsignedText(border.orientation) + ", " +
            host::Get_SQL_String(border.comment) + ")");
    }
    changes.run("DROP TABLE TmpTabBorders");
}

void addUnitaryPackaging(UpgradeSession& session) {
    auto lastIdentity = [&session]() {
        Reader identity(session);
        return identity.open("SELECT @@IDENTITY AS Id") ? identity.text("Id") : string("0");
    };
    string group;
    {
        Changes changes(session);
        changes.run("INSERT INTO Conditionnement_group(Name) VALUES ('ZV_Unitary')");
    }
    group = lastIdentity();
    {
        Changes changes(session);
        changes.run("INSERT INTO Conditionnement(Name, Id_Type, Nombre) VALUES (" +
                    host::Get_SQL_String("ZV_UNnitary1") + ", 0, 1)");
    }
    string packaging = lastIdentity();
    Changes changes(session);
    changes.run(
        "INSERT INTO Conditionnements_groupConditionnements(id_conditionnement, "
        "id_groupConditionnement) Values(" +
        packaging + ", " + group + ")");
}

}  // namespace orvdb::upgrade
