// The work lists of one merge run: the log, the merge script and the blob
// list, which the table passes fill and the run then executes.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace orvdb::merge {

struct MergeRunLists {
    // Every line of the run's report, written to Merge.Log at the end.
    std::vector<std::string> log;
    // Comment lines (beginning with '-') and statements, in execution order.
    std::vector<std::string> script;
    // (table, column) for every inserted row and binary column, in order.
    std::vector<std::pair<std::string, std::string>> blobs;
    // Non-empty binary values no host object carried into a blob file.
    size_t uncarriedBinaryValues = 0;

    // The blob list counts two entries per pair, so blob files are numbered
    // 2, 4, 6 ... in a run.
    size_t blobEntryCount() const { return blobs.size() * 2; }
};

}  // namespace orvdb::merge
