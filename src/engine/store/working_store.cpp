#include "engine/store/working_store.hpp"

#include "engine/dataset/statement_cache.hpp"
#include "engine/engine_error.hpp"
#include "engine/functions/jet_functions.hpp"
#include "engine/jet_datetime.hpp"
#include "engine/store/jet_mirror.hpp"
#include "engine/store/jet_table_module.hpp"
#include "engine/store/jet_write_back.hpp"
#include "engine/store/pager.hpp"
#include "engine/store/sqlite_util.hpp"
#include "engine/store/store_functions.hpp"
#include "engine/store/write_through.hpp"
#include "jet/check/file_check.hpp"
#include "jet/format/jet_error.hpp"
#include "jet/read/jet_file.hpp"
#include "jet/read/salvage_reader.hpp"
#include "jet/read/table_definition.hpp"
#include "jet/read/table_reader.hpp"
#include "jet/write/file_writer.hpp"
#include "jet/write/new_database_image.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <mutex>

namespace orvdb::engine {

namespace fs = std::filesystem;

namespace {

std::mutex registryMutex;
std::string defaultPassword;
std::map<std::string, std::weak_ptr<WorkingStore>>& registry() {
    static std::map<std::string, std::weak_ptr<WorkingStore>> stores;
    return stores;
}

std::string canonicalPath(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::absolute(path), ec);
    return ec ? fs::absolute(path).lexically_normal().string() : p.string();
}

}  // namespace

FileFormat detectFileFormat(const std::string& path) {
    std::error_code ec;
    fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        return FileFormat::Missing;
    }
    if (!fs::is_regular_file(status)) {
        return FileFormat::NotRegular;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return FileFormat::Unknown;
    }
    char head[32] = {};
    in.read(head, sizeof head);
    std::streamsize got = in.gcount();
    if (got == 0) {
        return FileFormat::Empty;
    }
    if (got >= 16 && std::memcmp(head, "SQLite format 3\0", 16) == 0) {
        return FileFormat::Store;
    }
    if (got >= 21 && std::memcmp(head + 4, "Standard Jet DB", 15) == 0) {
        return head[20] == 0 ? FileFormat::Jet3 : FileFormat::Jet4;
    }
    return FileFormat::Unknown;
}

WorkingStore::WorkingStore(std::string path, sqlite3* db, bool readOnly)
    : path_(std::move(path)),
      db_(db),
      readOnly_(readOnly),
      catalog_(std::make_unique<Catalog>(db)),
      statementCache_(std::make_unique<StatementCache>()) {}

WorkingStore::~WorkingStore() {
    // A transaction still open is rolled back, as when Jet closes: what was
    // committed is in the file already.
    if (transactionDepth_ > 0 || !sqlite3_get_autocommit(db_)) {
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
        transactionDepth_ = 0;
    }
    if (!readOnly() && transactionDepth_ == 0) {
        try {
            flush();
        } catch (const std::exception& e) {
            // Only counters can be left here, never rows: those were
            // committed (or refused) when they were written.
            std::cerr << "orvdb: " << e.what() << '\n';
        }
    }
    clearBeforeCommit(db_);
    sqlite3_commit_hook(db_, nullptr, nullptr);
    sqlite3_rollback_hook(db_, nullptr, nullptr);
    writeThrough_.reset();
    statementCache_.reset();
    catalog_.reset();
    sqlite3_close_v2(db_);
    pager_.reset();
}

void WorkingStore::startWriteThrough(std::unique_ptr<Pager> pager) {
    pager_ = std::move(pager);
    // Between statements the file is not locked: other processes may commit.
    pager_->lock().release(LockLevel::None);
    installWriteThrough();
}

void WorkingStore::removeWriteThrough() {
    clearBeforeCommit(db_);
    sqlite3_commit_hook(db_, nullptr, nullptr);
    sqlite3_rollback_hook(db_, nullptr, nullptr);
    writeThrough_.reset();
}

void WorkingStore::reloadFromFile() {
    statementCache_ = std::make_unique<StatementCache>();
    removeWriteThrough();
    catalog_.reset();
    sqlite3_close_v2(db_);
    db_ = nullptr;
    unloaded_.clear();
    rowsInFile_.clear();
    fileReaders_.clear();
    catalogChecked_ = false;
    catalogRulesBuilt_ = false;
    loadedInTransaction_.clear();
    reservedTablePages_.clear();
    db_ = openTemporaryStore(jetFile_);
    catalog_ = std::make_unique<Catalog>(db_);
    configure();
    pager_->refreshSize();
    fillMirror(*this, jetFile_, password_);
    installWriteThrough();
    pager_->markSeen();
    schemaChanged();
}

