#include "module/template_copy_service.hpp"

#include "host/paths.hpp"
#include "host/utf16.hpp"
#include "module/exports_boundary.hpp"

#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

namespace orvdb::module {

OrvHResult TemplateCopyService::CreateFromTemplate(const char16_t* templatePath,
                                                   const char16_t* targetPath) {
    return host::guarded([&] {
        if (!templatePath || !targetPath) {
            throw host::StatusError(ORV_E_POINTER, "CreateFromTemplate: a path is a null pointer");
        }
        const std::string source = host::toUtf8(templatePath);
        const std::string target = host::toUtf8(targetPath);
        if (!host::fileExists(source)) {
            throw std::runtime_error("provider template '" + source + "' does not exist");
        }
        const fs::path resolvedTarget = host::resolvePath(target);
        std::error_code ec;
        if (fs::exists(resolvedTarget, ec)) {
            throw std::runtime_error("provider database '" + resolvedTarget.string() +
                                     "' already exists");
        }
        if (resolvedTarget.has_parent_path()) {
            fs::create_directories(resolvedTarget.parent_path(), ec);
            if (ec) {
                throw std::runtime_error("cannot create folder '" +
                                         resolvedTarget.parent_path().string() +
                                         "': " + ec.message());
            }
        }
        if (!fs::copy_file(host::resolvePath(source), resolvedTarget, ec)) {
            throw std::runtime_error("cannot copy provider template '" + source + "' to '" +
                                     resolvedTarget.string() + "': " + ec.message());
        }
    });
}

ComPtr<IFileService> makeTemplateCopyService() {
    return ComPtr<IFileService>(new TemplateCopyService());
}

}  // namespace orvdb::module

OrvHResult OrvCreateFileService(OrvIFileService** service) {
    return orvdb::module::runExport("OrvCreateFileService", [&] {
        OrvIFileService*& out = orvdb::module::clearedOut(service, "the service argument");
        out = orvdb::module::toC(orvdb::module::makeTemplateCopyService().detach());
        return ORV_S_OK;
    });
}
