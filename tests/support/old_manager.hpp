// The old manager of the examples: examples/manager.sql is a manager database
// at 1.0 holding every table the manager upgrade reads or changes, with rows
// for its migrations: users and rights groups in the old layout (a user in
// no group, one in the administrators' place, a name with an apostrophe),
// VAT rates and quotes with every currency case, quotes of two projects with
// a tree node of every node type, formula and method codes for each
// remapping, labels with empty French, documents whose comments ask for a
// new generation. Written in orvdb SQL as examples/provider.sql.
#pragma once

#include <filesystem>

#include "old_provider.hpp"

namespace orvdb::test_support {

// root/XMan/Manager.mdb (the workshop folder of a data root); returns its path.
inline std::filesystem::path buildOldManager(const std::filesystem::path& root) {
    std::filesystem::path manager = root / "XMan" / "Manager.mdb";
    createFromScript(manager, "manager.sql");
    return manager;
}

}  // namespace orvdb::test_support