void WorkingStore::enter(bool changes) {
    if (!pager_) {
        return;
    }
    bool writes = changes && !readOnly_;
    bool outermost = readers_ == 0 && writers_ == 0;
    if (writes) {
        if (writers_ == 0) {
            pager_->lock().acquire(LockLevel::Reserved, FileLock::defaultTimeout());
        }
        ++writers_;
    } else {
        if (outermost) {
            pager_->lock().acquire(LockLevel::Shared, FileLock::defaultTimeout());
        }
        ++readers_;
    }
    try {
        if (outermost) {
            // A process that died committing left its journal: roll it back
            // before anything is read.
            pager_->recoverIfNeeded();
            if (transactionDepth_ == 0 && sqlite3_get_autocommit(db_) &&
                pager_->changedByOthers()) {
                reloadFromFile();
            }
        }
        if (writes && sqlite3_get_autocommit(db_)) {
            buildCatalogRules();
        }
    } catch (...) {
        leave(changes);
        throw;
    }
}

void WorkingStore::buildCatalogRules() {
    if (catalogRulesBuilt_) {
        return;
    }
    catalogRulesBuilt_ = true;
    Savepoint rules(db_);
    for (const TableInfo* table : catalog_->tables()) {
        if (!catalogTable(table->name)) {
            continue;
        }
        for (const std::string& problem : catalog_->materializeIndexes(*table)) {
            markDamaged(problem);
        }
        catalog_->rebuildTriggers(*table);
    }
    rules.commit();
}

void WorkingStore::leave(bool changes) {
    if (!pager_) {
        return;
    }
    try {
        if (changes && !readOnly_) {
            if (--writers_ == 0) {
                pager_->lock().release(readers_ > 0 ? LockLevel::Shared : LockLevel::None);
            }
        } else if (--readers_ == 0 && writers_ == 0) {
            pager_->lock().release(LockLevel::None);
        }
    } catch (const EngineError&) {
        // The locks go with the descriptor at worst.
    }
}

void WorkingStore::installWriteThrough() {
    if (readOnly_) {
        return;
    }
    writeThrough_ = std::make_unique<WriteThrough>(db_, *catalog_, *pager_, password_);
    writeThrough_->setLoadedCheck([this](int64_t id) { return loaded(id); });
    setBeforeCommit(db_, [this] {
        if (!writeThrough_ || !writeThrough_->pending()) {
            return;
        }
        // Changes made without passing through enter() (a store function,
        // a table module) still meet the catalog's unique indexes.
        buildCatalogRules();
        // Damage found after the transaction began still stops it.
        if (damaged()) {
            throw EngineError(readOnlyMessage());
        }
        checkMapsBeforeWriting();
        writeThrough_->commit();
    });
    sqlite3_commit_hook(db_, &WorkingStore::onCommit, this);
    sqlite3_rollback_hook(db_, &WorkingStore::onRollback, this);
    catalog_->setTableIdSource([this] { return reserveTablePage(); });
}

void WorkingStore::tableNotLoaded(int64_t id, uint32_t rowsInFile) {
    unloaded_.insert(id);
    rowsInFile_[id] = rowsInFile;
    if (unloaded_.size() == 1) {
        catalog_->setRowsPresentCheck([this](int64_t table) { return loaded(table); });
        catalog_->setTableNameSource([this](const TableInfo& table, bool changesData) {
            return tableNameFor(table, changesData);
        });
        registerJetTableModule(db_, [this]() -> std::unique_ptr<jet::FilePages> {
            return std::make_unique<PagerFilePages>(*pager_);
        });
    }
}

std::string WorkingStore::tableNameFor(const TableInfo& table, bool changesData) {
    if (unloaded_.count(table.id) == 0) {
        return table.storedName;
    }
    if (changesData || rowsInFile_[table.id] <= kLoadedWhenRead) {
        loadForChange({table.name});
        return table.storedName;
    }
    if (fileReaders_.insert(table.id).second) {
        execSql(db_, "CREATE VIRTUAL TABLE IF NOT EXISTS temp." +
                         quoteIdent(jetTableName(table.id)) + " USING orvjet(" +
                         std::to_string(table.id) + ")");
    }
    return jetTableName(table.id);
}

