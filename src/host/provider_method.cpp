#include "host/provider_method.hpp"

#include <mutex>

namespace orvdb::host {

namespace {
std::mutex handlerMutex;
InitCachesHandler& handler() {
    static InitCachesHandler installed;
    return installed;
}
}  // namespace

void TProviderMethod::InitCaches(iDatabase* database) {
    InitCachesHandler current;
    {
        std::lock_guard lock(handlerMutex);
        current = handler();
    }
    if (current) {
        current(database);
    }
}

void TProviderMethod::setInitCachesHandler(InitCachesHandler replacement) {
    std::lock_guard lock(handlerMutex);
    handler() = std::move(replacement);
}

}  // namespace orvdb::host
