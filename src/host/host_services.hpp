// The services the driver asks of its host, in one place. Each starts as the
// default implementation; an embedding program replaces any of them with one
// call:
//
//   host::HostServices mine;
//   mine.registry = std::make_shared<MyRegistry>();
//   mine.dialogs = std::make_shared<MyDialogs>();
//   host::installHostServices(std::move(mine));   // the others stay as they are
//
// The accessors return shared pointers, so a service stays alive for a caller
// that holds it while another thread installs a replacement.
#pragma once

#include "host/currencies.hpp"
#include "host/database_connector.hpp"
#include "host/database_container.hpp"
#include "host/debug_output.hpp"
#include "host/dialogs.hpp"
#include "host/object_factory.hpp"
#include "host/progress.hpp"
#include "host/registry_info.hpp"
#include "host/reporting.hpp"
#include "host/rights.hpp"
#include "host/vat_rates.hpp"

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <memory>

namespace orvdb::host {

// Null members (an empty debugSink) keep the service installed now.
struct HostServices {
    std::shared_ptr<RegistryInfo> registry{};
    std::shared_ptr<MessageManager> messages{};
    std::shared_ptr<ExceptionHandler> exceptions{};
    std::shared_ptr<Dialogs> dialogs{};
    std::shared_ptr<DatabaseContainer> databases{};
    std::shared_ptr<DatabaseConnector> connector{};
    std::shared_ptr<RightsManager> rights{};
    std::shared_ptr<VatRateList> vatRates{};
    std::shared_ptr<CurrencyList> currencies{};
    std::shared_ptr<ObjectFactory> objectFactory{};
    std::shared_ptr<ProgressReporter> progress{};
    DebugSink debugSink{};
};

void installHostServices(HostServices replacements);
// Back to fresh default services (and the debug channel as ORVDB_DEBUG says),
// without the host's container and file service.
void resetHostServices();

// The host's own database container and file service, when it gave them:
// MergeDatabase and CreateProvider use them when their caller passes none.
// Empty (the default) means the library's own.
void setHostDatabaseContainer(ComPtr<iMultiDatabase> container);
ComPtr<iMultiDatabase> hostDatabaseContainer();
void setHostFileService(ComPtr<IFileService> service);
ComPtr<IFileService> hostFileService();

std::shared_ptr<RegistryInfo> registry();
std::shared_ptr<MessageManager> messages();
std::shared_ptr<ExceptionHandler> exceptionHandler();
std::shared_ptr<Dialogs> dialogs();
std::shared_ptr<DatabaseContainer> databases();
std::shared_ptr<DatabaseConnector> databaseConnector();
std::shared_ptr<RightsManager> rights();
std::shared_ptr<VatRateList> vatRates();
std::shared_ptr<CurrencyList> currencies();
std::shared_ptr<ObjectFactory> objectFactory();
std::shared_ptr<ProgressReporter> progress();

}  // namespace orvdb::host