void WorkingStore::loadForChange(const std::vector<std::string>& tableNames) {
    if (unloaded_.empty()) {
        return;
    }
    // The tables named and, through relationships, every table tied to them.
    std::set<int64_t> wanted;
    std::vector<std::string> pending = tableNames;
    while (!pending.empty()) {
        const TableInfo* table = catalog_->findTableInfo(pending.back());
        pending.pop_back();
        if (!table || !wanted.insert(table->id).second) {
            continue;
        }
        for (const Relationship& relationship : catalog_->relationships()) {
            if (sameName(relationship.foreignTable, table->name)) {
                pending.push_back(relationship.primaryTable);
            }
            if (sameName(relationship.primaryTable, table->name)) {
                pending.push_back(relationship.foreignTable);
            }
        }
    }
    std::set<int64_t> loading;
    for (int64_t id : wanted) {
        if (unloaded_.count(id) != 0) {
            loadRows(id);
            loading.insert(id);
        }
    }
    if (!loading.empty()) {
        // Indexes built after the rows go in, and the rules of the tables
        // now that every table they read is there.
        Savepoint rules(db_);
        for (const std::string& problem : catalog_->rowsLoaded(loading)) {
            markDamaged(problem);
        }
        rules.commit();
    }
}

void WorkingStore::loadRows(int64_t id, std::vector<std::string>* losses) {
    const TableInfo* table = nullptr;
    for (const TableInfo* candidate : catalog_->tables()) {
        if (candidate->id == id) {
            table = candidate;
        }
    }
    if (!table) {
        unloaded_.erase(id);
        return;
    }
    LockAtLeast reading(pager_->lock(), LockLevel::Shared);
    // The rows are what the file holds: no change to write, no rule to check.
    std::optional<ChangeLog::Pause> quiet;
    if (writeThrough_) {
        quiet.emplace(writeThrough_->log());
    }
    int triggers = 1;
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, -1, &triggers);
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    try {
        Savepoint load(db_);
        catalog_->createStoredTable(*table);
        PagerPageReader reader(*pager_);
        jet::FilePages pages(reader, pager_->path());
        auto definition = std::make_shared<jet::TableDefinition>(
            jet::readTableDefinition(pages.source(), static_cast<uint32_t>(id)));
        definition->name = table->name;
        if (losses != nullptr) {
            jet::SalvageReader rows(pages.sharedSource(), definition);
            std::vector<std::string> refused;
            size_t kept = loadSalvagedRows(db_, table->storedName, rows, refused);
            for (const std::string& loss : rows.losses()) {
                losses->push_back(loss);
            }
            losses->insert(losses->end(), refused.begin(), refused.end());
            if (!losses->empty()) {
                losses->push_back(std::to_string(kept) + " rows kept, " +
                                  std::to_string(rows.rowsLost() + refused.size()) + " rows and " +
                                  std::to_string(rows.valuesLost()) + " long values lost, " +
                                  std::to_string(rows.pagesLost()) + " pages unreadable");
            }
        } else {
            jet::TableReader rows(pages.sharedSource(), definition);
            // Rows that read may still sit beside damaged indexes or maps,
            // which a later commit would edit: the table is checked whole
            // once, from the rows as they are loaded.
            jet::TableCheck check(pages.sharedSource(), definition);
            loadJetRows(db_, table->storedName, rows, &check);
            for (const jet::CheckFinding& finding : check.finish()) {
                if (finding.severity == jet::CheckSeverity::Error) {
                    markDamaged(finding.text);
                    break;
                }
            }
        }
        load.commit();
    } catch (const jet::JetError& error) {
        sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, triggers, nullptr);
        markDamaged(error.what());
        throw EngineError(error.what());
    } catch (...) {
        sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, triggers, nullptr);
        throw;
    }
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, triggers, nullptr);
    unloaded_.erase(id);
    if (!sqlite3_get_autocommit(db_)) {
        loadedInTransaction_.push_back(id);  // a rollback takes the rows out again
    }
    if (fileReaders_.erase(id) != 0) {
        execSql(db_, "DROP TABLE IF EXISTS temp." + quoteIdent(jetTableName(id)));
    }
    // Statements translated to read the file read the store from now on.
    schemaChanged();
}

