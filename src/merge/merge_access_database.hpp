// TMergeAccessDatabase: joins two provider folders into a third.
//
// The output folder starts as a copy of the first input; the second input is
// copied to a staging folder beside it (output + "_Temp"), cleaned with the
// library's MergeTarifQueries, and every user table of its database is
// exported as insert statements whose key values are shifted by the offset
// (see table_export.hpp). That script runs against the output database
// between the removal and the re-creation of all its relationships; binary
// values follow through numbered files. The second input's sub-folders and
// directory indexes are then merged into the output folder, the staging
// folder is removed, and the run's log goes to <data root>/Merge.Log.
//
// Every database is reached through the host's container: "XLIB" is the
// library (which holds the configuration), "GAMMISTE" the provider database,
// which the run points at the staging folder and then at the output folder.
//
// NOTES ON FAILURES
// (1) Nothing is copied before the output database is known to be writable
//     and the user has accepted the common-files warning.
// (2) The inputs are only ever read: the run changes copies of them.
// (3) A run that raises after it began to write the output folder renames
//     the output database to XLibData.mdb.incomplete, so that no half-merged
//     folder passes for a provider; the staging folder stays for inspection.
// (4) The log is written whatever happens, with the failure's message last.
//
// A provider folder whose database is on a MariaDB server (XLibData.mariadb,
// see kinds/provider_server.hpp) is copied with its database, on the server
// (server_providers.hpp); the output's XLibData.mariadb is what (3) sets aside.
// Inputs and output are all on a server or all files: the provider
// connection follows the folders it is pointed at, but cursors made on a
// file do not carry over to a server.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/interfaced_object.hpp"
#include "host/object_factory.hpp"
#include "merge/merge_calls.hpp"
#include "merge/merge_configuration.hpp"
#include "merge/merge_run_lists.hpp"
#include "merge/progress_calls.hpp"

namespace orvdb::merge {

// Statements of the merge script that the output database did not take.
struct RejectedStatement {
    size_t line;  // index in the script as run
    std::string text;
};

class TMergeAccessDatabase : public host::TObjectEx {
public:
    static constexpr int32_t kDefaultOffset = 10000000;

    TMergeAccessDatabase() = default;

    void InitParams(ComPtr<iMultiDatabase> container, std::string inputDB1, std::string inputDB2,
                    std::string outputDB, int32_t offset);
    void Set_iProgress(ComPtr<IProgressForm> progress);
    // Null: no business objects, so rows are not re-saved and binary values
    // are not carried.
    void Set_CreateObject(std::shared_ptr<host::ObjectFactory> factory);

    // Loads the configuration from the library ("XLIB"). Always 0.
    OrvHResult Prepare(IInterface* unused = nullptr);
    // 0 when the run reached its end, 1 when the user stopped it at the
    // common-files warning. Raises for a failure (after writing the log).
    OrvHResult Merge(IInterface* unused = nullptr);

    bool prepared() const { return FPrepared; }
    int32_t offset() const { return FOffsetID; }
    const MergeConfiguration& configuration() const { return configuration_; }
    // The log of the last run, as written to Merge.Log.
    const std::vector<std::string>& lastLog() const { return lastLog_; }
    // Inserts of the last run that changed no row: rows the output lacks.
    const std::vector<RejectedStatement>& rejectedInserts() const { return rejectedInserts_; }
    // Binary values of the last run that no host object carried (their
    // column stays empty in the output).
    size_t uncarriedBinaryValues() const { return uncarriedBinaryValues_; }

private:
    OrvHResult run(MergeRunLists& lists);
    bool commonFilesAccepted();
    void copyInputs(MergeRunLists& lists);
    void cleanUpStaging(MergeRunLists& lists, iDatabase& library, QueryCalls& stagingQuery);
    void shiftMachiningParameters(iDatabase& staging);
    void alignFieldSizes(MergeRunLists& lists);
    void exportTables(MergeRunLists& lists, iDatabase& staging, QueryCalls& stagingQuery);
    void wrapInRelationships(MergeRunLists& lists, QueryCalls& outputQuery);
    void runScript(MergeRunLists& lists, QueryCalls& outputQuery);
    void importBinaryValues(MergeRunLists& lists, iDatabase& output, QueryCalls& outputQuery);
    void writeOutputToDisk(iDatabase& output);
    void mergeFolders(MergeRunLists& lists);
    void checkOutputWritable();
    void abandonOutput(MergeRunLists& lists);

    // Points the container's current database at a provider folder.
    ComPtr<iDatabase> repoint(const std::string& folderName);

    int32_t FOffsetID = kDefaultOffset;
    ProgressCalls FProgress;
    MergeConfiguration configuration_;
    bool FPrepared = false;
    std::string FInputDB1;
    std::string FInputDB2;
    std::string FOutputDB;
    ComPtr<iMultiDatabase> FDbContainer;
    std::shared_ptr<host::ObjectFactory> FCreateObject;

    bool outputTouched_ = false;
    std::vector<std::string> lastLog_;
    std::vector<RejectedStatement> rejectedInserts_;
    size_t uncarriedBinaryValues_ = 0;
};

}  // namespace orvdb::merge
