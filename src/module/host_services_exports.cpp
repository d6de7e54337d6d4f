// The public host API (orvdb/host.h): the embedding program sets registry
// entries and replaces host services, each one back to its default on demand.
#include <orvdb/host.h>

#include "host/boundary_strings.hpp"
#include "host/default_registry.hpp"
#include "host/host_services.hpp"
#include "module/exports_boundary.hpp"
#include "module/host_callbacks.hpp"

#include <filesystem>
#include <stdexcept>
#include <string>

using namespace orvdb;

namespace {

void checkEntryNumber(int32_t entry) {
    if (entry < 0 || entry >= host::kRegistryEntryCount) {
        throw host::StatusError(ORV_E_INVALIDARG,
                                "registry information has no entry " + std::to_string(entry) +
                                    " (entries are 0 to " +
                                    std::to_string(host::kRegistryEntryCount - 1) + ")");
    }
}

// The installed registry when it is the default one; otherwise a fresh
// default is installed first (a program that replaced the registry through
// the internal services gets the default back).
std::shared_ptr<host::DefaultRegistryInfo> defaultRegistry() {
    auto current = std::dynamic_pointer_cast<host::DefaultRegistryInfo>(host::registry());
    if (current) {
        return current;
    }
    auto fresh = std::make_shared<host::DefaultRegistryInfo>();
    host::installHostServices({.registry = fresh});
    return fresh;
}

// A folder given relative to the current directory, made absolute now: a
// later change of directory must not move it.
std::string registryText(int32_t entry, const char* text) {
    std::string value = text ? text : "";
    if (value.empty() || !host::isRegistryFolderEntry(entry)) {
        return value;
    }
    std::filesystem::path folder(host::normaliseFolderText(value));
    if (folder.is_relative()) {
        folder = std::filesystem::current_path() / folder;
    }
    return host::normaliseFolderText(folder.lexically_normal().generic_string());
}

}  // namespace

OrvHResult OrvResetHostServices(void) {
    return module::runExport("OrvResetHostServices", [] {
        host::resetHostServices();
        defaultRegistry()->reload();
        return ORV_S_OK;
    });
}

OrvHResult OrvSetRegistryEntry(int32_t entry, const char* text) {
    return module::runExport("OrvSetRegistryEntry", [&] {
        checkEntryNumber(entry);
        host::registry()->set(entry, registryText(entry, text));
        return ORV_S_OK;
    });
}

OrvHResult OrvGetRegistryEntry(int32_t entry, OrvBstr* text) {
    return module::runExport("OrvGetRegistryEntry", [&] {
        OrvBstr& out = module::clearedOut(text, "the text argument");
        checkEntryNumber(entry);
        const std::string value = host::registry()->get(entry);
        if (!value.empty()) {
            out = host::Bstr::fromUtf8(value).release();
        }
        return ORV_S_OK;
    });
}

OrvHResult OrvSetRegistryConfigFile(const char* path) {
    return module::runExport("OrvSetRegistryConfigFile", [&] {
        defaultRegistry()->setConfigFile(path ? std::optional<std::string>(path) : std::nullopt);
        return ORV_S_OK;
    });
}

OrvHResult OrvResetRegistry(void) {
    return module::runExport("OrvResetRegistry", [] {
        auto fresh = std::make_shared<host::DefaultRegistryInfo>();
        host::installHostServices({.registry = fresh});
        fresh->reload();
        return ORV_S_OK;
    });
}

OrvHResult OrvSetMessageHandler(OrvMessageFunction handler, void* context,
                                OrvReleaseFunction release) {
    return module::runExport("OrvSetMessageHandler", [&] {
        host::installHostServices(
            {.messages = handler ? module::makeCallbackMessages(
                                       handler, module::adoptContext(context, release))
                                 : std::make_shared<host::LoggingMessageManager>()});
        return ORV_S_OK;
    });
}

OrvHResult OrvSetExceptionHandler(OrvExceptionFunction handler, void* context,
                                  OrvReleaseFunction release) {
    return module::runExport("OrvSetExceptionHandler", [&] {
        host::installHostServices(
            {.exceptions = handler ? module::makeCallbackExceptions(
                                         handler, module::adoptContext(context, release))
                                   : std::make_shared<host::LoggingExceptionHandler>()});
        return ORV_S_OK;
    });
}