int WorkingStore::onCommit(void* self) {
    auto* store = static_cast<WorkingStore*>(self);
    // A change about to be committed without having been written to the
    // file would be lost: the commit is refused (and rolled back).
    if (store->writeThrough_ && store->writeThrough_->pending()) {
        return 1;
    }
    store->reservedTablePages_.clear();
    store->loadedInTransaction_.clear();
    return 0;
}

void WorkingStore::onRollback(void* self) {
    auto* store = static_cast<WorkingStore*>(self);
    if (store->writeThrough_) {
        store->writeThrough_->rollback();
    }
    store->reservedTablePages_.clear();
    for (int64_t id : store->loadedInTransaction_) {
        store->unloaded_.insert(id);
    }
    store->loadedInTransaction_.clear();
}

int64_t WorkingStore::reserveTablePage() {
    auto taken = [this](uint32_t page) {
        if (reservedTablePages_.count(page) != 0) {
            return true;
        }
        // Object ids are unique in MSysObjects: a table whose id another
        // object has would be ambiguous.
        for (const char* sql :
             {"SELECT 1 FROM _orv_tables WHERE id = ?", "SELECT 1 FROM _orv_views WHERE id = ?"}) {
            Stmt s(db_, sql);
            s.bind(1, int64_t{page});
            if (s.step()) {
                return true;
            }
        }
        if (const TableInfo* objects = catalog_->findTableInfo("MSysObjects")) {
            Stmt s(db_, "SELECT 1 FROM " + quoteIdent(objects->storedName) + " WHERE Id = ?");
            s.bind(1, int64_t{page});
            if (s.step()) {
                return true;
            }
        }
        return false;
    };
    LockAtLeast reading(pager_->lock(), LockLevel::Shared);
    PagerPageReader reader(*pager_);
    jet::FilePages view(reader, pager_->path());
    uint32_t page = 3;
    for (; page < view.pageCount(); ++page) {
        if (view.isFree(page) && !taken(page)) {
            break;
        }
    }
    if (page >= view.pageCount()) {
        page = view.pageCount();
        while (taken(page)) {
            ++page;
        }
    }
    reservedTablePages_.insert(page);
    // A table dropped earlier may have had this page: the new table starts
    // empty in the store, with nothing of the old one to read from the file.
    unloaded_.erase(page);
    rowsInFile_.erase(page);
    if (fileReaders_.erase(page) != 0) {
        execSql(db_, "DROP TABLE IF EXISTS temp." + quoteIdent(jetTableName(page)));
    }
    return page;
}

void WorkingStore::markDamaged(const std::string& finding) {
    if (damage_.empty()) {
        damage_ = finding;
    }
}

void WorkingStore::checkCatalogTables() {
    if (catalogChecked_ || !pager_) {
        return;
    }
    LockAtLeast reading(pager_->lock(), LockLevel::Shared);
    PagerPageReader reader(*pager_);
    jet::FilePages pages(reader, pager_->path());
    for (const TableInfo* table : catalog_->tables()) {
        if (damaged()) {
            break;
        }
        if (!catalogTable(table->name) || !loaded(table->id)) {
            continue;
        }
        try {
            auto definition = std::make_shared<jet::TableDefinition>(
                jet::readTableDefinition(pages.source(), static_cast<uint32_t>(table->id)));
            definition->name = table->name;
            for (const jet::CheckFinding& finding :
                 jet::checkJetTable(pages.sharedSource(), definition)) {
                if (finding.severity == jet::CheckSeverity::Error) {
                    markDamaged(finding.text);
                    break;
                }
            }
        } catch (const jet::JetError& error) {
            markDamaged(error.what());
        }
    }
    catalogChecked_ = true;
}

void WorkingStore::checkMapsBeforeWriting() {
    checkCatalogTables();
    if (damaged()) {
        throw EngineError(readOnlyMessage());
    }
    if (mapsChecked_ || jetFile_.empty()) {
        return;
    }
    jet::CheckReport report;
    try {
        report = jet::checkJetFile(jet::JetFile::open(jetFile_, password_), jet::CheckScope::Maps);
    } catch (const jet::JetError& error) {
        markDamaged(error.what());
        throw EngineError(readOnlyMessage());
    }
    for (const jet::CheckFinding& finding : report.findings) {
        if (finding.severity == jet::CheckSeverity::Error) {
            markDamaged(finding.text);
            throw EngineError(readOnlyMessage());
        }
    }
    mapsChecked_ = true;
}

