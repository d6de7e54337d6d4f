#include "merge/merge_access_database.hpp"

#include "data/database_factory.hpp"
#include "data/user_tables_query.hpp"
#include "host/boundary_strings.hpp"
#include "host/dialogs.hpp"
#include "host/file_utils.hpp"
#include "host/host_services.hpp"
#include "host/paths.hpp"
#include "host/registry_info.hpp"
#include "host/text_file_writer.hpp"
#include "kinds/provider_server.hpp"
#include "kinds/soft_database.hpp"
#include "merge/directory_index_merge.hpp"
#include "merge/merge_calls.hpp"
#include "merge/merge_paths.hpp"
#include "merge/server_providers.hpp"
#include "merge/table_export.hpp"

#include <cstdio>
#include <filesystem>
#include <set>
#include <stdexcept>

namespace orvdb::merge {

namespace {

constexpr const char* kLibrary = "XLIB";
constexpr const char* kProvider = "GAMMISTE";
constexpr const char* kDataFile = "XLibData.mdb";
constexpr int kUtf8WithBom = host::kEncodingUtf8WithBom;

const char* const kSubFolders[] = {"X2D",    "Section",  "Picture",  "Objet3D",
                                   "Shapes", "Division", "Libraries"};
const char* const kIndexFolders[] = {"Shapes/Conservatories/",
                                     "Shapes/Frames/",
                                     "Shapes/Gates/",
                                     "Shapes/Compositions/",
                                     "Libraries/Conservatories/",
                                     "Libraries/Frames/",
                                     "Libraries/Gates/",
                                     "Libraries/Compositions/"};

std::string rule(size_t width) {
    return std::string(width, '-');
}

std::string utf8(const host::Bstr& text) {
    return text.utf8();
}

template <class... Args>
std::string format(const char* pattern, Args... args) {
    int size = std::snprintf(nullptr, 0, pattern, args...);
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, args...);
    return text;
}

bool opened(iDatabase& database) {
    OrvWordBool value = ORV_WFALSE;
    host::throwIfFailed(database.Get_Opened(&value), "Get_Opened");
    return value != 0;
}

std::string databasePath(const std::string& folderName) {
    return providerFolder(folderName) + "/" + kDataFile;
}

}  // namespace

void TMergeAccessDatabase::InitParams(ComPtr<iMultiDatabase> container, std::string inputDB1,
                                      std::string inputDB2, std::string outputDB, int32_t offset) {
    FInputDB1 = std::move(inputDB1);
    FInputDB2 = std::move(inputDB2);
    FOutputDB = std::move(outputDB);
    FOffsetID = offset;
    FDbContainer = std::move(container);
}

void TMergeAccessDatabase::Set_iProgress(ComPtr<IProgressForm> progress) {
    FProgress = ProgressCalls(std::move(progress));
}

void TMergeAccessDatabase::Set_CreateObject(std::shared_ptr<host::ObjectFactory> factory) {
    FCreateObject = std::move(factory);
}

OrvHResult TMergeAccessDatabase::Prepare(IInterface*) {
    if (!FDbContainer) {
        throw std::invalid_argument("the merge has no database container");
    }
    ComPtr<iDatabase> library = useDatabase(*FDbContainer, kLibrary);
    configuration_.load(*library);
    FPrepared = true;
    return ORV_S_OK;
}

OrvHResult TMergeAccessDatabase::Merge(IInterface*) {
    MergeRunLists lists;
    outputTouched_ = false;
    rejectedInserts_.clear();
    OrvHResult result = ORV_S_OK;
    try {
        result = run(lists);
    } catch (const std::exception& e) {
        lists.log.push_back("Merge failed: " + std::string(e.what()));
        if (outputTouched_) {
            abandonOutput(lists);
        }
        lastLog_ = lists.log;
        uncarriedBinaryValues_ = lists.uncarriedBinaryValues;
        try {
            host::WriteSL(mergeLogPath(), lists.log, kUtf8WithBom);
        } catch (const std::exception&) {
            // The run's own failure is the one to report.
        }
        throw;
    }
    lastLog_ = lists.log;
    uncarriedBinaryValues_ = lists.uncarriedBinaryValues;
    host::WriteSL(mergeLogPath(), lists.log, kUtf8WithBom);
    return result;
}

