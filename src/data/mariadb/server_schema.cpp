#include "data/mariadb/server_schema.hpp"

#include <filesystem>
#include <stdexcept>

#include "base/names.hpp"

namespace orvdb::data::mariadb {

std::optional<ServerSchema::Found> ServerSchema::find(const std::string& name) const {
    const auto& tables = session_.tableNames();
    auto found = tables.find(base::foldName(name));
    if (found == tables.end()) {
        return std::nullopt;
    }
    return Found{found->second.name, found->second.view};
}

std::string ServerSchema::tableName(const std::string& name) const {
    namesAsked_.insert(base::foldName(name));
    std::optional<Found> found = find(name);
    return found ? found->name : name;
}

bool ServerSchema::isView(const std::string& name) const {
    std::optional<Found> found = find(name);
    return found && found->view;
}

bool ServerSchema::isLongColumn(const std::string& table, const std::string& column) const {
    std::string type = session_.scalar(
        "SELECT DATA_TYPE FROM information_schema.COLUMNS WHERE TABLE_SCHEMA=DATABASE() AND "
        "TABLE_NAME=" +
        session_.quoteText(tableName(table)) + " AND COLUMN_NAME=" + session_.quoteText(column));
    return type.find("text") != std::string::npos || type.find("blob") != std::string::npos;
}

bool ServerSchema::isPrimaryKey(const std::string& table, const std::string& name) const {
    std::string comment = session_.scalar(
        "SELECT TABLE_COMMENT FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() AND "
        "TABLE_NAME=" +
        session_.quoteText(tableName(table)));
    const std::string_view prefix = engine::sql::kMariaDbPrimaryKeyComment;
    std::string primary =
        comment.rfind(prefix, 0) == 0 ? comment.substr(prefix.size()) : "PrimaryKey";
    return base::sameName(primary, name);
}

bool ServerSchema::isForeignKeyWithIndex(const std::string& table, const std::string& name) const {
    std::string server = session_.quoteText(tableName(table));
    std::string found = session_.scalar(
        "SELECT COUNT(*) FROM information_schema.REFERENTIAL_CONSTRAINTS AS R "
        "JOIN information_schema.STATISTICS AS S ON S.TABLE_SCHEMA=R.CONSTRAINT_SCHEMA AND "
        "S.TABLE_NAME=R.TABLE_NAME AND S.INDEX_NAME=R.CONSTRAINT_NAME "
        "WHERE R.CONSTRAINT_SCHEMA=DATABASE() AND R.TABLE_NAME=" +
        server + " AND R.CONSTRAINT_NAME=" + session_.quoteText(name));
    return !found.empty() && found != "0";
}

// Access's relationships as the server's foreign keys: one row a column,
// the cascade flags in Jet's bits (0x100 updates, 0x1000 deletes).
std::string ServerSchema::catalogTable(const std::string& name) const {
    if (!base::sameName(name, "MSysRelationships")) {
        return {};
    }
    return "SELECT K.CONSTRAINT_NAME AS szRelationship, K.TABLE_NAME AS szObject, "
           "K.COLUMN_NAME AS szColumn, K.REFERENCED_TABLE_NAME AS szReferencedObject, "
           "K.REFERENCED_COLUMN_NAME AS szReferencedColumn, K.ORDINAL_POSITION - 1 AS icolumn, "
           "(SELECT COUNT(*) FROM information_schema.KEY_COLUMN_USAGE AS C WHERE "
           "C.CONSTRAINT_SCHEMA=K.CONSTRAINT_SCHEMA AND C.TABLE_NAME=K.TABLE_NAME AND "
           "C.CONSTRAINT_NAME=K.CONSTRAINT_NAME) AS ccolumn, "
           "IF(R.UPDATE_RULE='CASCADE', 256, 0) + IF(R.DELETE_RULE='CASCADE', 4096, 0) AS grbit "
           "FROM information_schema.KEY_COLUMN_USAGE AS K "
           "JOIN information_schema.REFERENTIAL_CONSTRAINTS AS R "
           "ON R.CONSTRAINT_SCHEMA=K.CONSTRAINT_SCHEMA AND R.TABLE_NAME=K.TABLE_NAME AND "
           "R.CONSTRAINT_NAME=K.CONSTRAINT_NAME "
           "WHERE K.TABLE_SCHEMA=DATABASE() AND K.REFERENCED_TABLE_NAME IS NOT NULL";
}

namespace {

// The file NAME in the folder, its name compared without regard to case
// when it does not exist as written; "" when there is none.
std::string fileInFolder(const std::filesystem::path& folder, const std::string& name) {
    std::error_code error;
    if (std::filesystem::is_regular_file(folder / name, error)) {
        return (folder / name).string();
    }
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (base::sameName(it->path().filename().string(), name) && it->is_regular_file(error)) {
            return it->path().string();
        }
    }
    return {};
}

}  // namespace

// Access reads [NAME] as the file NAME.mdb of the working folder; on the
// server, NAME.mariadb there names the database that holds it.
engine::sql::MariaDbSchema::OtherTable ServerSchema::otherDatabaseTable(
    const std::string& database, const std::string& table) const {
    std::filesystem::path folder = session_.workingFolder().empty()
                                       ? std::filesystem::current_path()
                                       : std::filesystem::path(session_.workingFolder());
    std::filesystem::path asked(database);
    if (asked.has_extension() || asked.has_parent_path()) {
        throw std::runtime_error("the server reads only databases named by a NAME.mariadb file");
    }
    std::string file = fileInFolder(folder, database + ".mariadb");
    std::optional<Settings> address = file.empty() ? std::nullopt : addressInFile(file);
    if (!address) {
        std::string access = fileInFolder(folder, database + ".mdb");
        throw std::runtime_error(
            "no " + database + ".mariadb in " + folder.string() + " names it on a server" +
            (access.empty() ? std::string() : " (" + access + " is an Access file)"));
    }
    if (!sameServer(*address, session_.settings())) {
        throw std::runtime_error(file + " names a database on another server (" +
                                 describe(*address) + ")");
    }
    // The server compares names with their case; Access does not.
    std::string spelled = table;
    for (const engine::Row& row :
         session_
             .query("SELECT TABLE_NAME FROM information_schema.TABLES WHERE TABLE_SCHEMA=" +
                    session_.quoteText(address->database))
             .rows) {
        std::string name = engine::valueToText(row[0]);
        if (base::sameName(name, table)) {
            spelled = name;
            break;
        }
    }
    return {address->database, spelled};
}

}  // namespace orvdb::data::mariadb
