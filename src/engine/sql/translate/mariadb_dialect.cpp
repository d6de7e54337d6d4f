#include "engine/sql/translate/mariadb_dialect.hpp"

#include "base/names.hpp"
#include "engine/engine_error.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/sql/translate/type_words.hpp"

#include <array>
#include <cstdio>
#include <map>
#include <utility>

namespace orvdb::engine::sql {

namespace {

std::string folded(std::string_view text) {
    std::string out(text);
    for (char& character : out) {
        if (character >= 'A' && character <= 'Z') {
            character = static_cast<char>(character - 'A' + 'a');
        }
    }
    return out;
}

// Access functions the server has under another name (or the same), taking
// the same arguments.
struct FunctionName {
    std::string_view access;
    std::string_view server;
};
constexpr std::array<FunctionName, 38> kFunctions = {{
    {"abs", "ABS"},       {"asc", "ASCII"},     {"avg", "AVG"},           {"count", "COUNT"},
    {"exp", "EXP"},       {"instr", "INSTR"},   {"int", "FLOOR"},         {"isnull", "ISNULL"},
    {"lcase", "LOWER"},   {"left", "LEFT"},     {"len", "CHAR_LENGTH"},   {"log", "LN"},
    {"ltrim", "LTRIM"},   {"max", "MAX"},       {"min", "MIN"},           {"mid", "SUBSTRING"},
    {"now", "NOW"},       {"nz", "IFNULL"},     {"replace", "REPLACE"},   {"right", "RIGHT"},
    {"round", "ROUND"},   {"rtrim", "RTRIM"},   {"sgn", "SIGN"},          {"space", "SPACE"},
    {"sqr", "SQRT"},      {"sum", "SUM"},       {"trim", "TRIM"},         {"ucase", "UPPER"},
    {"date", "CURDATE"},  {"iif", "IF"},        {"stdev", "STDDEV_SAMP"}, {"var", "VAR_SAMP"},
    {"year", "YEAR"},     {"month", "MONTH"},   {"day", "DAYOFMONTH"},    {"hour", "HOUR"},
    {"minute", "MINUTE"}, {"second", "SECOND"},
}};

// DatePart's intervals the server has a function for (Access's weeks start
// on Sunday by default, as the server's DAYOFWEEK counts).
constexpr std::array<FunctionName, 9> kDateParts = {{
    {"yyyy", "YEAR"},
    {"q", "QUARTER"},
    {"m", "MONTH"},
    {"y", "DAYOFYEAR"},
    {"d", "DAYOFMONTH"},
    {"w", "DAYOFWEEK"},
    {"h", "HOUR"},
    {"n", "MINUTE"},
    {"s", "SECOND"},
}};

// Conversions: CAST to the server's type of the Access result.
struct Conversion {
    std::string_view access;
    std::string_view cast;
};
constexpr std::array<Conversion, 8> kConversions = {{
    {"cstr", "CHAR"},
    {"ccur", "DECIMAL(19,4)"},
    {"clng", "SIGNED"},
    {"cint", "SIGNED"},
    {"cdbl", "DOUBLE"},
    {"csng", "DOUBLE"},
    {"cdate", "DATETIME"},
    {"cbool", "SIGNED"},
}};

class Emitter {
public:
    Emitter(const Statement& statement, const MariaDbSchema& schema)
        : statement_(statement), schema_(schema) {}

    std::string statement();

private:
    [[noreturn]] void refuse(const std::string& why) const {
        throw SqlError("MariaDB cannot run this statement (" + why + "): " + statement_.sql);
    }

    std::string table(const std::string& name) const {
        return mariaDbName(schema_.tableName(name));
    }

    // ---- queries ----
    std::string query(const Query& query);
    std::string select(const SelectCore& core);
    std::string fromList(const std::vector<TableRef>& from);
    std::string tableRef(const TableRef& ref);
    std::string otherDatabaseTable(const TableRef& ref);
    void noteNames(const TableRef& ref);
    void noteNames(const Query& query);
    std::string qualifier(const std::string& written) const;

    // ---- expressions ----
    std::string expr(const Expr& expression);
    std::string list(const std::vector<Expr>& args, size_t from = 0);
    std::string binary(const Expr& expression);
    std::string call(const Expr& expression);
    std::string likePattern(const Expr& pattern);
    static std::string binaryWord(BinaryOp op);

