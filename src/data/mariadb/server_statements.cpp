#include "data/mariadb/server_statements.hpp"

#include <optional>
#include <set>
#include <type_traits>
#include <variant>

#include "base/names.hpp"
#include "data/mariadb/server_schema.hpp"
#include "data/user_tables_query.hpp"
#include "engine/engine_error.hpp"
#include "engine/sql/front_end.hpp"

namespace orvdb::data::mariadb {

namespace sql = engine::sql;

namespace {

constexpr std::string_view kUserTables =
    "SELECT TABLE_NAME AS Name FROM information_schema.TABLES WHERE TABLE_SCHEMA=DATABASE() "
    "AND TABLE_TYPE='BASE TABLE'";

// The server's refusals of a statement that reads a table, column or view
// that does not exist (or a view that reads one).
constexpr unsigned kNoSuchTable = 1146;
constexpr unsigned kNoSuchColumn = 1054;
constexpr unsigned kInvalidView = 1356;

bool readsMissing(const SessionError& error) {
    return error.code() == kNoSuchTable || error.code() == kNoSuchColumn ||
           error.code() == kInvalidView;
}

std::string trimmed(std::string_view text) {
    size_t begin = text.find_first_not_of(" \t\r\n;");
    size_t end = text.find_last_not_of(" \t\r\n;");
    return begin == std::string_view::npos ? std::string()
                                           : std::string(text.substr(begin, end - begin + 1));
}

// The user-table query written for the server, or nothing.
std::optional<std::string> userTables(const std::string& text) {
    const std::string& jetQuery = userTablesQuery();
    if (text.size() >= jetQuery.size() &&
        base::sameName(text.substr(0, jetQuery.size()), jetQuery)) {
        // What may follow is an ORDER BY on the name.
        return std::string(kUserTables) + text.substr(jetQuery.size());
    }
    return std::nullopt;
}

// The Access statement, or nothing for the server's own SQL.
std::optional<sql::Statement> parsed(const std::string& text) {
    if (userTables(text)) {
        return std::nullopt;
    }
    try {
        return sql::parseStatement(text);
    } catch (const engine::SqlError&) {
        return std::nullopt;
    }
}

struct Written {
    std::string text;
    std::set<std::string> reads;
};

Written written(const sql::Statement& statement, Session& session) {
    ServerSchema schema(session);
    std::string text = sql::toMariaDb(statement, schema);
    return {std::move(text), schema.namesAsked()};
}

// Raises when the statement reads a view still waiting to be made.
void requireMade(const std::set<std::string>& reads, Session& session) {
    for (const std::string& name : reads) {
        KeptView* view = session.keptViews().find(name);
        if (view && view->waiting() && !session.tableNames().count(name)) {
            throw engine::SqlError("view '" + view->name + "' is not on the MariaDB server " +
                                   describe(session.settings()) +
                                   " yet: it waits for what it reads (" + view->waitingBecause +
                                   ")");
        }
    }
}

bool readsStar(const sql::Query& query);

bool readsStar(const sql::TableRef& ref) {
    switch (ref.kind) {
        case sql::TableRef::Kind::Named:
            return false;
        case sql::TableRef::Kind::Subquery:
            return readsStar(*ref.subquery);
        case sql::TableRef::Kind::Join:
            return readsStar(*ref.left) || readsStar(*ref.right);
    }
    return false;
}

// Whether the query's columns include a `*` the server expands (in its
// select list or in a table it selects from).
bool readsStar(const sql::Query& query) {
    for (const sql::Query& part : query.parts) {
        if (readsStar(part)) {
            return true;
        }
    }
    if (!query.select) {
        return false;
    }
    for (const sql::SelectItem& item : query.select->items) {
        if (item.kind != sql::SelectItem::Kind::Expression) {
            return true;
        }
    }
    for (const sql::TableRef& ref : query.select->from) {
        if (readsStar(ref)) {
            return true;
        }
    }
    return false;
}

// The server's message without the statement it quotes.
std::string refusal(const SessionError& error) {
    std::string message = error.what();
    size_t statement = message.rfind(" [");
    return statement == std::string::npos ? message : message.substr(0, statement);
}

// Makes a kept view from its Access text (replacing the server's view of
// that name when asked); false, with the refusal kept, when the server
// refuses it because something it reads is missing.
bool make(KeptView& view, Session& session, bool replace) {
    Written server = written(sql::parseStatement(view.accessText), session);
    view.reads = server.reads;
    try {
        if (replace) {
            session.execute("DROP VIEW IF EXISTS " + quoteName(view.name));
        }
        session.execute(server.text);
    } catch (const SessionError& error) {
        if (!readsMissing(error)) {
            throw;
        }
        view.waitingBecause = refusal(error);
        return false;
    }
    view.waitingBecause.clear();
    return true;
}

// make() after a statement that succeeded: any refusal leaves the view
// waiting, with the reason, rather than failing that statement.
bool makeAfter(KeptView& view, Session& session, bool replace) {
    try {
        return make(view, session, replace);
    } catch (const std::exception& error) {
        view.waitingBecause = *error.what() ? error.what() : "refused";
        return false;
    }
}

// After a definition statement changed a table or view (nothing: it is not
// known which): the waiting views the server now takes are made, and the
// views reading `*` of what changed are made again, until nothing more changes.
void afterDefinition(Session& session, const std::optional<std::string>& changed) {
    KeptViews& kept = session.keptViews();
    std::set<std::string> changedNames;
    if (changed) {
        changedNames.insert(base::foldName(*changed));
    }
    std::set<std::string> remade;
    for (bool progress = true; progress;) {
        progress = false;
        for (KeptView& view : kept.all()) {
            std::string name = base::foldName(view.name);
            bool readsChanged = !changed;
            for (const std::string& read : view.reads) {
                readsChanged = readsChanged || changedNames.count(read) != 0;
            }
            if (view.waiting()) {
                if (makeAfter(view, session, false)) {
                    changedNames.insert(name);
                    progress = true;
                }
            } else if (view.readsStar && readsChanged && !remade.count(name)) {
                remade.insert(name);
                makeAfter(view, session, true);
                changedNames.insert(name);
                progress = true;
            }
        }
    }
    kept.forgetSettled();
}

// The table or view a definition statement makes, changes or drops; nothing
// for a statement that defines nothing.
std::optional<std::string> definedName(const sql::Statement& statement) {
    return std::visit(
        [](const auto& body) -> std::optional<std::string> {
            using Body = std::decay_t<decltype(body)>;
            if constexpr (std::is_same_v<Body, sql::SelectStatement>) {
                return body.intoTable.empty() ? std::nullopt
                                              : std::optional<std::string>(body.intoTable);
            } else if constexpr (std::is_same_v<Body, sql::CreateTableStatement> ||
                                 std::is_same_v<Body, sql::AlterTableStatement> ||
                                 std::is_same_v<Body, sql::DropTableStatement>) {
                return body.table;
            } else if constexpr (std::is_same_v<Body, sql::DropViewStatement>) {
                return body.view;
            } else {
                return std::nullopt;
            }
        },
        statement.body);
}

int64_t createView(const sql::CreateViewStatement& body, const std::string& text,
                   Session& session) {
    KeptViews& kept = session.keptViews();
    if (KeptView* same = kept.find(body.view); same && same->waiting()) {
        throw SessionError("MariaDB " + describe(session.settings()) + ": view '" + body.view +
                               "' already exists (it waits for what it reads)",
                           0);
    }
    KeptView view{body.view, text, {}, readsStar(*body.query), {}};
    bool made = make(view, session, false);
    kept.keep(std::move(view));
    if (made) {
        afterDefinition(session, body.view);
    }
    kept.forgetSettled();
    return 0;
}

}  // namespace

std::string serverStatement(std::string_view sql, Session& session) {
    std::string text = trimmed(sql);
    if (std::optional<std::string> tables = userTables(text)) {
        return *tables;
    }
    std::optional<sql::Statement> statement = parsed(text);
    if (!statement) {
        return text;
    }
    Written server = written(*statement, session);
    requireMade(server.reads, session);
    return server.text;
}

engine::QueryResult queryOnServer(std::string_view sql, Session& session) {
    std::string text = trimmed(sql);
    std::optional<sql::Statement> statement = parsed(text);
    const auto* select = statement ? std::get_if<sql::SelectStatement>(&statement->body) : nullptr;
    if (statement && (!select || !select->intoTable.empty())) {
        executeOnServer(text, session);
        throw SessionError("the statement returns no rows [" + text.substr(0, 300) + "]", 0);
    }
    return session.query(serverStatement(text, session));
}

int64_t executeOnServer(std::string_view sql, Session& session) {
    std::string text = trimmed(sql);
    std::optional<sql::Statement> statement = parsed(text);
    if (!statement) {
        std::string server = userTables(text).value_or(text);
        int64_t rows = session.execute(server);
        if (changesSchema(server)) {
            afterDefinition(session, std::nullopt);
        }
        return rows;
    }
    if (const auto* create = std::get_if<sql::CreateViewStatement>(&statement->body)) {
        return createView(*create, text, session);
    }
    std::optional<std::string> defined = definedName(*statement);
    const bool drops = std::holds_alternative<sql::DropTableStatement>(statement->body) ||
                       std::holds_alternative<sql::DropViewStatement>(statement->body);
    if (drops) {
        // A waiting view is dropped where it waits: the server has none.
        KeptView* view = session.keptViews().find(*defined);
        bool waiting = view && view->waiting();
        session.keptViews().forget(*defined);
        if (waiting && !session.tableNames().count(base::foldName(*defined))) {
            return 0;
        }
    }
    Written server = written(*statement, session);
    requireMade(server.reads, session);
    int64_t rows = session.execute(server.text);
    if (defined) {
        afterDefinition(session, defined);
    }
    return rows;
}

}  // namespace orvdb::data::mariadb
