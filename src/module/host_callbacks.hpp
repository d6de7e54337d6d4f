// The host services of the public host API (orvdb/host.h) made from the
// embedding program's C callbacks. Each adapter owns the program's context:
// the release function runs when the library drops the adapter.
#pragma once

#include <orvdb/host.h>

#include <memory>

#include "host/debug_output.hpp"
#include "host/dialogs.hpp"
#include "host/object_factory.hpp"
#include "host/progress.hpp"
#include "host/reporting.hpp"

namespace orvdb::module {

// The program's context: its release function runs once, when the last
// adapter holding it goes.
class HandlerContext {
public:
    HandlerContext(void* context, OrvReleaseFunction release)
        : context_(context), release_(release) {}
    ~HandlerContext() {
        if (release_) {
            release_(context_);
        }
    }
    HandlerContext(const HandlerContext&) = delete;
    HandlerContext& operator=(const HandlerContext&) = delete;

    void* get() const { return context_; }

private:
    void* context_;
    OrvReleaseFunction release_;
};

using SharedContext = std::shared_ptr<HandlerContext>;

// Takes the context over; when that fails (out of memory) it is released
// before the error passes, so that it is released exactly once either way.
SharedContext adoptContext(void* context, OrvReleaseFunction release);

std::shared_ptr<host::MessageManager> makeCallbackMessages(OrvMessageFunction handler,
                                                           SharedContext context);
std::shared_ptr<host::ExceptionHandler> makeCallbackExceptions(OrvExceptionFunction handler,
                                                               SharedContext context);
std::shared_ptr<host::Dialogs> makeCallbackDialogs(OrvQuestionFunction handler,
                                                   SharedContext context);
host::DebugSink makeCallbackDebugSink(OrvDebugFunction handler, SharedContext context);
std::shared_ptr<host::ProgressReporter> makeCallbackProgress(const OrvProgressHandler& handler,
                                                             SharedContext context);
std::shared_ptr<host::ObjectFactory> makeCallbackObjectFactory(OrvObjectFactoryFunction factory,
                                                               SharedContext context);

}  // namespace orvdb::module
