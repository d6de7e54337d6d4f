#include "host/host_services.hpp"

#include "host/default_registry.hpp"

#include <mutex>

namespace orvdb::host {

namespace {

HostServices makeDefaults() {
    HostServices s;
    s.registry = std::make_shared<DefaultRegistryInfo>();
    s.messages = std::make_shared<LoggingMessageManager>();
    s.exceptions = std::make_shared<LoggingExceptionHandler>();
    s.dialogs = std::make_shared<AutoAnswerDialogs>();
    s.databases = std::make_shared<MemoryDatabaseContainer>();
    s.connector = std::make_shared<DefaultDatabaseConnector>();
    s.rights = std::make_shared<MemoryRightsManager>();
    s.vatRates = std::make_shared<MemoryVatRateList>();
    s.currencies = std::make_shared<StandardCurrencies>();
    s.objectFactory = std::make_shared<NoObjectFactory>();
    s.progress = makeDefaultProgress();
    return s;
}

struct Installed {
    std::mutex mutex;
    HostServices services = makeDefaults();
    ComPtr<iMultiDatabase> container;
    ComPtr<IFileService> fileService;
};

Installed& installed() {
    static Installed instance;
    return instance;
}

template <class T>
void replaceIfSet(std::shared_ptr<T>& current, std::shared_ptr<T>& replacement) {
    if (replacement) {
        current.swap(replacement);
    }
}

template <class T>
std::shared_ptr<T> get(std::shared_ptr<T> HostServices::*member) {
    Installed& i = installed();
    std::lock_guard lock(i.mutex);
    return i.services.*member;
}

}  // namespace

void installHostServices(HostServices replacements) {
    if (replacements.debugSink) {
        setDebugSink(std::move(replacements.debugSink));
    }
    Installed& i = installed();
    std::lock_guard lock(i.mutex);
    HostServices& s = i.services;
    // The replaced services end in `replacements`, released after the lock.
    replaceIfSet(s.registry, replacements.registry);
    replaceIfSet(s.messages, replacements.messages);
    replaceIfSet(s.exceptions, replacements.exceptions);
    replaceIfSet(s.dialogs, replacements.dialogs);
    replaceIfSet(s.databases, replacements.databases);
    replaceIfSet(s.connector, replacements.connector);
    replaceIfSet(s.rights, replacements.rights);
    replaceIfSet(s.vatRates, replacements.vatRates);
    replaceIfSet(s.currencies, replacements.currencies);
    replaceIfSet(s.objectFactory, replacements.objectFactory);
    replaceIfSet(s.progress, replacements.progress);
}

void resetHostServices() {
    HostServices fresh = makeDefaults();
    ComPtr<iMultiDatabase> container;
    ComPtr<IFileService> fileService;
    configureDebugFromEnvironment();
    Installed& i = installed();
    // The replaced services are released after the lock.
    std::lock_guard lock(i.mutex);
    std::swap(i.services, fresh);
    i.container.swap(container);
    i.fileService.swap(fileService);
}

void setHostDatabaseContainer(ComPtr<iMultiDatabase> container) {
    Installed& i = installed();
    std::lock_guard lock(i.mutex);
    i.container.swap(container);
}

ComPtr<iMultiDatabase> hostDatabaseContainer() {
    Installed& i = installed();
    std::lock_guard lock(i.mutex);
    return i.container;
}

void setHostFileService(ComPtr<IFileService> service) {
    Installed& i = installed();
    std::lock_guard lock(i.mutex);
    i.fileService.swap(service);
}

ComPtr<IFileService> hostFileService() {
    Installed& i = installed();
    std::lock_guard lock(i.mutex);
    return i.fileService;
}

std::shared_ptr<RegistryInfo> registry() {
    return get(&HostServices::registry);
}
std::shared_ptr<MessageManager> messages() {
    return get(&HostServices::messages);
}
std::shared_ptr<ExceptionHandler> exceptionHandler() {
    return get(&HostServices::exceptions);
}
std::shared_ptr<Dialogs> dialogs() {
    return get(&HostServices::dialogs);
}
std::shared_ptr<DatabaseContainer> databases() {
    return get(&HostServices::databases);
}
std::shared_ptr<DatabaseConnector> databaseConnector() {
    return get(&HostServices::connector);
}
std::shared_ptr<RightsManager> rights() {
    return get(&HostServices::rights);
}
std::shared_ptr<VatRateList> vatRates() {
    return get(&HostServices::vatRates);
}
std::shared_ptr<CurrencyList> currencies() {
    return get(&HostServices::currencies);
}
std::shared_ptr<ObjectFactory> objectFactory() {
    return get(&HostServices::objectFactory);
}
std::shared_ptr<ProgressReporter> progress() {
    return get(&HostServices::progress);
}

}  // namespace orvdb::host