    // ---- definitions ----
    std::string constraint(const TableConstraint& key, const std::string& table);
    std::string foreignKeyIndex(const TableConstraint& key, const std::string& table);
    std::string indexColumns(const std::string& tableName, const std::vector<IndexColumn>& columns);
    std::string nameList(const std::vector<std::string>& names) const;

    std::string visit(const SelectStatement& body);
    std::string visit(const InsertStatement& body);
    std::string visit(const UpdateStatement& body);
    std::string visit(const DeleteStatement& body);
    std::string visit(const CreateTableStatement& body);
    std::string visit(const AlterTableStatement& body);
    std::string visit(const CreateIndexStatement& body);
    std::string visit(const DropIndexStatement& body);
    std::string visit(const DropTableStatement& body);
    std::string visit(const CreateViewStatement& body);
    std::string visit(const DropViewStatement& body);

    const Statement& statement_;
    const MariaDbSchema& schema_;
    // Tables and aliases of the statement by folded name, as the server
    // spells them: qualifiers are written in any case in Access.
    std::map<std::string, std::string> names_;
    // The columns of the table a CREATE TABLE makes, which the server does
    // not know yet.
    const std::vector<ColumnDef>* creating_ = nullptr;
};

std::string counterKey(const std::string& column) {
    return "KEY (" + mariaDbName(column) + ") COMMENT " +
           mariaDbText(std::string(kMariaDbCounterKeyComment));
}

bool isLongType(const ColumnDef& column) {
    std::string type = mariaDbColumnType(column);
    return type == "TEXT" || type.rfind("LONG", 0) == 0;
}

std::string Emitter::statement() {
    if (!statement_.parameters.empty()) {
        refuse("PARAMETERS");
    }
    return std::visit([this](const auto& body) { return visit(body); }, statement_.body);
}

// ---- queries ----

void Emitter::noteNames(const TableRef& ref) {
    switch (ref.kind) {
        case TableRef::Kind::Named:
            if (ref.database.empty()) {
                names_.emplace(folded(ref.name), schema_.tableName(ref.name));
            } else if (ref.alias.empty()) {
                // A table of another database is named as written there.
                names_[folded(ref.name)] = ref.name;
            }
            break;
        case TableRef::Kind::Subquery:
            noteNames(*ref.subquery);
            break;
        case TableRef::Kind::Join:
            noteNames(*ref.left);
            noteNames(*ref.right);
            break;
    }
    if (!ref.alias.empty()) {
        names_[folded(ref.alias)] = ref.alias;
    }
}

void Emitter::noteNames(const Query& query) {
    if (query.select) {
        for (const TableRef& ref : query.select->from) {
            noteNames(ref);
        }
    }
    for (const Query& part : query.parts) {
        noteNames(part);
    }
}

std::string Emitter::qualifier(const std::string& written) const {
    auto found = names_.find(folded(written));
    return mariaDbName(found == names_.end() ? schema_.tableName(written) : found->second);
}

std::string Emitter::query(const Query& whole) {
    std::string text;
    if (whole.isUnion()) {
        for (size_t i = 0; i < whole.parts.size(); ++i) {
            if (i > 0) {
                text += whole.unionAll[i - 1] ? " UNION ALL " : " UNION ";
            }
            text += "(" + query(whole.parts[i]) + ")";
        }
    } else {
        text = select(*whole.select);
    }
    for (size_t i = 0; i < whole.orderBy.size(); ++i) {
        text += (i == 0 ? " ORDER BY " : ", ") + expr(whole.orderBy[i].expr) +
                (whole.orderBy[i].descending ? " DESC" : "");
    }
    if (whole.select && whole.select->top) {
        if (whole.select->top->percent) {
            refuse("TOP PERCENT");
        }
        text += " LIMIT " + std::to_string(static_cast<int64_t>(whole.select->top->count));
    }
    return text;
}

// The names Access gives the select's columns where the server would name
// them otherwise: the alias; Expr1000, Expr1001... for an unnamed
// expression; Table.Column for a column whose name a column of another
// table in the list shares. Empty where the server's name is Access's.
std::vector<std::string> accessNames(const std::vector<SelectItem>& items) {
    std::vector<std::string> names(items.size());
    int exprNumber = 1000;
    for (size_t i = 0; i < items.size(); ++i) {
        const SelectItem& item = items[i];
        if (!item.alias.empty()) {
            names[i] = item.alias;
        } else if (item.kind == SelectItem::Kind::Expression &&
                   item.expr.kind != ExprKind::Column) {
            names[i] = "Expr" + std::to_string(exprNumber++);
        }
    }
    auto column = [&](size_t i) {
        return items[i].kind == SelectItem::Kind::Expression && items[i].alias.empty() &&
               items[i].expr.kind == ExprKind::Column && !items[i].expr.qualifier.empty();
    };
    for (size_t i = 0; i < items.size(); ++i) {
        for (size_t j = i + 1; column(i) && j < items.size(); ++j) {
            const Expr& first = items[i].expr;
            const Expr& second = items[j].expr;
            if (column(j) && base::sameName(first.text, second.text) &&
                !base::sameName(first.qualifier, second.qualifier)) {
                names[i] = first.qualifier + "." + first.text;
                names[j] = second.qualifier + "." + second.text;
            }
        }
    }
    return names;
}

std::string Emitter::select(const SelectCore& core) {
    for (const TableRef& ref : core.from) {
        noteNames(ref);
    }
    std::string text = "SELECT ";
    if (core.quantifier != SetQuantifier::All) {
        text += "DISTINCT ";
    }
    std::vector<std::string> names = accessNames(core.items);
    for (size_t i = 0; i < core.items.size(); ++i) {
        const SelectItem& item = core.items[i];
        text += i ? ", " : "";
        switch (item.kind) {
            case SelectItem::Kind::Star:
                text += "*";
                break;
            case SelectItem::Kind::TableStar:
                text += qualifier(item.table) + ".*";
                break;
            case SelectItem::Kind::Expression:
                text += expr(item.expr);
                break;
        }
        if (!names[i].empty()) {
            text += " AS " + mariaDbName(names[i]);
        }
    }
    if (!core.from.empty()) {
        text += " FROM " + fromList(core.from);
    }
    if (core.where) {
        text += " WHERE " + expr(*core.where);
    }
    if (!core.groupBy.empty()) {
        text += " GROUP BY " + list(core.groupBy);
    }
    if (core.having) {
        text += " HAVING " + expr(*core.having);
    }
    return text;
}

std::string Emitter::fromList(const std::vector<TableRef>& from) {
    std::string text;
    for (size_t i = 0; i < from.size(); ++i) {
        text += (i ? ", " : "") + tableRef(from[i]);
    }
    return text;
}

std::string Emitter::tableRef(const TableRef& ref) {
    std::string text;
    switch (ref.kind) {
        case TableRef::Kind::Named: {
            if (!ref.database.empty()) {
                return otherDatabaseTable(ref);
            }
            std::string catalog = schema_.catalogTable(ref.name);
            if (!catalog.empty()) {
                return "(" + catalog + ") AS " +
                       mariaDbName(ref.alias.empty() ? ref.name : ref.alias);
            }
            text = table(ref.name);
            break;
        }
        case TableRef::Kind::Subquery:
            text = "(" + query(*ref.subquery) + ")";
            break;
        case TableRef::Kind::Join: {
            const char* join = ref.joinType == JoinType::Left    ? " LEFT JOIN "
                               : ref.joinType == JoinType::Right ? " RIGHT JOIN "
                                                                 : " INNER JOIN ";
            return "(" + tableRef(*ref.left) + join + tableRef(*ref.right) + " ON " +
                   expr(*ref.on) + ")";
        }
    }
    if (!ref.alias.empty()) {
        text += " AS " + mariaDbName(ref.alias);
    } else if (ref.kind == TableRef::Kind::Subquery) {
        // The server names every derived table.
        text += " AS " + mariaDbName("subquery" + std::to_string(ref.span.begin));
    }
    return text;
}

std::string Emitter::otherDatabaseTable(const TableRef& ref) {
    MariaDbSchema::OtherTable found;
    try {
        found = schema_.otherDatabaseTable(ref.database, ref.name);
    } catch (const std::exception& e) {
        refuse("the table " + ref.name + " of the database " + ref.database + ": " + e.what());
    }
    return mariaDbName(found.database) + "." + mariaDbName(found.table) + " AS " +
           mariaDbName(ref.alias.empty() ? ref.name : ref.alias);
}

// ---- expressions ----

std::string Emitter::list(const std::vector<Expr>& args, size_t from) {
    std::string text;
    for (size_t i = from; i < args.size(); ++i) {
        text += (i > from ? ", " : "") + expr(args[i]);
    }
    return text;
}

std::string Emitter::binaryWord(BinaryOp op) {
    switch (op) {
        case BinaryOp::Multiply:
            return " * ";
        case BinaryOp::Divide:
            return " / ";
        case BinaryOp::IntDivide:
            return " DIV ";
        case BinaryOp::Mod:
            return " MOD ";
        case BinaryOp::Add:
            return " + ";
        case BinaryOp::Subtract:
            return " - ";
        case BinaryOp::Equal:
        case BinaryOp::NotEqual:
        case BinaryOp::Less:
        case BinaryOp::Greater:
        case BinaryOp::LessEqual:
        case BinaryOp::GreaterEqual:
            return comparisonSql(op);
        case BinaryOp::And:
            return " AND ";
        case BinaryOp::Or:
            return " OR ";
        case BinaryOp::Xor:
            return " XOR ";
        default:
            return {};
    }
}

std::string Emitter::binary(const Expr& expression) {
    if (expression.binaryOp == BinaryOp::Concat) {
        // & reads NULL as an empty text; CONCAT would give NULL.
        std::string text = "CONCAT(";
        for (size_t i = 0; i < expression.args.size(); ++i) {
            text += (i ? ", " : "") + std::string("IFNULL(") + expr(expression.args[i]) + ", '')";
        }
        return text + ")";
    }
    if (expression.binaryOp == BinaryOp::Power) {
        std::string text = expr(expression.args[0]);
        for (size_t i = 1; i < expression.args.size(); ++i) {
            text = "POW(" + text + ", " + expr(expression.args[i]) + ")";
        }
        return text;
    }
    std::string text = "(" + expr(expression.args[0]);
    for (size_t i = 1; i < expression.args.size(); ++i) {
        BinaryOp op = expression.steps.empty() ? expression.binaryOp : expression.steps[i - 1];
        std::string word = binaryWord(op);
        if (word.empty()) {
            refuse("the operator Eqv or Imp");
        }
        // Access joins texts with +; the server would add them as numbers.
        if (op == BinaryOp::Add && (expression.args[i - 1].kind == ExprKind::Text ||
                                    expression.args[i].kind == ExprKind::Text)) {
            refuse("'+' with a text, which MariaDB reads as arithmetic (& joins texts)");
        }
        text += word + expr(expression.args[i]);
    }
    return text + ")";
}

std::string Emitter::likePattern(const Expr& pattern) {
    if (pattern.kind != ExprKind::Text) {
        return expr(pattern);
    }
    // Access's wildcards as the server's; the server's own taken literally.
    std::string text;
    for (size_t i = 0; i < pattern.text.size(); ++i) {
        char character = pattern.text[i];
        if (character == '*') {
            text += '%';
        } else if (character == '?') {
            text += '_';
        } else if (character == '%' || character == '_' || character == '\\') {
            text += std::string("\\") + character;
        } else if (character == '[') {
            size_t close = pattern.text.find(']', i);
            if (close == i + 2) {
                text += pattern.text[i + 1];
                i = close;
            } else {
                refuse("a character list in a Like pattern");
            }
        } else {
            text += character;
        }
    }
    return mariaDbText(text);
}

std::string Emitter::call(const Expr& expression) {
    std::string name = folded(expression.text);
    for (const Conversion& conversion : kConversions) {
        if (name == conversion.access && expression.args.size() == 1) {
            std::string argument = expr(expression.args[0]);
            if (conversion.cast == "SIGNED") {
                // Access rounds half to even; the server's ROUND halves away
                // from zero, which differs only on exact halves.
                argument = "ROUND(" + argument + ")";
            }
            return "CAST(" + argument + " AS " + std::string(conversion.cast) + ")";
        }
    }
    if (name == "val" && expression.args.size() == 1) {
        return "(0 + " + expr(expression.args[0]) + ")";
    }
    if (name == "str" && expression.args.size() == 1) {
        return "CAST(" + expr(expression.args[0]) + " AS CHAR)";
    }
    if (name == "fix" && expression.args.size() == 1) {
        return "TRUNCATE(" + expr(expression.args[0]) + ", 0)";
    }
    if (name == "weekday" && expression.args.size() == 1) {
        return "DAYOFWEEK(" + expr(expression.args[0]) + ")";
    }
    if (name == "datepart" && expression.args.size() == 2 &&
        expression.args[0].kind == ExprKind::Text) {
        for (const FunctionName& part : kDateParts) {
            if (folded(expression.args[0].text) == part.access) {
                return std::string(part.server) + "(" + expr(expression.args[1]) + ")";
            }
        }
    }
    if (name == "mid" && expression.args.size() == 2) {
        return "SUBSTRING(" + list(expression.args) + ")";
    }
    for (const FunctionName& function : kFunctions) {
        if (name == function.access) {
            return std::string(function.server) + "(" + list(expression.args) + ")";
        }
    }
    refuse("the function " + expression.text);
}

std::string Emitter::expr(const Expr& expression) {
    switch (expression.kind) {
        case ExprKind::Null:
            return "NULL";
        case ExprKind::Integer:
            return std::to_string(expression.integer);
        case ExprKind::Number:
            return expression.text.empty() ? std::to_string(expression.number) : expression.text;
        case ExprKind::Text:
            return mariaDbText(expression.text);
        case ExprKind::Date: {
            std::optional<double> days = parseJetDate(expression.text);
            if (!days) {
                refuse("the date #" + expression.text + "#");
            }
            DateParts parts = jetDateToParts(*days);
            char text[40];
            std::snprintf(text, sizeof text, "'%04d-%02d-%02d %02d:%02d:%02d'", parts.year,
                          parts.month, parts.day, parts.hour, parts.minute, parts.second);
            return text;
        }
        case ExprKind::Boolean:
            return expression.integer != 0 ? "TRUE" : "FALSE";
        case ExprKind::Column:
            return (expression.qualifier.empty() ? std::string()
                                                 : qualifier(expression.qualifier) + ".") +
                   mariaDbName(expression.text);
        case ExprKind::Identity:
            return "LAST_INSERT_ID()";
        case ExprKind::Star:
            return "*";
        case ExprKind::Unary:
            switch (expression.unaryOp) {
                case UnaryOp::Negate:
                    return "(-" + expr(expression.args[0]) + ")";
                case UnaryOp::Plus:
                    return expr(expression.args[0]);
                case UnaryOp::Not:
                    return "(NOT " + expr(expression.args[0]) + ")";
            }
            break;
        case ExprKind::Binary:
            return binary(expression);
        case ExprKind::Like:
            return "(" + expr(expression.args[0]) + (expression.negated ? " NOT LIKE " : " LIKE ") +
                   likePattern(expression.args[1]) + ")";
        case ExprKind::Between:
            return "(" + expr(expression.args[0]) +
                   (expression.negated ? " NOT BETWEEN " : " BETWEEN ") + expr(expression.args[1]) +
                   " AND " + expr(expression.args[2]) + ")";
        case ExprKind::InList:
            return "(" + expr(expression.args[0]) + (expression.negated ? " NOT IN (" : " IN (") +
                   list(expression.args, 1) + "))";
        case ExprKind::InQuery:
            noteNames(*expression.subquery);
            return "(" + expr(expression.args[0]) + (expression.negated ? " NOT IN (" : " IN (") +
                   query(*expression.subquery) + "))";
        case ExprKind::IsNull:
            return "(" + expr(expression.args[0]) +
                   (expression.negated ? " IS NOT NULL)" : " IS NULL)");
        case ExprKind::Exists:
            noteNames(*expression.subquery);
            return "EXISTS (" + query(*expression.subquery) + ")";
        case ExprKind::Quantified:
            noteNames(*expression.subquery);
            return "(" + expr(expression.args[0]) + binaryWord(expression.binaryOp) +
                   (expression.all ? "ALL (" : "ANY (") + query(*expression.subquery) + "))";
        case ExprKind::Subquery:
            noteNames(*expression.subquery);
            return "(" + query(*expression.subquery) + ")";
        case ExprKind::Call:
            return call(expression);
    }
    refuse("an expression");
}

// ---- statements ----

std::string Emitter::visit(const SelectStatement& body) {
    if (body.crosstab) {
        refuse("TRANSFORM");
    }
    noteNames(body.query);
    std::string text = query(body.query);
    if (!body.intoTable.empty()) {
        return "CREATE TABLE " + mariaDbName(body.intoTable) + std::string(kMariaDbTableOptions) +
               " AS " + text;
    }
    return text;
}

std::string Emitter::visit(const InsertStatement& body) {
    std::string text = "INSERT INTO " + table(body.table);
    if (!body.columns.empty()) {
        text += " (" + nameList(body.columns) + ")";
    }
    if (body.select) {
        noteNames(*body.select);
        return text + " " + query(*body.select);
    }
    return text + " VALUES (" + list(body.values) + ")";
}

std::string Emitter::visit(const UpdateStatement& body) {
    for (const TableRef& ref : body.tables) {
        noteNames(ref);
    }
    std::string text = "UPDATE " + fromList(body.tables) + " SET ";
    for (size_t i = 0; i < body.assignments.size(); ++i) {
        const Assignment& assignment = body.assignments[i];
        text +=
            (i ? ", " : "") +
            (assignment.qualifier.empty() ? std::string() : qualifier(assignment.qualifier) + ".") +
            mariaDbName(assignment.column) + " = " + expr(assignment.value);
    }
    if (body.where) {
        text += " WHERE " + expr(*body.where);
    }
    return text;
}

std::string Emitter::visit(const DeleteStatement& body) {
    for (const TableRef& ref : body.from) {
        noteNames(ref);
    }
    std::string text = "DELETE ";
    if (!body.target.empty()) {
        text += qualifier(body.target) + " ";
    } else if (body.from.size() == 1 && body.from[0].kind == TableRef::Kind::Named &&
               body.from[0].alias.empty()) {
        // One table: the plain form.
    } else if (body.from.size() == 1 && body.from[0].kind == TableRef::Kind::Named) {
        text += mariaDbName(body.from[0].alias) + " ";
    } else {
        refuse("DELETE from several tables without naming the one to delete from");
    }
    text += "FROM " + fromList(body.from);
    if (body.where) {
        text += " WHERE " + expr(*body.where);
    }
    return text;
}

std::string Emitter::nameList(const std::vector<std::string>& names) const {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        text += (i ? ", " : "") + mariaDbName(names[i]);
    }
    return text;
}

std::string Emitter::indexColumns(const std::string& tableName,
                                  const std::vector<IndexColumn>& columns) {
    std::string text;
    for (size_t i = 0; i < columns.size(); ++i) {
        text += (i ? ", " : "") + mariaDbName(columns[i].column);
        bool isLong = false;
        if (creating_) {
            for (const ColumnDef& column : *creating_) {
                isLong = isLong ||
                         (folded(column.name) == folded(columns[i].column) && isLongType(column));
            }
        } else {
            isLong = schema_.isLongColumn(tableName, columns[i].column);
        }
        if (isLong) {
            text += "(255)";
        }
        text += columns[i].descending ? " DESC" : "";
    }
    return text;
}

// A foreign key gets an index of its own, named after it, as in Access:
// otherwise the server borrows another index with the same first columns
// (the primary key's) and refuses to drop that one later.
std::string Emitter::foreignKeyIndex(const TableConstraint& key, const std::string& tableName) {
    if (key.kind != TableConstraint::Kind::ForeignKey || key.name.empty()) {
        return {};
    }
    std::vector<IndexColumn> columns;
    for (const std::string& column : key.columns) {
        columns.push_back({column, false});
    }
    return "INDEX " + mariaDbName(key.name) + " (" + indexColumns(tableName, columns) + "), " +
           (creating_ ? "" : "ADD ");
}

std::string Emitter::constraint(const TableConstraint& key, const std::string& tableName) {
    std::string text = key.name.empty() || key.kind == TableConstraint::Kind::PrimaryKey
                           ? std::string()
                           : "CONSTRAINT " + mariaDbName(key.name) + " ";
    std::vector<IndexColumn> columns;
    for (const std::string& column : key.columns) {
        columns.push_back({column, false});
    }
    switch (key.kind) {
        case TableConstraint::Kind::PrimaryKey:
            return "PRIMARY KEY (" + indexColumns(tableName, columns) + ")";
        case TableConstraint::Kind::Unique:
            return text + "UNIQUE (" + indexColumns(tableName, columns) + ")";
        case TableConstraint::Kind::Check:
            refuse("CHECK");
        case TableConstraint::Kind::ForeignKey: {
            text += "FOREIGN KEY (" + nameList(key.columns) + ") REFERENCES " +
                    table(key.referencedTable);
            if (key.referencedColumns.empty()) {
                refuse("a foreign key without the columns it references");
            }
            text += " (" + nameList(key.referencedColumns) + ")";
            auto action = [](ReferentialAction rule) {
                return rule == ReferentialAction::Cascade   ? "CASCADE"
                       : rule == ReferentialAction::SetNull ? "SET NULL"
                                                            : "NO ACTION";
            };
            if (key.onUpdate != ReferentialAction::NoAction) {
                text += std::string(" ON UPDATE ") + action(key.onUpdate);
            }
            if (key.onDelete != ReferentialAction::NoAction) {
                text += std::string(" ON DELETE ") + action(key.onDelete);
            }
            return text;
        }
    }
    refuse("a constraint");
}

std::string Emitter::visit(const CreateTableStatement& body) {
    std::string text = "CREATE TABLE " + mariaDbName(body.table) + " (";
    const TableConstraint* primary = nullptr;
    creating_ = &body.columns;
    for (size_t i = 0; i < body.columns.size(); ++i) {
        text += (i ? ", " : "") + mariaDbColumnDeclaration(body.columns[i]);
    }
    for (const TableConstraint& key : body.constraints) {
        text += ", " + foreignKeyIndex(key, body.table) + constraint(key, body.table);
        if (key.kind == TableConstraint::Kind::PrimaryKey) {
            primary = &key;
        }
    }
    // The server counts only on a column that starts a key.
    for (const ColumnDef& column : body.columns) {
        if (!column.autoNumber) {
            continue;
        }
        bool keyed = false;
        for (const TableConstraint& key : body.constraints) {
            keyed =
                keyed || (key.kind != TableConstraint::Kind::ForeignKey && !key.columns.empty() &&
                          folded(key.columns.front()) == folded(column.name));
        }
        if (!keyed) {
            text += ", " + counterKey(column.name);
        }
    }
    text += ")" + std::string(kMariaDbTableOptions);
    if (primary && !primary->name.empty()) {
        text += " COMMENT " + mariaDbText(std::string(kMariaDbPrimaryKeyComment) + primary->name);
    }
    return text;
}

std::string Emitter::visit(const AlterTableStatement& body) {
    std::string text = "ALTER TABLE " + table(body.table) + " ";
    switch (body.action) {
        case AlterTableStatement::Action::AddColumns:
            for (size_t i = 0; i < body.columns.size(); ++i) {
                text += (i ? ", " : "") + std::string("ADD COLUMN ") +
                        mariaDbColumnDeclaration(body.columns[i]);
            }
            for (const TableConstraint& key : body.constraints) {
                text += ", ADD " + foreignKeyIndex(key, body.table) + constraint(key, body.table);
            }
            for (const ColumnDef& column : body.columns) {
                if (column.autoNumber) {
                    text += ", ADD " + counterKey(column.name);
                }
            }
            return text;
        case AlterTableStatement::Action::AlterColumn:
            return text + "MODIFY COLUMN " + mariaDbColumnDeclaration(body.columns.front());
        case AlterTableStatement::Action::DropColumn:
            return text + "DROP COLUMN " + mariaDbName(body.name);
        case AlterTableStatement::Action::AddConstraint: {
            const TableConstraint& key = body.constraints.front();
            text += "ADD " + foreignKeyIndex(key, body.table) + constraint(key, body.table);
            if (key.kind == TableConstraint::Kind::PrimaryKey && !key.name.empty()) {
                text +=
                    ", COMMENT = " + mariaDbText(std::string(kMariaDbPrimaryKeyComment) + key.name);
            }
            return text;
        }
        case AlterTableStatement::Action::DropConstraint:
            if (schema_.isPrimaryKey(body.table, body.name)) {
                return text + "DROP PRIMARY KEY";
            }
            if (schema_.isForeignKeyWithIndex(body.table, body.name)) {
                return text + "DROP FOREIGN KEY " + mariaDbName(body.name) + ", DROP INDEX " +
                       mariaDbName(body.name);
            }
            return text + "DROP CONSTRAINT " + mariaDbName(body.name);
    }
    refuse("ALTER TABLE");
}

std::string Emitter::visit(const CreateIndexStatement& body) {
    const IndexDef& index = body.index;
    std::string columns = indexColumns(body.table, index.columns);
    if (index.primary) {
        return "ALTER TABLE " + table(body.table) + " ADD PRIMARY KEY (" + columns +
               "), COMMENT = " + mariaDbText(std::string(kMariaDbPrimaryKeyComment) + index.name);
    }
    // The Access options the server has no word for stay in the comment,
    // as a copy keeps them.
    std::string comment = index.required      ? " COMMENT 'access: WITH DISALLOW NULL'"
                          : index.ignoreNulls ? " COMMENT 'access: WITH IGNORE NULL'"
                                              : "";
    return std::string("CREATE ") + (index.unique ? "UNIQUE " : "") + "INDEX " +
           mariaDbName(index.name) + " ON " + table(body.table) + " (" + columns + ")" + comment;
}

std::string Emitter::visit(const DropIndexStatement& body) {
    if (schema_.isPrimaryKey(body.table, body.index)) {
        return "ALTER TABLE " + table(body.table) + " DROP PRIMARY KEY";
    }
    return "DROP INDEX " + mariaDbName(body.index) + " ON " + table(body.table);
}

std::string Emitter::visit(const DropTableStatement& body) {
    // Access drops a saved query with DROP TABLE too.
    return (schema_.isView(body.table) ? "DROP VIEW " : "DROP TABLE ") + table(body.table);
}

std::string Emitter::visit(const CreateViewStatement& body) {
    noteNames(*body.query);
    std::string text = "CREATE VIEW " + mariaDbName(body.view);
    if (!body.columns.empty()) {
        text += " (" + nameList(body.columns) + ")";
    }
    return text + " AS " + query(*body.query);
}

std::string Emitter::visit(const DropViewStatement& body) {
    return "DROP VIEW " + table(body.view);
}

}  // namespace