OrvHResult TMergeAccessDatabase::run(MergeRunLists& lists) {
    if (!FDbContainer) {
        throw std::invalid_argument("the merge has no database container");
    }
    ComPtr<iDatabase> library = useDatabase(*FDbContainer, kLibrary);
    if (!FPrepared) {
        lists.log.push_back("Prepare merge");
        Prepare();
    }

    FProgress.setTitle(0, "Copie des bases de données en cours");
    FProgress.setMessage(0, "");
    FProgress.setTitle(1, "");
    FProgress.setMessage(1, "");
    FProgress.setMax(0, 2);

    if (!commonFilesAccepted()) {
        return ORV_S_FALSE;
    }
    checkOutputWritable();
    copyInputs(lists);

    // The staging database.
    useDatabase(*FDbContainer, kProvider);
    ComPtr<iDatabase> staging = repoint(FOutputDB + "_Temp");
    host::registry()->set(host::registry_entry::kProviderName, FOutputDB + "_Temp");
    pushQuery(*staging);

    lists.script = {rule(57),
                    rule(57),
                    "-- IN 1",
                    "-- " + FInputDB1,
                    "-- IN 2",
                    "-- " + FInputDB2,
                    "-- OUT",
                    "-- " + FOutputDB,
                    "-- OUT TEMP",
                    "-- " + FOutputDB + "_TEMP",
                    rule(57),
                    rule(57),
                    "",
                    ""};
    QueryCalls stagingQuery = activeQuery(*staging);

    cleanUpStaging(lists, *library, stagingQuery);
    std::exception_ptr shiftFailure;
    try {
        shiftMachiningParameters(*staging);
    } catch (...) {
        shiftFailure = std::current_exception();
    }
    alignFieldSizes(lists);
    if (shiftFailure) {
        std::rethrow_exception(shiftFailure);
    }

    FProgress.setTitle(0, "Progression de la table en cours:");
    FProgress.setMessage(0, "");
    FProgress.setTitle(1, "Progression des champs de la table en cours");
    FProgress.setMessage(1, "");

    stagingQuery.setType(kActionStatement);
    stagingQuery.open("DROP TABLE  \"éléments du menu général\"");
    stagingQuery.open("DROP TABLE  \"Table des erreurs\"");
    stagingQuery.setType(kSelectStatement);
    exportTables(lists, *staging, stagingQuery);

    host::WriteSL(scriptCopyPath(), lists.script, kUtf8WithBom);

    // The output database.
    ComPtr<iDatabase> output = repoint(FOutputDB);
    host::registry()->set(host::registry_entry::kProviderName, FOutputDB);
    QueryCalls outputQuery = pushQuery(*output);
    outputQuery.setType(kSelectStatement);
    wrapInRelationships(lists, outputQuery);
    runScript(lists, outputQuery);
    importBinaryValues(lists, *output, outputQuery);
    writeOutputToDisk(*output);

    mergeFolders(lists);
    return ORV_S_OK;
}

bool TMergeAccessDatabase::commonFilesAccepted() {
    std::vector<std::string> warning = {"MERGE STOP --- Some files cannot be merged..."};
    if (!host::Get_CommonFiles(providerFolder(FInputDB1), providerFolder(FInputDB2), warning) ||
        warning.size() <= 2) {
        return true;
    }
    warning.push_back("");
    warning.push_back("Do you want continue?");
    std::string text;
    for (const std::string& line : warning) {
        text += (text.empty() ? "" : "\n") + line;
    }
    return host::MessageBox(text, "Warning", host::MB_YESNO, 1) != host::IDNO;
}

void TMergeAccessDatabase::checkOutputWritable() {
    std::string file = databasePath(FOutputDB);
    if (!host::fileExists(file)) {
        return;
    }
    // A write-protected file is refused with a message to the host, as the
    // database kinds refuse one.
    std::string provider = FOutputDB;
    if (!kinds::TSoftDatabase::CheckDatabaseFile(file, provider, true)) {
        throw std::runtime_error("the output database '" + host::resolvePath(file) +
                                 "' is read-only; nothing was copied");
    }
    // The same test the run's own open makes later, before anything is
    // copied over a database someone else is writing.
    ComPtr<iDatabase> probe = data::createDatabase(u"MERGEOUTPUT", u"0", u"MERGEOUTPUT", true, u"",
                                                   host::toUtf16(file), nullptr);
    const bool usable = opened(*probe);
    probe->Close();
    if (!usable) {
        throw std::runtime_error("the output database '" + host::resolvePath(file) +
                                 "' cannot be opened for writing; nothing was copied");
    }
}