void WorkingStore::flush() {
    if (readOnly() || transactionDepth_ > 0 || !sqlite3_get_autocommit(db_)) {
        return;
    }
    Savepoint counters(db_);
    catalog_->flushAutoNumbers();
    counters.commit();
}

void WorkingStore::configure() {
    sqlite3_extended_result_codes(db_, 1);
    registerJetCollation(db_);
    registerJetFunctions(db_);
    registerStoreFunctions(db_, *this);
    execSql(db_, "PRAGMA recursive_triggers = ON; PRAGMA foreign_keys = OFF;");
    if (!readOnly_) {
        execSql(db_, "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;");
    }
}

std::string WorkingStore::readOnlyMessage() const {
    if (damaged()) {
        return "'" + jetFile_ + "' is damaged and opened read-only: " + damage_ +
               ". 'orvdb check' lists the damage; 'orvdb repair' copies what can be read into a "
               "new file.";
    }
    if (!jetFile_.empty()) {
        return "'" + jetFile_ +
               "' is opened read-only: the file is write-protected or was opened with Mode=Read.";
    }
    return "Cannot update.  Database or object is read-only. (file '" + path_ + "')";
}

void WorkingStore::setDefaultPassword(std::string password) {
    std::lock_guard lock(registryMutex);
    defaultPassword = std::move(password);
}

std::shared_ptr<WorkingStore> WorkingStore::adoptMirror(std::string path, sqlite3* db,
                                                        bool readOnly,
                                                        std::optional<std::string> password) {
    std::shared_ptr<WorkingStore> store(new WorkingStore(path, db, readOnly));
    store->jetFile_ = std::move(path);
    store->password_ = std::move(password);
    return store;
}

void WorkingStore::setWriteBackCalls(const jet::FileSystemCalls& calls) {
    writeBackCalls_ = std::make_unique<jet::FileSystemCalls>(calls);
}

void WorkingStore::setStorageCalls(const StorageCalls& calls) {
    if (pager_) {
        pager_->setCalls(calls);
    }
}

void WorkingStore::compact() {
    if (readOnly()) {
        throw EngineError(readOnlyMessage());
    }
    if (transactionDepth_ > 0) {
        throw EngineError("Cannot compact '" + path_ + "' inside a transaction.");
    }
    if (jetFile_.empty()) {
        execSql(db_, "VACUUM");
        return;
    }
    // The file is written anew from the store: every row must be in it,
    // and nothing the file holds may be damaged (what cannot be read would
    // be left out).
    for (int64_t id : std::set<int64_t>(unloaded_)) {
        loadRows(id);
    }
    if (!damaged()) {
        LockAtLeast reading(pager_->lock(), LockLevel::Shared);
        jet::CheckReport report = jet::checkJetFile(jet::JetFile::open(jetFile_, password_));
        for (const jet::CheckFinding& finding : report.findings) {
            if (finding.severity == jet::CheckSeverity::Error) {
                markDamaged(finding.text);
                break;
            }
        }
    }
    if (damaged()) {
        throw EngineError(readOnlyMessage());
    }
    // Nobody else may read the file while it is replaced.
    pager_->lock().acquire(LockLevel::Exclusive, FileLock::defaultTimeout());
    try {
        writeBackJetFile(db_, *catalog_, jetFile_, password_,
                         writeBackCalls_ ? *writeBackCalls_ : jet::FileSystemCalls{});
    } catch (...) {
        pager_->lock().release(LockLevel::Shared);
        throw;
    }
    pager_->lock().release(LockLevel::Shared);
    compacted_ = true;
}

namespace {

// A file nobody may write (no write permission bit) is opened read-only even
// by a user the system would let write it.
bool writeProtected(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return true;
    }
    return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

}  // namespace

