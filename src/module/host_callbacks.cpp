#include "module/host_callbacks.hpp"

#include "host/exceptions.hpp"

#include <string>

namespace orvdb::module {

namespace {

class CallbackMessages : public host::MessageManager {
public:
    CallbackMessages(OrvMessageFunction handler, SharedContext context)
        : handler_(handler), context_(std::move(context)) {}

    void showMessage(std::string_view text) override {
        handler_(context_->get(), std::string(text).c_str());
    }

private:
    OrvMessageFunction handler_;
    SharedContext context_;
};

int32_t exceptionKind(const std::exception& error) {
    if (dynamic_cast<const host::EORV_DATABASECONNEXION*>(&error)) {
        return ORV_EXCEPTION_DATABASE_CONNECTION;
    }
    if (dynamic_cast<const host::EORV_DATABASEUPDATE*>(&error)) {
        return ORV_EXCEPTION_DATABASE_UPDATE;
    }
    return ORV_EXCEPTION_OTHER;
}

class CallbackExceptions : public host::ExceptionHandler {
public:
    CallbackExceptions(OrvExceptionFunction handler, SharedContext context)
        : handler_(handler), context_(std::move(context)) {}

    void handleException(const std::exception& error) override {
        handler_(context_->get(), exceptionKind(error), error.what());
    }

private:
    OrvExceptionFunction handler_;
    SharedContext context_;
};

class CallbackDialogs : public host::Dialogs {
public:
    CallbackDialogs(OrvQuestionFunction handler, SharedContext context)
        : handler_(handler), context_(std::move(context)) {}

    int messageBox(std::string_view text, std::string_view caption, int flags, int) override {
        return handler_(context_->get(), std::string(text).c_str(), std::string(caption).c_str(),
                        flags);
    }

private:
    OrvQuestionFunction handler_;
    SharedContext context_;
};

class CallbackObjectFactory : public host::ObjectFactory {
public:
    CallbackObjectFactory(OrvObjectFactoryFunction factory, SharedContext context)
        : factory_(factory), context_(std::move(context)) {}

    ComPtr<IInterface> createObject(std::string_view upperName) override {
        OrvIInterface* object = factory_(context_->get(), std::string(upperName).c_str());
        // The C view and the C++ one address the same object.
        return ComPtr<IInterface>::adopt(reinterpret_cast<IInterface*>(object));
    }

private:
    OrvObjectFactoryFunction factory_;
    SharedContext context_;
};

// The caption rules of the shared window state; the program draws.
class CallbackProgress : public host::ProgressWindow {
public:
    CallbackProgress(const OrvProgressHandler& handler, SharedContext context)
        : handler_(handler), context_(std::move(context)) {}

    void show() override {
        if (handler_.show) {
            handler_.show(context_->get());
        }
        ProgressWindow::show();
    }

    void finish() override {
        if (handler_.finish) {
            handler_.finish(context_->get());
        }
    }

protected:
    void repaint() override {
        std::array<host::ProgressBar, 2> state;
        {
            std::lock_guard lock(mutex_);
            state = bars();
        }
        const OrvProgressBar upper{state[0].position, state[0].max, state[0].caption.c_str()};
        const OrvProgressBar lower{state[1].position, state[1].max, state[1].caption.c_str()};
        handler_.update(context_->get(), &upper, &lower);
    }

private:
    OrvProgressHandler handler_;
    SharedContext context_;
};

}  // namespace

SharedContext adoptContext(void* context, OrvReleaseFunction release) {
    try {
        return std::make_shared<HandlerContext>(context, release);
    } catch (...) {
        if (release) {
            release(context);
        }
        throw;
    }
}

std::shared_ptr<host::MessageManager> makeCallbackMessages(OrvMessageFunction handler,
                                                           SharedContext context) {
    return std::make_shared<CallbackMessages>(handler, std::move(context));
}

std::shared_ptr<host::ExceptionHandler> makeCallbackExceptions(OrvExceptionFunction handler,
                                                               SharedContext context) {
    return std::make_shared<CallbackExceptions>(handler, std::move(context));
}

std::shared_ptr<host::Dialogs> makeCallbackDialogs(OrvQuestionFunction handler,
                                                   SharedContext context) {
    return std::make_shared<CallbackDialogs>(handler, std::move(context));
}

host::DebugSink makeCallbackDebugSink(OrvDebugFunction handler, SharedContext context) {
    return [handler, context](std::string_view text) {
        handler(context->get(), std::string(text).c_str());
    };
}

std::shared_ptr<host::ProgressReporter> makeCallbackProgress(const OrvProgressHandler& handler,
                                                             SharedContext context) {
    return std::make_shared<CallbackProgress>(handler, std::move(context));
}

std::shared_ptr<host::ObjectFactory> makeCallbackObjectFactory(OrvObjectFactoryFunction factory,
                                                               SharedContext context) {
    return std::make_shared<CallbackObjectFactory>(factory, std::move(context));
}

}  // namespace orvdb::module