OrvHResult OrvSetQuestionHandler(OrvQuestionFunction handler, void* context,
                                 OrvReleaseFunction release) {
    return module::runExport("OrvSetQuestionHandler", [&] {
        host::installHostServices(
            {.dialogs = handler ? module::makeCallbackDialogs(
                                      handler, module::adoptContext(context, release))
                                : std::make_shared<host::AutoAnswerDialogs>()});
        return ORV_S_OK;
    });
}

OrvHResult OrvSetDefaultAnswer(int32_t accept) {
    return module::runExport("OrvSetDefaultAnswer", [&] {
        host::installHostServices({.dialogs = std::make_shared<host::AutoAnswerDialogs>(
                                       accept ? host::DialogAnswer::yes : host::DialogAnswer::no)});
        return ORV_S_OK;
    });
}

OrvHResult OrvSetDebugHandler(OrvDebugFunction handler, void* context, OrvReleaseFunction release) {
    return module::runExport("OrvSetDebugHandler", [&] {
        if (handler) {
            host::setDebugSink(
                module::makeCallbackDebugSink(handler, module::adoptContext(context, release)));
        } else {
            host::configureDebugFromEnvironment();
        }
        return ORV_S_OK;
    });
}

OrvHResult OrvSetDebugOutput(const char* target) {
    return module::runExport("OrvSetDebugOutput", [&] {
        if (target) {
            host::setDebugSink(host::debugSinkFor(target));
        } else {
            host::configureDebugFromEnvironment();
        }
        return ORV_S_OK;
    });
}

OrvHResult OrvSetDebugTrace(int32_t enabled) {
    return module::runExport("OrvSetDebugTrace", [&] {
        host::setDebugTrace(enabled != 0);
        return ORV_S_OK;
    });
}

OrvHResult OrvSetProgressHandler(const OrvProgressHandler* handler) {
    return module::runExport("OrvSetProgressHandler", [&] {
        host::installHostServices(
            {.progress =
                 handler && handler->update
                     ? module::makeCallbackProgress(
                           *handler, module::adoptContext(handler->context, handler->release))
                     : host::makeDefaultProgress()});
        return ORV_S_OK;
    });
}

OrvHResult OrvSetProgressKind(int32_t kind) {
    return module::runExport("OrvSetProgressKind", [&] {
        host::ProgressKind chosen = host::ProgressKind::automatic;
        switch (kind) {
            case ORV_PROGRESS_AUTO:
                chosen = host::ProgressKind::automatic;
                break;
            case ORV_PROGRESS_GUI:
                chosen = host::ProgressKind::gui;
                break;
            case ORV_PROGRESS_TTY:
                chosen = host::ProgressKind::tty;
                break;
            case ORV_PROGRESS_NONE:
                chosen = host::ProgressKind::none;
                break;
            default:
                throw host::StatusError(ORV_E_INVALIDARG,
                                        "unknown progress kind " + std::to_string(kind) +
                                            " (ORV_PROGRESS_AUTO, _GUI, _TTY or _NONE)");
        }
        host::installHostServices({.progress = host::makeProgress(chosen)});
        return ORV_S_OK;
    });
}

OrvHResult OrvSetDatabaseContainer(OrvIMultiDatabase* container) {
    return module::runExport("OrvSetDatabaseContainer", [&] {
        host::setHostDatabaseContainer(
            ComPtr<iMultiDatabase>(reinterpret_cast<iMultiDatabase*>(container)));
        return ORV_S_OK;
    });
}

OrvHResult OrvSetObjectFactory(OrvObjectFactoryFunction factory, void* context,
                               OrvReleaseFunction release) {
    return module::runExport("OrvSetObjectFactory", [&] {
        host::installHostServices(
            {.objectFactory = factory ? module::makeCallbackObjectFactory(
                                            factory, module::adoptContext(context, release))
                                      : std::make_shared<host::NoObjectFactory>()});
        return ORV_S_OK;
    });
}

OrvHResult OrvSetFileService(OrvIFileService* service) {
    return module::runExport("OrvSetFileService", [&] {
        host::setHostFileService(ComPtr<IFileService>(module::fromC(service)));
        return ORV_S_OK;
    });
}
