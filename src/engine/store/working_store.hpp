// The working store: one SQLite database serving every connection of the
// process that opens the same file. Stores are shared through a registry
// keyed by canonical path and live while a connection holds them.
#pragma once

#include "engine/catalog/catalog.hpp"
#include "engine/store/journal.hpp"

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace orvdb::jet {
struct FileSystemCalls;
}

namespace orvdb::engine {

// What a file on disk holds, judged by its first bytes.
// NotRegular: a folder, device or FIFO (reading one could block or never end).
enum class FileFormat { Missing, NotRegular, Empty, Store, Jet4, Jet3, Unknown };
FileFormat detectFileFormat(const std::string& path);

// Per-connection state the store's SQL functions need while a statement of
// that connection runs (@@IDENTITY is per connection).
struct SessionState {
    int64_t lastIdentity = 0;
};

class Pager;
class StatementCache;
class WriteThrough;

// ReadOnly: the file is never written (Mode=Read in a connection string).
// A write-protected file opens read-only whatever is asked.
enum class OpenMode { ReadWrite, ReadOnly };

class WorkingStore {
public:
    ~WorkingStore();
    WorkingStore(const WorkingStore&) = delete;
    WorkingStore& operator=(const WorkingStore&) = delete;

    // The store of an existing database file, shared when already open (in
    // whatever mode it was first opened). A Jet file is mirrored into a
    // temporary store; password opens a protected one. Opening a Jet file for
    // writing takes its lock file.
    static std::shared_ptr<WorkingStore> open(const std::string& path,
                                              const std::string& password = "",
                                              OpenMode mode = OpenMode::ReadWrite);
    // The password used for protected Jet files opened without one (a
    // command-line host sets it from its --password option).
    static void setDefaultPassword(std::string password);

    // Creates a new empty database (with its system tables) at path; fails
    // when a file is already there.
    static void createDatabase(const std::string& path);

    sqlite3* db() const { return db_; }
    Catalog& catalog() { return *catalog_; }
    const std::string& path() const { return path_; }
    bool readOnly() const { return readOnly_ || damaged(); }
    // Why the store cannot be changed, for the error a write gets.
    std::string readOnlyMessage() const;

    // Damage found in the file (a table whose pages, rows, long values or
    // indexes contradict each other, a unique index holding duplicates,
    // pages in use that the global map marks free): the store stays
    // readable, and from now on nothing writes the file. The first finding
    // is kept for the messages.
    void markDamaged(const std::string& finding);
    bool damaged() const { return !damage_.empty(); }
    const std::string& damage() const { return damage_; }
    // The database file a mirror was loaded from ("" for a native store).
    const std::string& jetFile() const { return jetFile_; }

    // Bumped by every change of the catalog; cached translations compare it.
    uint64_t schemaVersion() const { return schemaVersion_; }
    void schemaChanged() { ++schemaVersion_; }

    StatementCache& statementCache() { return *statementCache_; }

    // The session whose statement runs now.
    SessionState* session() const { return session_; }
    void setSession(SessionState* session) { session_ = session; }

    // Every commit of a mirrored Jet file writes its changes into the file
    // before it returns; what may be left outside a transaction are
    // autonumber counters moved by inserts that failed: written now.
    // Throws EngineError naming the file and why.
    void flush();
    // Rewrites the file whole even when nothing changed: a mirrored Jet file
    // is written anew packed (beside the original, renamed over it), a
    // native store vacuumed. Throws EngineError for a read-only store or
    // inside a transaction. A compacted Jet store must be opened again
    // before further use.
    void compact();
    // Writes what can be read of the Access file into a new file `out`
    // (which must not exist): every table, each with every row that reads
    // (a long value that does not read becomes Null). Returns what was left
    // out (pages, rows, long values) or is still wrong in the copy.
    std::vector<std::string> salvageTo(const std::string& out);
    // Replaces the system calls of commits and compacting (tests make them fail).
    void setWriteBackCalls(const ::orvdb::jet::FileSystemCalls& calls);
    void setStorageCalls(const StorageCalls& calls);
    // The file's pager (Jet files only).
    Pager* pager() const { return pager_.get(); }

    // Transactions nest: the outermost begins and commits the SQLite one;
    // committing it writes a mirrored file back.
    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return transactionDepth_; }

