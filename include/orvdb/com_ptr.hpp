// A smart pointer that holds one reference to a COM-style interface.
#pragma once

#include <orvdb/interface.hpp>

#include <utility>

namespace orvdb {

template <class I>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference to p.
    explicit ComPtr(I* p) : p_(p) {
        if (p_) {
            p_->AddRef();
        }
    }
    ComPtr(const ComPtr& o) : ComPtr(o.p_) {}
    ComPtr(ComPtr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(const ComPtr& o) {
        if (this != &o) {
            ComPtr(o).swap(*this);
        }
        return *this;
    }
    ComPtr& operator=(ComPtr&& o) noexcept {
        ComPtr(std::move(o)).swap(*this);
        return *this;
    }

    // Wraps a pointer that already carries a reference for us (an out argument).
    static ComPtr adopt(I* p) {
        ComPtr r;
        r.p_ = p;
        return r;
    }

    void reset() {
        if (p_) {
            std::exchange(p_, nullptr)->Release();
        }
    }
    // Releases what is held and gives the address to pass as an out argument.
    I** put() {
        reset();
        return &p_;
    }
    I* detach() { return std::exchange(p_, nullptr); }
    void swap(ComPtr& o) noexcept { std::swap(p_, o.p_); }

    I* get() const { return p_; }
    I* operator->() const { return p_; }
    I& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // Interface query; empty when the object does not implement Other.
    template <class Other>
    ComPtr<Other> as() const {
        ComPtr<Other> r;
        if (p_) {
            void* out = nullptr;
            if (p_->QueryInterface(Other::iid, &out) == ORV_S_OK) {
                r = ComPtr<Other>::adopt(static_cast<Other*>(out));
            }
        }
        return r;
    }

private:
    I* p_ = nullptr;
};

}  // namespace orvdb