void TMergeAccessDatabase::copyInputs(MergeRunLists& lists) {
    lists.log.push_back("Copy 1 in Output");
    outputTouched_ = true;
    copyProviderFolder(FInputDB1, FOutputDB);
    FProgress.step(0);
    lists.log.push_back("Copy 2 in Output temp");
    copyProviderFolder(FInputDB2, FOutputDB + "_Temp");
    FProgress.step(0);
}

ComPtr<iDatabase> TMergeAccessDatabase::repoint(const std::string& folderName) {
    ComPtr<iDatabase> database = currentDatabase(*FDbContainer);
    ComPtr<iProviderName> named = database.as<iProviderName>();
    if (!named) {
        return database;
    }
    host::Bstr current;
    host::throwIfFailed(named->Get_ProviderName(current.put()), "Get_ProviderName");
    if (utf8(current) != folderName) {
        host::throwIfFailed(database->Close(), "Close");
        std::u16string path = host::toUtf16(databasePath(folderName));
        host::throwIfFailed(database->ChangePath(path.c_str()), "ChangePath");
        host::throwIfFailed(database->Open(), "Open");
        host::Bstr name = host::Bstr::fromUtf8(folderName);
        host::throwIfFailed(named->Set_ProviderName(name.get()), "Set_ProviderName");
    }
    if (!opened(*database)) {
        // Open has handed the reason to the host's exception handler; going
        // on would run the merge against nothing.
        throw std::runtime_error("the provider database '" +
                                 host::resolvePath(databasePath(folderName)) +
                                 "' could not be opened");
    }
    return database;
}

void TMergeAccessDatabase::cleanUpStaging(MergeRunLists& lists, iDatabase& library,
                                          QueryCalls& stagingQuery) {
    FProgress.setTitle(0, "Suppression du tarif et des informations doublons");
    FProgress.setMax(0, 15);
    FProgress.setPosition(0, 0);
    lists.log.insert(lists.log.end(), {"", rule(66), "------Start Tarif", rule(28)});

    QueryCalls queries = pushQuery(library);
    queries.open("SELECT mtLog, mtQuery FROM MergeTarifQueries");
    const int32_t savedType = stagingQuery.type();
    stagingQuery.setType(kActionStatement);
    while (queries.opened()) {
        const std::string logText = queries.text("mtLog");
        const std::string query = queries.text("mtQuery");
        lists.log.push_back(logText);
        lists.log.push_back(logText);
        lists.log.push_back(query);
        try {
            stagingQuery.open(query);
            lists.log.push_back("SUCCEED");
        } catch (const std::exception&) {
            lists.log.push_back("FAILED");
        }
        FProgress.step(0);
        queries.next();
    }
    stagingQuery.setType(savedType);
    popQuery(library);
    lists.log.insert(lists.log.end(), {rule(28), "Query tarif complete", rule(66), ""});
}

void TMergeAccessDatabase::shiftMachiningParameters(iDatabase& staging) {
    QueryCalls query = pushQuery(staging);
    query.setType(kActionStatement);
    query.open("UPDATE Halvo_MachiningOperationParam SET ParamValue=ParamValue+" +
               std::to_string(FOffsetID) + " WHERE Name='V'");
    popQuery(staging);
}