    // --- sharing the file with other processes ---
    // Holds the file's locks while a statement, a cursor operation or a
    // transaction reads it (SHARED) or changes it (RESERVED, then EXCLUSIVE
    // while its commit writes). The outermost access first reads the file
    // again when another process changed it. Waits up to the lock timeout
    // for other processes, then throws EngineError naming the file and the
    // process in the way.
    class Access {
    public:
        Access(WorkingStore& store, bool changes) : store_(store), changes_(changes) {
            store_.enter(changes_);
        }
        ~Access() { store_.leave(changes_); }
        Access(const Access&) = delete;
        Access& operator=(const Access&) = delete;

    private:
        WorkingStore& store_;
        bool changes_;
    };
    void enter(bool changes);
    void leave(bool changes);

    // --- rows read when first used ---
    // A user table of a mirrored file whose rows are still only in the file.
    void tableNotLoaded(int64_t id, uint32_t rowsInFile);
    bool loaded(int64_t id) const { return unloaded_.count(id) == 0; }
    // The store holds the rows of the named tables, and of every table a
    // relationship ties them to (integrity checks and cascades read those),
    // before a statement changes them. Unknown names are ignored.
    void loadForChange(const std::vector<std::string>& tableNames);
    // Tables of at most this many rows are loaded when a statement first
    // reads them; larger ones are read from the file until one changes them.
    static constexpr uint32_t kLoadedWhenRead = 5000;

    // Used by the Jet mirror, which builds the store itself.
    static std::shared_ptr<WorkingStore> adoptMirror(std::string path, sqlite3* db, bool readOnly,
                                                     std::optional<std::string> password);
    void configureForMirror() { configure(); }

private:
    WorkingStore(std::string path, sqlite3* db, bool readOnly);
    void configure();
    // From now on every commit writes through to the Jet file.
    void startWriteThrough(std::unique_ptr<Pager> pager);
    void installWriteThrough();
    void removeWriteThrough();
    // Another process changed the file: the store is read from it again.
    void reloadFromFile();
    // A page for the definition of a new table (its id): free in the file
    // and set aside until the transaction ends.
    int64_t reserveTablePage();
    static int onCommit(void* self);
    static void onRollback(void* self);
    std::string tableNameFor(const TableInfo& table, bool changesData);
    // `losses`: keep every row that reads, and say there what could not be
    // read (pages, rows, long values), instead of failing.
    void loadRows(int64_t id, std::vector<std::string>* losses = nullptr);
    // Before the first commit writes the file: Jet's catalog tables (whose
    // rows are loaded at open and which definitions edit) are checked whole,
    // and the usage maps agree with the global map (a page taken as free must
    // be free). Marks the store damaged and throws EngineError when they do
    // not.
    void checkMapsBeforeWriting();
    // The catalog tables alone, once: damage marks the store.
    void checkCatalogTables();
    // The store's indexes and triggers on the catalog tables, built before
    // the first change (they keep MSysObjects' names and ids unique and its
    // required columns filled; reads need none of them). A unique index
    // that the file's rows break marks the store damaged.
    void buildCatalogRules();

    std::string path_;
    sqlite3* db_;
    bool readOnly_;
    std::string jetFile_;
    std::unique_ptr<Catalog> catalog_;
    std::unique_ptr<StatementCache> statementCache_;
    uint64_t schemaVersion_ = 1;
    SessionState* session_ = nullptr;
    int transactionDepth_ = 0;
    std::optional<std::string> password_;
    std::unique_ptr<Pager> pager_;
    std::unique_ptr<WriteThrough> writeThrough_;
    bool committing_ = false;  // the write-through of this commit ran
    std::string damage_;
    bool mapsChecked_ = false;
    bool catalogChecked_ = false;
    bool catalogRulesBuilt_ = false;
    bool compacted_ = false;
    std::set<uint32_t> reservedTablePages_;
    std::set<int64_t> unloaded_;
    std::map<int64_t, uint32_t> rowsInFile_;
    std::set<int64_t> fileReaders_;  // tables with a virtual table over the file
    std::vector<int64_t> loadedInTransaction_;
    int readers_ = 0;  // accesses that read
    int writers_ = 0;  // accesses that change
    std::unique_ptr<::orvdb::jet::FileSystemCalls> writeBackCalls_;
};

// Makes a session current on a store for the duration of a scope.
class SessionScope {
public:
    SessionScope(WorkingStore& store, SessionState& session)
        : store_(store), previous_(store.session()) {
        store.setSession(&session);
    }
    ~SessionScope() { store_.setSession(previous_); }

private:
    WorkingStore& store_;
    SessionState* previous_;
};

}  // namespace orvdb::engine
