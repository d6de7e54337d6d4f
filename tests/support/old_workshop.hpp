// The old workshop of the examples: examples/workshop.sql is a workshop
// database (the manager kind opened as XMANDATA) at 1.1 holding every table
// and view the workshop steps change or read, with a few rows each: two maps
// whose places hold two lines, seven workstations of the profile, frame,
// on-frame, pilling-up, filling and accessories kinds, the carts between
// them, and a double-head saw, a punching centre, a welder and a machine
// that both saws and punches. orvdb SQL as `orvdb sql` reads it.
//
// Used by the workshop upgrade tests.
#pragma once

#include <filesystem>

#include "support/old_provider.hpp"

namespace orvdb::test_support {

// root/XMan/Xmandata.mdb (the workshop folder of the data root, registry
// entry 57) at 1.1; returns its path.
inline std::filesystem::path buildOldWorkshop(const std::filesystem::path& root) {
    std::filesystem::path workshop = root / "XMan" / "Xmandata.mdb";
    createFromScript(workshop, "workshop.sql");
    return workshop;
}

}  // namespace orvdb::test_support
