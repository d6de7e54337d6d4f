// The host services of liborvdb for C++ programs: the functions of
// orvdb/host.h with UTF-8 std::string, std::function handlers and exceptions.
//
//   orvdb::setRegistryEntry(ORV_REGISTRY_DATA_ROOT, "/srv/joinery");
//   orvdb::setMessageHandler([](std::string_view text) { log(text); });
//   orvdb::setQuestionHandler([](std::string_view text, std::string_view, int) {
//       return askUser(text) ? ORV_IDYES : ORV_IDNO;
//   });
//
// An empty std::function puts the default back. The library keeps a copy of
// a handler until it is replaced. Handlers run on the thread that called into
// the library; one that throws is treated as having done nothing (a question
// counts as refused, a factory as having no object). A failure status becomes
// orvdb::Error (orvdb.hpp).
#pragma once

#include <orvdb/host.h>
#include <orvdb/orvdb.hpp>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace orvdb {

namespace host_detail {

// A handler's copy lives on the heap as the C context; the library frees it.
template <class Function>
void* ownedContext(Function function) {
    return new Function(std::move(function));
}

template <class Function>
void releaseContext(void* context) {
    delete static_cast<Function*>(context);
}

inline int32_t refusingAnswer(int32_t flags) {
    switch (flags & 0x0F) {
        case ORV_MB_OK:
            return ORV_IDOK;
        case ORV_MB_ABORTRETRYIGNORE:
            return ORV_IDABORT;
        case ORV_MB_YESNO:
        case ORV_MB_YESNOCANCEL:
            return ORV_IDNO;
        default:
            return ORV_IDCANCEL;
    }
}

}  // namespace host_detail

// Everything back to the defaults (orvdb/host.h).
inline void resetHostServices() {
    checkStatus(OrvResetHostServices(), "OrvResetHostServices");
}

// ---- Registry information

// "" drops the value set here, so that the environment and the config file
// show again.
inline void setRegistryEntry(int entry, std::string_view text) {
    checkStatus(OrvSetRegistryEntry(entry, std::string(text).c_str()), "OrvSetRegistryEntry");
}

inline std::string registryEntry(int entry) {
    OrvBstr text = nullptr;
    checkStatus(OrvGetRegistryEntry(entry, &text), "OrvGetRegistryEntry");
    std::string utf8(OrvBstrToUtf8(text, nullptr, 0), '\0');
    OrvBstrToUtf8(text, utf8.data(), utf8.size() + 1);
    OrvBstrFree(text);
    return utf8;
}

// nullopt: ORVDB_CONFIG again; "": no config file.
inline void setRegistryConfigFile(const std::optional<std::string>& path) {
    checkStatus(OrvSetRegistryConfigFile(path ? path->c_str() : nullptr),
                "OrvSetRegistryConfigFile");
}

inline void resetRegistry() {
    checkStatus(OrvResetRegistry(), "OrvResetRegistry");
}

// ---- Messages, exceptions, questions

using MessageFunction = std::function<void(std::string_view text)>;

inline void setMessageHandler(MessageFunction handler) {
    if (!handler) {
        checkStatus(OrvSetMessageHandler(nullptr, nullptr, nullptr), "OrvSetMessageHandler");
        return;
    }
    auto call = [](void* context, const char* text) {
        try {
            (*static_cast<MessageFunction*>(context))(text);
        } catch (...) {
        }
    };
    void* context = host_detail::ownedContext(std::move(handler));
    checkStatus(OrvSetMessageHandler(call, context, host_detail::releaseContext<MessageFunction>),
                "OrvSetMessageHandler");
}

enum class ExceptionKind : int32_t {
    other = ORV_EXCEPTION_OTHER,
    databaseConnection = ORV_EXCEPTION_DATABASE_CONNECTION,
    databaseUpdate = ORV_EXCEPTION_DATABASE_UPDATE,
};

using ExceptionFunction = std::function<void(ExceptionKind kind, std::string_view message)>;

inline void setExceptionHandler(ExceptionFunction handler) {
    if (!handler) {
        checkStatus(OrvSetExceptionHandler(nullptr, nullptr, nullptr), "OrvSetExceptionHandler");
        return;
    }
    auto call = [](void* context, int32_t kind, const char* message) {
        try {
            (*static_cast<ExceptionFunction*>(context))(static_cast<ExceptionKind>(kind), message);
        } catch (...) {
        }
    };
    void* context = host_detail::ownedContext(std::move(handler));
    checkStatus(
        OrvSetExceptionHandler(call, context, host_detail::releaseContext<ExceptionFunction>),
        "OrvSetExceptionHandler");
}

// Returns the button pressed (ORV_IDYES, ORV_IDNO, ...); flags hold the
// button set (ORV_MB_YESNO, ...).
using QuestionFunction =
    std::function<int(std::string_view text, std::string_view caption, int flags)>;