std::string mariaDbName(std::string_view name) {
    std::string text = "`";
    for (char character : name) {
        text += character;
        if (character == '`') {
            text += '`';
        }
    }
    return text + "`";
}

std::string mariaDbText(std::string_view text) {
    std::string out = "'";
    for (char character : text) {
        if (character == '\'') {
            out += "''";
        } else if (character == '\\') {
            out += "\\\\";
        } else if (character == '\0') {
            out += "\\0";
        } else {
            out += character;
        }
    }
    return out + "'";
}

std::string mariaDbColumnType(const ColumnDef& column) {
    switch (column.type) {
        case JetType::Boolean:
            return "BOOLEAN";
        case JetType::Byte:
            return "TINYINT UNSIGNED";
        case JetType::Integer:
            return "SMALLINT";
        case JetType::Long:
            return "INT";
        case JetType::Currency:
            return "DECIMAL(19,4)";
        case JetType::Single:
            return "FLOAT";
        case JetType::Double:
            return "DOUBLE";
        case JetType::DateTime:
            return "DATETIME";
        case JetType::Binary:
            return "VARBINARY(" + std::to_string(column.size) + ")";
        case JetType::Text:
            // Long texts would pass MariaDB's row size in wide tables; TEXT
            // does not count there and holds the same values.
            return column.size > 100 ? "TEXT" : "VARCHAR(" + std::to_string(column.size) + ")";
        case JetType::OLE:
            return "LONGBLOB";
        case JetType::Memo:
            return "LONGTEXT";
        case JetType::GUID:
            return "CHAR(38)";
        case JetType::Decimal:
            return "DECIMAL(" + std::to_string(column.precision) + "," +
                   std::to_string(column.scale) + ")";
    }
    return "INT";
}