void TMergeAccessDatabase::alignFieldSizes(MergeRunLists& lists) {
    lists.log.push_back("Traitement des tailles de champs");
    lists.log.push_back(rule(32));

    struct Column {
        std::string field;
        std::string table;
        int32_t size = 0;
    };
    std::vector<Column> columns;
    {
        ComPtr<iDatabase> library = useDatabase(*FDbContainer, kLibrary);
        QueryCalls query = pushQuery(*library);
        query.open("SELECT FieldName, Tablename FROM FieldSize");
        while (query.opened()) {
            columns.push_back({query.text("Fieldname"), query.text("Tablename")});
            query.next();
        }
        popQuery(*library);
    }

    useDatabase(*FDbContainer, kProvider);
    lists.log.push_back("Récupérons la taille de tous les champs");
    ComPtr<iDatabase> output = repoint(FOutputDB);
    for (auto column = columns.rbegin(); column != columns.rend(); ++column) {
        QueryCalls query = pushQuery(*output);
        try {
            bool found =
                query.open("SELECT MAX(LEN(" + column->field + ")) AS Max1 FROM " + column->table);
            column->size = found ? query.integer("Max1") : 10;
        } catch (const std::exception&) {
            column->size = 0;
            lists.log.insert(lists.log.end(),
                             {"SELECT FIELD FROM TABLE", "", column->field, column->table});
        }
        popQuery(*output);
        lists.log.push_back(format("Table: %s, Field: %s, Size: %d", column->table.c_str(),
                                   column->field.c_str(), column->size));
    }

    ComPtr<iDatabase> staging = repoint(FOutputDB + "_Temp");
    QueryCalls query = pushQuery(*staging);
    for (const Column& column : columns) {
        const std::string sql =
            format("SELECT MAX(LEN(%s)) AS Max1 FROM %s HAVING MAX(LEN(%s))>%d",
                   column.field.c_str(), column.table.c_str(), column.field.c_str(), column.size);
        try {
            if (query.open(sql)) {
                lists.script.push_back(format("ALTER TABLE %s ALTER COLUMN %s TEXT (%d)",
                                              column.table.c_str(), column.field.c_str(),
                                              query.integer("Max1")));
            }
        } catch (const std::exception&) {
            lists.log.push_back("MAXLEN");
            lists.log.push_back(sql);
        }
    }
    popQuery(*staging);
}

void TMergeAccessDatabase::exportTables(MergeRunLists& lists, iDatabase& staging,
                                        QueryCalls& stagingQuery) {
    TableExportSettings settings{configuration_, FOffsetID, FCreateObject.get(), FProgress,
                                 *FDbContainer};
    TableExport pass(settings, lists);
    stagingQuery.open(data::userTablesQuery() + " ORDER BY NAME");
    if (stagingQuery.opened() && FProgress.present()) {
        int32_t count = stagingQuery.recordCount();
        if (count > 0) {
            FProgress.setMax(0, count);
            FProgress.setPosition(0, 0);
        }
    }
    while (stagingQuery.opened()) {
        const std::string table = stagingQuery.text("Name");
        FProgress.setMessage(0, table);
        if (pass.run(table, true)) {
            pass.run(table, false);
        }
        FProgress.step(0);
        stagingQuery.next();
    }
    popQuery(staging);
}

void TMergeAccessDatabase::wrapInRelationships(MergeRunLists& lists, QueryCalls& outputQuery) {
    lists.log.push_back("Get all relationship");
    std::vector<std::string> drops;
    outputQuery.open("SELECT * FROM MsysRelationShips WHERE grBit=0");
    while (outputQuery.opened()) {
        const std::string object = outputQuery.text("szObject");
        const std::string name = outputQuery.text("szRelationShip");
        drops.push_back("ALTER TABLE " + object + " DROP CONSTRAINT " + name);
        lists.script.push_back("ALTER TABLE " + object + " ADD CONSTRAINT " + name +
                               " FOREIGN KEY (" + outputQuery.text("szColumn") + ") REFERENCES " +
                               outputQuery.text("szReferencedObject") + "(" +
                               outputQuery.text("szReferencedColumn") + ")");
        outputQuery.next();
    }
    // Each drop goes on top, so they end in the reverse order of the rows.
    lists.script.insert(lists.script.begin(), drops.rbegin(), drops.rend());
}

void TMergeAccessDatabase::runScript(MergeRunLists& lists, QueryCalls& outputQuery) {
    outputQuery.setType(kActionStatement);
    FProgress.setMax(1, static_cast<int32_t>(lists.script.size()));
    FProgress.setPosition(1, 0);
    for (size_t i = 0; i < lists.script.size(); ++i) {
        const std::string& line = lists.script[i];
        lists.log.push_back(line);
        if (line.size() > 1 && line[0] != '-') {
            try {
                bool changed = outputQuery.open(line);
                if (!changed && line.rfind("INSERT INTO ", 0) == 0) {
                    rejectedInserts_.push_back({i, line});
                }
            } catch (const std::exception&) {
                lists.log.push_back("Cannot be executed Line: " + std::to_string(i) +
                                    " --- BUG IN \"" + line + "\"");
            }
        }
        FProgress.step(1);
    }
}

