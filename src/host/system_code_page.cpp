#include "host/system_code_page.hpp"

#include <unicode/ucnv.h>

#include <memory>
#include <stdexcept>

#include "host/utf16.hpp"

namespace orvdb::host {

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};

void check(UErrorCode status, const char* what) {
    if (U_FAILURE(status)) {
        throw std::runtime_error(std::string("system code page: ") + what + " failed (" +
                                 u_errorName(status) + ")");
    }
}

}  // namespace

std::string toSystemCodePage(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<UConverter, ConverterCloser> converter(ucnv_open("windows-1252", &status));
    check(status, "opening the Windows-1252 converter");
    ucnv_setFallback(converter.get(), true);
    ucnv_setSubstChars(converter.get(), "?", 1, &status);
    check(status, "setting the substitution character");

    const std::u16string text = toUtf16(utf8);
    // One byte a UTF-16 unit at most: a single-byte code page.
    std::string bytes(text.size(), '\0');
    const int32_t length =
        ucnv_fromUChars(converter.get(), bytes.data(), static_cast<int32_t>(bytes.size()),
                        text.data(), static_cast<int32_t>(text.size()), &status);
    if (status == U_STRING_NOT_TERMINATED_WARNING) {
        status = U_ZERO_ERROR;
    }
    check(status, "converting");
    bytes.resize(static_cast<size_t>(length));
    return bytes;
}

}  // namespace orvdb::host
