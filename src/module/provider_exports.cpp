// Provider files: creating a provider database from the template and asking
// whether one exists. The three functions spell the folder and file names
// differently; the path resolver makes them name the same file.
#include <orvdb/exports.h>

#include "host/boundary_strings.hpp"
#include "host/host_services.hpp"
#include "host/paths.hpp"
#include "module/exports_boundary.hpp"
#include "module/template_copy_service.hpp"

#include <cstdio>
#include <stdexcept>

using namespace orvdb;

namespace {

std::string entry(int number) {
    return host::registry()->get(number);
}

std::string providerName(OrvBstr name) {
    return host::toUtf8(host::bstrView(name));
}

OrvHResult existsAnswer(const std::string& path) {
    return host::fileExists(path) ? ORV_S_OK : ORV_S_FALSE;
}

}  // namespace

OrvHResult CreateProvider(OrvBstr name, OrvIFileService* fileService) {
    return module::runExport("CreateProvider", [&] {
        const std::string templatePath =
            entry(host::registry_entry::kTemplateFolder) + "Data\\DataModel.Dat";
        if (!host::fileExists(templatePath)) {
            return ORV_S_FALSE;
        }
        const std::string target = entry(host::registry_entry::kDataRoot) + "Providers\\" +
                                   providerName(name) + "\\XLibData.mdb";
        // Without one from the caller: the host's, else a plain copy.
        ComPtr<IFileService> service(module::fromC(fileService));
        if (!service) {
            service = host::hostFileService();
        }
        if (!service) {
            service = module::makeTemplateCopyService();
        }
        const std::u16string source16 = host::toUtf16(templatePath);
        const std::u16string target16 = host::toUtf16(target);
        const OrvHResult status = service->CreateFromTemplate(source16.c_str(), target16.c_str());
        if (ORV_FAILED(status)) {
            const std::string reason = host::lastErrorMessage();
            char code[16];
            std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(status));
            throw std::runtime_error("the file service failed (" + std::string(code) +
                                     ") to create '" + target + "' from '" + templatePath + "'" +
                                     (reason.empty() ? "" : ": " + reason));
        }
        return ORV_S_OK;
    });
}

OrvHResult ExistsProvider(OrvBstr name) {
    return module::runExport("ExistsProvider", [&] {
        // The workshop file answers only to this exact spelling.
        if (host::bstrView(name) == u"XMANDATA") {
            return existsAnswer(entry(host::registry_entry::kWorkshopFolder) + "Xmandata.mdb");
        }
        return existsAnswer(entry(host::registry_entry::kDataRoot) + "Providers\\" +
                            providerName(name) + "\\XLibdata.mdb");
    });
}

OrvHResult isCorrectProvider(OrvBstr name) {
    return module::runExport("isCorrectProvider", [&] {
        return existsAnswer(entry(host::registry_entry::kDataRoot) + "providers\\" +
                            providerName(name) + "\\XLIBData.mdb");
    });
}

OrvHResult DeleteProvider(void*) {
    return ORV_E_NOTIMPL;
}

OrvHResult Backup(void*) {
    return ORV_E_NOTIMPL;
}