namespace {

bool isPlainNumber(const std::string& text) {
    if (text.empty() || text.size() > 30) {
        return false;
    }
    size_t start = text[0] == '-' ? 1 : 0;
    return start < text.size() && text.find_first_not_of("0123456789.", start) == std::string::npos;
}

}  // namespace

std::string mariaDbColumnDeclaration(const ColumnDef& column) {
    std::string text = mariaDbName(column.name) + " " + mariaDbColumnType(column);
    if (column.required || column.autoNumber) {
        text += " NOT NULL";
    }
    if (column.autoNumber) {
        text += " AUTO_INCREMENT";
    }
    // Defaults are Access expressions; plain numbers mean the same on the
    // server, the rest is kept in the comment for a copy back.
    if (column.defaultValue && isPlainNumber(*column.defaultValue)) {
        text += " DEFAULT " + *column.defaultValue;
    }
    return text + " COMMENT " +
           mariaDbText(std::string(kMariaDbAccessTypeComment) + declarationOf(column) +
                       (column.required ? " NOT NULL" : "") +
                       (column.defaultValue ? " DEFAULT " + *column.defaultValue : std::string()));
}

std::string toMariaDb(const Statement& statement, const MariaDbSchema& schema) {
    return Emitter(statement, schema).statement();
}

}  // namespace orvdb::engine::sql
