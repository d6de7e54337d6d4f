#include "host/schema_renames.hpp"

#include <initializer_list>

#include "base/names.hpp"
#include "host/cursor_calls.hpp"
#include "host/debug_output.hpp"

namespace orvdb::host {

namespace {

using calls::PushedQuery;

using std::u16string;
using std::u16string_view;

constexpr int32_t kSelect = 0;
constexpr int32_t kExecute = 1;

// The pattern with each %s replaced by the next argument, as the statements
// are written in the suite's formats.
u16string fill(u16string_view pattern, std::initializer_list<u16string_view> args) {
    u16string out;
    auto arg = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u's' &&
            arg != args.end()) {
            out += *arg++;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

u16string quoted(u16string_view text) {
    u16string out = u"'";
    for (char16_t c : text) {
        out += c;
        if (c == u'\'') {
            out += c;
        }
    }
    return out + u"'";
}

bool sameTable(u16string_view a, u16string_view b) {
    return base::sameName(toUtf8(a), toUtf8(b));
}

bool tableExists(iDatabase& db, u16string_view name) {
    Bstr text(name);
    OrvWordBool exists = ORV_WFALSE;
    throwIfFailed(db.TableExists(text.get(), &exists), "TableExists");
    return exists != 0;
}

// Runs a step whose failure the operation ignores; the reason goes to the
// opt-in trace.
template <class Step>
void ignoringFailure(const char* what, Step&& step) {
    try {
        step();
    } catch (const std::exception& e) {
        debugTrace(std::string(what) + ": " + e.what());
    }
}

void dropConstraint(PushedQuery& query, u16string_view table, u16string_view relationship) {
    query.run(u"ALTER TABLE [" + u16string(table) + u"] DROP CONSTRAINT " +
              u16string(relationship));
}

struct ForeignKey {
    u16string table;
    u16string relationship;
    u16string column;
    u16string referencedTable;
    u16string referencedColumn;
};

// The key again under relationship + "__X", on a query of its own.
void recreateForeignKey(iDatabase& db, const ForeignKey& key, bool dropFirst) {
    PushedQuery query(db);
    query.setKind(kExecute);
    if (dropFirst) {
        dropConstraint(query, key.table, key.relationship);
    }
    const u16string newName = key.relationship + u"__X";
    query.run(
        fill(u"ALTER TABLE  %s  "
             u" ADD CONSTRAINT %s "
             u" FOREIGN KEY (%s) "
             u" REFERENCES %s(%s)",
             {key.table, newName, key.column, key.referencedTable, key.referencedColumn}));
}

}  // namespace

void renameTable(iDatabase& db, u16string_view oldName, u16string_view newName, bool dropOld,
                 bool dropNewFirst) {
    if (!tableExists(db, oldName)) {
        return;
    }
    PushedQuery reader(db);
    PushedQuery executor(db);
    executor.setKind(kExecute);
    if (dropNewFirst) {
        executor.run(u"DROP TABLE " + u16string(newName));
    }
    executor.run(fill(u"SELECT * INTO %s FROM [%s]", {newName, oldName}));
    executor.run(
        fill(u"CREATE UNIQUE INDEX ID_%s ON %s(%s) WITH PRIMARY", {newName, newName, u"ID"}));

    reader.run(
        fill(u"SELECT * FROM MsysRelationShips"
             u" WHERE (szReferencedObject='%s')"
             u"    OR (szObject='%s')",
             {oldName, oldName}));
    while (reader.opened()) {
        ForeignKey key{reader.field(u"szObject"), reader.field(u"szRelationShip"),
                       reader.field(u"szColumn"), reader.field(u"szReferencedObject"),
                       reader.field(u"szReferencedColumn")};
        if (sameTable(key.table, oldName)) {
            key.table = newName;
        }
        if (sameTable(key.referencedTable, oldName)) {
            key.referencedTable = newName;
        }
        recreateForeignKey(db, key, dropOld);
        reader.next();
    }
    if (dropOld) {
        executor.run(fill(u"DROP TABLE [%s]", {oldName}));
    }
}

void renameColumn(iDatabase& db, u16string_view table, u16string_view oldColumn,
                  u16string_view newColumn, u16string_view columnType, bool dropOld,
                  bool recreateKeys) {
    PushedQuery query(db);
    ignoringFailure("RenameColumn: adding the column", [&] {
        query.setKind(kExecute);
        query.run(fill(u"ALTER TABLE %s ADD COLUMN %s %s", {table, newColumn, columnType}));
    });
    ignoringFailure("RenameColumn: reading the relationships", [&] {
        query.setKind(kSelect);
        query.run(fill(u"SELECT * FROM %s WHERE szColumn=%s AND szObject=%s",
                       {u"MsysRelationShips", quoted(oldColumn), quoted(table)}));
    });
    while (query.opened()) {
        const u16string relationship = query.field(u"szRelationShip");
        if (recreateKeys) {
            recreateForeignKey(
                db,
                {u16string(table), relationship, u16string(newColumn),
                 query.field(u"szReferencedObject"), query.field(u"szReferencedColumn")},
                dropOld);
        } else if (dropOld) {
            PushedQuery dropper(db);
            dropper.setKind(kExecute);
            dropConstraint(dropper, table, relationship);
        }
        query.next();
    }
    ignoringFailure("RenameColumn: copying the values", [&] {
        query.setKind(kExecute);
        query.run(fill(u"UPDATE %s SET %s=[%s]", {table, newColumn, oldColumn}));
        if (dropOld) {
            query.run(fill(u"ALTER TABLE %s DROP COLUMN [%s]", {table, oldColumn}));
        }
    });
}

}  // namespace orvdb::host