void TMergeAccessDatabase::importBinaryValues(MergeRunLists& lists, iDatabase& output,
                                              QueryCalls& outputQuery) {
    lists.log.insert(lists.log.end(), {"", rule(23), "start import blob field"});
    // Each (table, column) once: a pass imports the column for every row and
    // then drops its staging column.
    std::set<std::pair<std::string, std::string>> done;
    for (const auto& pair : lists.blobs) {
        if (!done.insert(pair).second) {
            continue;
        }
        const auto& [table, field] = pair;
        outputQuery.setType(kSelectStatement);
        lists.log.push_back(table);
        lists.log.push_back(field);
        outputQuery.open("SELECT * FROM " + table);
        ComPtr<iTableDatabase> cursor = pushTable(output);
        openTable(*cursor, table);
        while (outputQuery.opened()) {
            const std::string number = outputQuery.text(field + "_BIN");
            if (!number.empty()) {
                seekRow(*cursor, outputQuery.text("ID"));
                saveFileInBlobField(*cursor, temporaryFolder() + "merge_halvo" + number, field);
            }
            outputQuery.next();
        }
        popTable(output);
        outputQuery.setType(kActionStatement);
        outputQuery.open("ALTER TABLE " + table + " DROP COLUMN " + field + "_BIN");
        lists.log.push_back(rule(23));
    }
    popQuery(output);
    for (size_t number = 2; number <= lists.blobEntryCount(); number += 2) {
        std::error_code ignored;
        std::filesystem::remove(blobFilePath(number), ignored);
    }
}

void TMergeAccessDatabase::writeOutputToDisk(iDatabase& output) {
    // Closing writes what the engine still holds; a write that fails (a full
    // disk) must end the run here, before it declares the merge done.
    host::throwIfFailed(output.Close(), "Close");
    host::throwIfFailed(output.Open(), "Open");
    if (!opened(output)) {
        throw std::runtime_error("the output database '" +
                                 host::resolvePath(databasePath(FOutputDB)) +
                                 "' could not be opened again after the merge");
    }
}

void TMergeAccessDatabase::mergeFolders(MergeRunLists& lists) {
    FInputDB2 = dataRoot() + "Providers/" + FOutputDB + "_Temp/";
    FInputDB1 = dataRoot() + "Providers/" + FOutputDB + "/";
    FProgress.setTitle(1, "Copie des fichiers en cours de données en cours");
    FProgress.setMax(1, 7);
    FProgress.setPosition(1, 0);
    for (const char* folder : kSubFolders) {
        lists.log.push_back("Copy Directory " + FInputDB2 + folder);
        if (host::directoryExists(FInputDB2 + folder)) {
            // Files the output already has stay as they are: the common
            // files the warning named, and the directory indexes, which are
            // merged below.
            host::SilentCopyDir(FInputDB2 + folder, FInputDB1, false);
        }
        FProgress.step(1);
    }
    lists.log.push_back("Congratulations, your merge is now functionnal...");
    try {
        for (const char* subPath : kIndexFolders) {
            mergeDirectoryIndex(FInputDB1, FInputDB2, subPath, "DIRECTORIES.XML");
            lists.log.push_back(format("XML : %s %s %s %s", FInputDB1.c_str(), FInputDB2.c_str(),
                                       subPath, "DIRECTORIES.XML"));
        }
    } catch (const std::exception& e) {
        lists.log.push_back(format("XML error Occured: %s", e.what()));
    }
    lists.log.push_back("Remove temp directory");
    removeProviderFolder(FOutputDB + "_Temp");
}

void TMergeAccessDatabase::abandonOutput(MergeRunLists& lists) {
    try {
        if (FDbContainer) {
            ComPtr<iDatabase> provider = useDatabase(*FDbContainer, kProvider);
            provider->Close();
        }
    } catch (const std::exception&) {
        // The rename below is what matters.
    }
    std::string file = host::resolvePath(databasePath(FOutputDB));
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        // An output on a server: the file that names its database is set aside.
        file = host::resolvePath(kinds::providerServerPath(FOutputDB));
        if (!std::filesystem::exists(file, error)) {
            return;
        }
    }
    const std::string incomplete = file + ".incomplete";
    std::filesystem::rename(file, incomplete, error);
    lists.log.push_back(error ? "The output database '" + file +
                                    "' could not be set aside: " + error.message()
                              : "Output database set aside as '" + incomplete + "'");
}

}  // namespace orvdb::merge