inline void setQuestionHandler(QuestionFunction handler) {
    if (!handler) {
        checkStatus(OrvSetQuestionHandler(nullptr, nullptr, nullptr), "OrvSetQuestionHandler");
        return;
    }
    auto call = [](void* context, const char* text, const char* caption, int32_t flags) -> int32_t {
        try {
            return (*static_cast<QuestionFunction*>(context))(text, caption, flags);
        } catch (...) {
            return host_detail::refusingAnswer(flags);
        }
    };
    void* context = host_detail::ownedContext(std::move(handler));
    checkStatus(OrvSetQuestionHandler(call, context, host_detail::releaseContext<QuestionFunction>),
                "OrvSetQuestionHandler");
}

// The default question handler, answering yes (accept) or no.
inline void setDefaultAnswer(bool accept) {
    checkStatus(OrvSetDefaultAnswer(accept ? 1 : 0), "OrvSetDefaultAnswer");
}

// ---- Debug output

using DebugFunction = std::function<void(std::string_view text)>;

// An empty handler: back to what ORVDB_DEBUG says.
inline void setDebugHandler(DebugFunction handler) {
    if (!handler) {
        checkStatus(OrvSetDebugHandler(nullptr, nullptr, nullptr), "OrvSetDebugHandler");
        return;
    }
    auto call = [](void* context, const char* text) {
        try {
            (*static_cast<DebugFunction*>(context))(text);
        } catch (...) {
        }
    };
    // The library releases the context, also when the setter fails.
    void* context = host_detail::ownedContext(std::move(handler));
    checkStatus(OrvSetDebugHandler(call, context, host_detail::releaseContext<DebugFunction>),
                "OrvSetDebugHandler");
}

// "stderr", a file, "" (silent); nullopt: as ORVDB_DEBUG says.
inline void setDebugOutput(const std::optional<std::string>& target) {
    checkStatus(OrvSetDebugOutput(target ? target->c_str() : nullptr), "OrvSetDebugOutput");
}

inline void setDebugTrace(bool enabled) {
    checkStatus(OrvSetDebugTrace(enabled ? 1 : 0), "OrvSetDebugTrace");
}

// ---- Progress

struct ProgressBarState {
    int position = 0;
    int max = 0;
    std::string_view caption;
};

struct ProgressHandler {
    std::function<void()> show;  // may be empty
    std::function<void(const ProgressBarState& upper, const ProgressBarState& lower)> update;
    std::function<void()> finish;  // may be empty
};

// A handler without update puts the default back.
inline void setProgressHandler(ProgressHandler handler) {
    if (!handler.update) {
        checkStatus(OrvSetProgressHandler(nullptr), "OrvSetProgressHandler");
        return;
    }
    OrvProgressHandler c{};
    c.context = host_detail::ownedContext(std::move(handler));
    c.show = [](void* context) {
        auto& h = *static_cast<ProgressHandler*>(context);
        try {
            if (h.show) {
                h.show();
            }
        } catch (...) {
        }
    };
    c.update = [](void* context, const OrvProgressBar* upper, const OrvProgressBar* lower) {
        try {
            (*static_cast<ProgressHandler*>(context))
                .update({upper->position, upper->max, upper->caption},
                        {lower->position, lower->max, lower->caption});
        } catch (...) {
        }
    };
    c.finish = [](void* context) {
        auto& h = *static_cast<ProgressHandler*>(context);
        try {
            if (h.finish) {
                h.finish();
            }
        } catch (...) {
        }
    };
    c.release = host_detail::releaseContext<ProgressHandler>;
    checkStatus(OrvSetProgressHandler(&c), "OrvSetProgressHandler");
}

enum class ProgressKind : int32_t {
    automatic = ORV_PROGRESS_AUTO,
    gui = ORV_PROGRESS_GUI,
    tty = ORV_PROGRESS_TTY,
    none = ORV_PROGRESS_NONE,
};

inline void setProgressKind(ProgressKind kind) {
    checkStatus(OrvSetProgressKind(static_cast<int32_t>(kind)), "OrvSetProgressKind");
}

// ---- Database container, object factory, file service

// nullptr: the default container.
inline void setDatabaseContainer(iMultiDatabase* container) {
    checkStatus(OrvSetDatabaseContainer(reinterpret_cast<OrvIMultiDatabase*>(container)),
                "OrvSetDatabaseContainer");
}

// The object for an upper-cased name, or empty when there is none.
using ObjectFactoryFunction = std::function<ComPtr<IInterface>(std::string_view upperName)>;

inline void setObjectFactory(ObjectFactoryFunction factory) {
    if (!factory) {
        checkStatus(OrvSetObjectFactory(nullptr, nullptr, nullptr), "OrvSetObjectFactory");
        return;
    }
    auto call = [](void* context, const char* upperName) -> OrvIInterface* {
        try {
            ComPtr<IInterface> object = (*static_cast<ObjectFactoryFunction*>(context))(upperName);
            return reinterpret_cast<OrvIInterface*>(object.detach());
        } catch (...) {
            return nullptr;
        }
    };
    void* context = host_detail::ownedContext(std::move(factory));
    checkStatus(
        OrvSetObjectFactory(call, context, host_detail::releaseContext<ObjectFactoryFunction>),
        "OrvSetObjectFactory");
}

// nullptr: the default copy of the template.
inline void setFileService(IFileService* service) {
    checkStatus(OrvSetFileService(reinterpret_cast<OrvIFileService*>(service)),
                "OrvSetFileService");
}

}  // namespace orvdb
