// MergeDatabase: builds the merge engine over the host's database container,
// shows the progress window and runs the merge.
#include <orvdb/exports.h>

#include "host/boundary_strings.hpp"
#include "host/host_services.hpp"
#include "host/reporting.hpp"
#include "merge/kinds_database_container.hpp"
#include "merge/merge_access_database.hpp"
#include "merge/progress_form.hpp"
#include "module/exports_boundary.hpp"

#include <exception>
#include <memory>

using namespace orvdb;

namespace {

// The host's factory function as the merge's object factory.
class FunctionObjectFactory : public host::ObjectFactory {
public:
    explicit FunctionObjectFactory(OrvCreateObjectFunction function) : function_(function) {}

    ComPtr<IInterface> createObject(std::string_view upperName) override {
        host::HostString name = host::HostString::fromUtf8(upperName);
        return ComPtr<IInterface>::adopt(reinterpret_cast<IInterface*>(function_(name.get())));
    }

private:
    OrvCreateObjectFunction function_;
};

// Closes the window also when the run raises.
struct ShownWindow {
    ComPtr<merge::TProgressForm> form;
    ~ShownWindow() { form->Close(); }
};

}  // namespace

OrvHResult MergeDatabase(OrvIMultiDatabase* container, OrvBstr inputDB1, OrvBstr inputDB2,
                         OrvBstr outputDB, int32_t, uint8_t showProgress,
                         OrvCreateObjectFunction createObject, int32_t offset) {
    return module::runExport("MergeDatabase", [&]() -> OrvHResult {
        try {
            ComPtr<iMultiDatabase> databases(reinterpret_cast<iMultiDatabase*>(container));
            if (!databases) {
                databases = host::hostDatabaseContainer();
            }
            if (!databases) {
                databases = merge::makeKindsDatabaseContainer(host::databases());
            }
            auto run = std::make_unique<merge::TMergeAccessDatabase>();
            run->InitParams(databases, host::toUtf8(host::bstrView(inputDB1)),
                            host::toUtf8(host::bstrView(inputDB2)),
                            host::toUtf8(host::bstrView(outputDB)), offset);
            ShownWindow window{
                ComPtr<merge::TProgressForm>(new merge::TProgressForm(host::progress()))};
            if (showProgress) {
                run->Set_iProgress(ComPtr<IProgressForm>(window.form.get()));
            }
            run->Set_CreateObject(createObject
                                      ? std::make_shared<FunctionObjectFactory>(createObject)
                                      : host::objectFactory());
            window.form->Show();
            run->Merge();  // 1 (the user stopped the run) is not an error
            return ORV_S_OK;
        } catch (const std::exception& e) {
            host::HandleException(e);
            throw;
        }
    });
}
