// Reference-counted object bases (the roles of TObjectEx and
// TInterfacedObjectEx) and the guard that turns a C++ exception inside an
// interface operation into a failure status.
#pragma once

#include <orvdb/interface.hpp>

#include <atomic>
#include <stdexcept>
#include <string>
#include <tuple>
#include <type_traits>

namespace orvdb::host {

// An exception that carries the status an interface operation returns.
class StatusError : public std::runtime_error {
public:
    StatusError(OrvHResult status, const std::string& message)
        : std::runtime_error(message), status_(status) {}
    OrvHResult status() const { return status_; }

private:
    OrvHResult status_;
};

// The message of the last failed guarded operation of this thread ("" after a
// guarded operation that succeeded).
const std::string& lastErrorMessage();
void setLastErrorMessage(std::string message);

// Runs the body of an interface operation. The body returns void (success) or
// a status; any exception becomes a failure status and its message is kept
// for lastErrorMessage(). Never throws.
template <class Body>
OrvHResult guarded(Body&& body) noexcept {
    try {
        setLastErrorMessage({});
        if constexpr (std::is_void_v<std::invoke_result_t<Body>>) {
            body();
            return ORV_S_OK;
        } else {
            return static_cast<OrvHResult>(body());
        }
    } catch (const StatusError& e) {
        setLastErrorMessage(e.what());
        return e.status();
    } catch (const std::exception& e) {
        setLastErrorMessage(e.what());
        return ORV_E_FAIL;
    } catch (...) {
        setLastErrorMessage("unknown exception");
        return ORV_E_FAIL;
    }
}

// Out arguments that hand out a string or an object are written, never read:
// each is set to NULL before the operation runs, so that the caller's
// variable holds NULL when it fails. Null addresses are skipped (the
// operation itself rejects them).
template <class... T>
void clearOut(T**... outs) noexcept {
    ((outs ? static_cast<void>(*outs = nullptr) : static_cast<void>(0)), ...);
}

// Turns a failed status returned by an interface back into an exception,
// with the last error message when there is one.
void throwIfFailed(OrvHResult status, const char* operation);

// Reference counting without interfaces (TObjectEx). Objects start with a
// count of 0 and are deleted when the count falls back to 0.
class TObjectEx {
public:
    TObjectEx() = default;
    TObjectEx(const TObjectEx&) = delete;
    TObjectEx& operator=(const TObjectEx&) = delete;
    virtual ~TObjectEx() = default;

    int32_t addRef() noexcept { return ++refCount_; }
    int32_t release() noexcept {
        int32_t n = --refCount_;
        if (n == 0) {
            delete this;
        }
        return n;
    }
    int32_t refCount() const noexcept { return refCount_; }

private:
    std::atomic<int32_t> refCount_{0};
};

// TInterfacedObjectEx: a reference-counted object implementing the given
// interfaces. One QueryInterface/AddRef/Release overrides the slots of every
// interface at once.
template <class... Interfaces>
class TInterfacedObjectEx : public TObjectEx, public Interfaces... {
public:
    OrvHResult QueryInterface(const OrvGuid& iid, void** object) override {
        if (!object) {
            return ORV_E_POINTER;
        }
        *object = nullptr;
        if (iid == IInterface::iid) {
            *object = firstInterface();
        } else {
            findInterface<Interfaces...>(iid, object);
        }
        if (!*object) {
            *object = queryExtra(iid);
        }
        if (!*object) {
            return ORV_E_NOINTERFACE;
        }
        addRef();
        return ORV_S_OK;
    }
    int32_t AddRef() override { return addRef(); }
    int32_t Release() override { return release(); }

protected:
    // Further interfaces a derived class answers to (none by default).
    virtual void* queryExtra(const OrvGuid&) { return nullptr; }

private:
    void* firstInterface() {
        using First = std::tuple_element_t<0, std::tuple<Interfaces...>>;
        return static_cast<IInterface*>(static_cast<First*>(this));
    }
    template <class I, class... Rest>
    void findInterface(const OrvGuid& iid, void** object) {
        if (interfaceHasId<I>(iid)) {
            *object = static_cast<I*>(this);
            return;
        }
        if constexpr (sizeof...(Rest) > 0) {
            findInterface<Rest...>(iid, object);
        }
    }
};

}  // namespace orvdb::host
