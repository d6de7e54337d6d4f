// The host's provider caches (TProviderMethod). The provider upgrade asks the
// host to rebuild them once the schema has changed; without a host there are
// no caches and the call does nothing.
#pragma once

#include <orvdb/interfaces.hpp>

#include <functional>

namespace orvdb::host {

using InitCachesHandler = std::function<void(iDatabase* database)>;

struct TProviderMethod {
    static void InitCaches(iDatabase* database);
    // An empty handler restores the default (nothing to rebuild).
    static void setInitCachesHandler(InitCachesHandler handler);
};

}  // namespace orvdb::host
