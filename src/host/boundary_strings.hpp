// RAII owners of the boundary strings, for C++ code inside the library.
#pragma once

#include <orvdb/strings.h>

#include <cstddef>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "host/utf16.hpp"

namespace orvdb::host {

inline std::u16string_view bstrView(OrvBstr text) {
    return text ? std::u16string_view(text, OrvBstrLength(text)) : std::u16string_view();
}

inline std::u16string_view hostStringView(OrvHostString text) {
    return text ? std::u16string_view(text, OrvHostStringLength(text)) : std::u16string_view();
}

// Owns one wide string.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::u16string_view text) {
        if (text.size() > UINT32_MAX / 2) {
            throw std::length_error("wide string too long");
        }
        p_ = OrvBstrAlloc(text.data(), static_cast<uint32_t>(text.size()));
        if (!p_) {
            throw std::bad_alloc();
        }
    }
    static Bstr fromUtf8(std::string_view text) { return Bstr(toUtf16(text)); }
    // Takes over a wide string the caller owned (an out argument's result).
    static Bstr adopt(OrvBstr text) {
        Bstr b;
        b.p_ = text;
        return b;
    }

    Bstr(Bstr&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    Bstr& operator=(Bstr&& o) noexcept {
        if (this != &o) {
            reset(std::exchange(o.p_, nullptr));
        }
        return *this;
    }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { OrvBstrFree(p_); }

    OrvBstr get() const { return p_; }
    // Frees what is held and gives the address to pass as an out argument.
    OrvBstr* put() {
        reset();
        return &p_;
    }
    // Gives up ownership, for handing the string to a caller.
    OrvBstr release() { return std::exchange(p_, nullptr); }
    void reset(OrvBstr text = nullptr) { OrvBstrFree(std::exchange(p_, text)); }

    std::u16string_view view() const { return bstrView(p_); }
    std::string utf8() const { return toUtf8(view()); }

private:
    OrvBstr p_ = nullptr;
};

// Owns one reference to a host string.
class HostString {
public:
    HostString() = default;
    explicit HostString(std::u16string_view text) {
        if (text.size() > INT32_MAX / 2) {
            throw std::length_error("host string too long");
        }
        p_ = OrvHostStringCreate(text.data(), static_cast<uint32_t>(text.size()));
        if (!p_ && !text.empty()) {
            throw std::bad_alloc();
        }
    }
    static HostString fromUtf8(std::string_view text) { return HostString(toUtf16(text)); }
    // Takes over the reference the caller held.
    static HostString adopt(OrvHostString text) {
        HostString s;
        s.p_ = text;
        return s;
    }
    // Adds a reference of its own.
    static HostString share(OrvHostString text) { return adopt(OrvHostStringAddRef(text)); }

    HostString(const HostString& o) : p_(OrvHostStringAddRef(o.p_)) {}
    HostString(HostString&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    HostString& operator=(HostString o) noexcept {
        std::swap(p_, o.p_);
        return *this;
    }
    ~HostString() { OrvHostStringRelease(p_); }

    OrvHostString get() const { return p_; }
    // Gives up the reference, for handing it to a caller.
    OrvHostString release() { return std::exchange(p_, nullptr); }

    std::u16string_view view() const { return hostStringView(p_); }
    std::string utf8() const { return toUtf8(view()); }

private:
    OrvHostString p_ = nullptr;
};

// A host string constant (reference count -1) laid out in static storage,
// the way the host runtime lays out its string literals.
template <size_t N>
struct ConstantHostString {
    static_assert(N > 1, "an empty host string is NULL");
    int32_t padding = 0;
    uint16_t codePage = 1200;
    uint16_t elemSize = 2;
    int32_t refCount = -1;
    int32_t length = N - 1;
    char16_t units[N];

    constexpr ConstantHostString(const char16_t (&text)[N]) : units{} {
        for (size_t i = 0; i < N; ++i) {
            units[i] = text[i];
        }
    }
    OrvHostString get() { return units; }
};

}  // namespace orvdb::host
