// The rights management across the host boundary. A host hands Update an
// object answering IRightsManager; the manager upgrade works with a
// host::RightsManager. These two wrappers go each way: a C++ rights manager
// offered as the interface (what the CLI hands Update), and a host's
// interface used as a C++ rights manager (what the upgrade takes).
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <memory>

#include "host/rights.hpp"

namespace orvdb::host {

ComPtr<IRightsManager> makeRightsManagerObject(std::shared_ptr<RightsManager> rights);

// The object's IRightsManager as a RightsManager whose calls throw when the
// host's operation fails; null when the object is null or has no such
// interface.
std::shared_ptr<RightsManager> rightsManagerOf(IInterface* object);

}  // namespace orvdb::host
