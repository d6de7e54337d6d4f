#include "merge/kinds_database_container.hpp"

#include "host/boundary_strings.hpp"
#include "host/host_services.hpp"
#include "host/interfaced_object.hpp"
#include "host/registry_info.hpp"
#include "host/utf16.hpp"
#include "kinds/library_database.hpp"
#include "kinds/manager_database.hpp"
#include "kinds/provider_database.hpp"
#include "merge/upper_case.hpp"

#include <stdexcept>

namespace orvdb::merge {

namespace {

ComPtr<iDatabase> openKind(const std::string& upperName) {
    const std::u16string provider =
        host::toUtf16(host::registry()->get(host::registry_entry::kProviderName));
    if (upperName == "XLIB") {
        return kinds::TXLIB_Database::CreateDatabase(nullptr);
    }
    if (upperName == "GAMMISTE") {
        return kinds::TXLIBProvider_Database::CreateDatabase(provider, nullptr);
    }
    if (upperName == "BACKFILL") {
        return kinds::TBackfill_Database::CreateDatabase(provider);
    }
    if (upperName == "HARDWARE") {
        return kinds::THardware_Database::CreateDatabase(provider);
    }
    if (upperName == "XLNG") {
        return kinds::TXLNGDatabase::CreateDatabase(nullptr);
    }
    if (upperName == "XMANPARAM") {
        return kinds::TXManParam_Database::CreateDatabase(nullptr);
    }
    return {};
}

class KindsDatabaseContainer : public host::TInterfacedObjectEx<iMultiDatabase> {
public:
    explicit KindsDatabaseContainer(std::shared_ptr<host::DatabaseContainer> service)
        : service_(std::move(service)) {}

    OrvHResult RegisterDatabase(OrvBstr name, iDatabase* database) override {
        return host::guarded([&] {
            service_->registerDatabase(host::toUtf8(host::bstrView(name)),
                                       ComPtr<IInterface>(database));
        });
    }

    OrvHResult SetCurrent(OrvBstr name) override {
        return host::guarded([&] {
            const std::string text = host::toUtf8(host::bstrView(name));
            if (!service_->find(text)) {
                ComPtr<iDatabase> opened = openKind(upperCased(text));
                if (!opened) {
                    throw std::invalid_argument(
                        "no database is registered under the name '" + text +
                        "' and none of that kind could be opened (see the host's messages)");
                }
                service_->registerDatabase(text, ComPtr<IInterface>(opened.get()));
            }
            service_->setCurrent(text);
        });
    }

    OrvHResult Get_Current(iDatabase** database) override {
        host::clearOut(database);
        return host::guarded([&] {
            if (!database) {
                throw host::StatusError(ORV_E_POINTER, "Get_Current: null out argument");
            }
            *database = nullptr;
            ComPtr<IInterface> current = service_->current();
            *database = current.as<iDatabase>().detach();
        });
    }

private:
    std::shared_ptr<host::DatabaseContainer> service_;
};

}  // namespace

ComPtr<iMultiDatabase> makeKindsDatabaseContainer(
    std::shared_ptr<host::DatabaseContainer> service) {
    if (!service) {
        throw std::invalid_argument("the database container service is missing");
    }
    return ComPtr<iMultiDatabase>(new KindsDatabaseContainer(std::move(service)));
}

}  // namespace orvdb::merge