std::shared_ptr<WorkingStore> WorkingStore::open(const std::string& path,
                                                 const std::string& password, OpenMode mode) {
    std::string key = canonicalPath(path);
    std::lock_guard lock(registryMutex);
    if (auto existing = registry()[key].lock()) {
        return existing;
    }

    switch (detectFileFormat(path)) {
        case FileFormat::Missing:
            throw EngineError("Could not find file '" + path + "'.");
        case FileFormat::NotRegular:
            throw EngineError("'" + path +
                              "' is not a regular file (a folder, device or pipe): only database "
                              "files open.");
        case FileFormat::Empty:
            throw EngineError("'" + path + "' is empty: it is not a database file.");
        case FileFormat::Jet3:
            throw EngineError("'" + path +
                              "' is an Access 97 (Jet 3) database; only Access 2000 and later "
                              "(Jet 4) files are supported.");
        case FileFormat::Jet4: {
            bool readOnly = mode == OpenMode::ReadOnly || writeProtected(path);
            // Taken before reading, so no other process writes while we load.
            // The pager first: it rolls back what an interrupted commit left
            // and holds the shared lock while the file is read.
            std::unique_ptr<Pager> pager = Pager::open(path, readOnly);
            auto store =
                mirrorJetFile(path, password.empty() ? defaultPassword : password, readOnly);
            store->startWriteThrough(std::move(pager));
            registry()[key] = store;
            return store;
        }
        case FileFormat::Unknown:
            throw EngineError("Unrecognized database format '" + path + "'.");
        case FileFormat::Store:
            break;
    }

    bool readOnly = mode == OpenMode::ReadOnly || ::access(path.c_str(), W_OK) != 0;
    sqlite3* db = nullptr;
    int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close_v2(db);
        throw EngineError("Cannot open '" + path + "': " + message);
    }
    std::shared_ptr<WorkingStore> store(new WorkingStore(key, db, readOnly));
    try {
        store->configure();
        if (!Catalog::hasCatalog(db)) {
            throw EngineError("Unrecognized database format '" + path +
                              "': it is a SQLite database without an orvdb catalog.");
        }
        store->catalog().load();
    } catch (const EngineError& e) {
        std::string message = e.what();
        if (message.find(path) == std::string::npos) {
            message += " (file '" + path + "')";
        }
        throw EngineError(message);
    }
    registry()[key] = store;
    return store;
}

void WorkingStore::createDatabase(const std::string& path) {
    if (detectFileFormat(path) != FileFormat::Missing) {
        throw EngineError("Database '" + path + "' already exists.");
    }
    std::error_code ec;
    fs::path parent = fs::path(path).parent_path();
    if (!parent.empty() && !fs::is_directory(parent, ec)) {
        throw EngineError("Cannot create database '" + path + "': folder '" + parent.string() +
                          "' does not exist.");
    }
    try {
        jet::writeJetFile(jet::newDatabaseImage(jetDateNow()), path);
    } catch (const std::exception& e) {
        throw EngineError("Cannot create database '" + path + "': " + e.what());
    }
}

void WorkingStore::begin() {
    if (transactionDepth_ == 0) {
        // The transaction holds the file for writing until it ends.
        enter(true);
        try {
            execSql(db_, "BEGIN");
        } catch (...) {
            leave(true);
            throw;
        }
    } else {
        execSql(db_, "SAVEPOINT orv_tx_" + std::to_string(transactionDepth_));
    }
    ++transactionDepth_;
}

void WorkingStore::commit() {
    if (transactionDepth_ == 0) {
        throw EngineError("Commit without a transaction.");
    }
    catalog_->flushAutoNumbers();
    if (transactionDepth_ == 1) {
        try {
            beforeCommit(db_);
            execSql(db_, "COMMIT");
        } catch (const EngineError&) {
            // The file could not take the transaction: it is rolled back
            // whole, and the file is as it was.
            rollback();
            throw;
        }
        transactionDepth_ = 0;
        leave(true);
    } else {
        --transactionDepth_;
        execSql(db_, "RELEASE orv_tx_" + std::to_string(transactionDepth_));
    }
}

void WorkingStore::rollback() {
    if (transactionDepth_ == 0) {
        throw EngineError("Rollback without a transaction.");
    }
    --transactionDepth_;
    if (transactionDepth_ == 0) {
        struct Leave {
            WorkingStore& store;
            ~Leave() { store.leave(true); }
        } leaving{*this};
        execSql(db_, "ROLLBACK");
    } else {
        execSql(db_, "ROLLBACK TO orv_tx_" + std::to_string(transactionDepth_) +
                         "; RELEASE orv_tx_" + std::to_string(transactionDepth_));
    }
    // The catalog may have changed inside the transaction.
    catalog_->load();
    schemaChanged();
}

}  // namespace orvdb::engine
