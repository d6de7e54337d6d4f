// The root of every COM-style interface of liborvdb.
//
// Interfaces are abstract classes with pure virtual functions declared in
// their documented slot order and no virtual destructor, so that an object
// pointer addresses a vtable laid out as a COM vtable: slot 0 QueryInterface,
// 1 AddRef, 2 Release, then the interface's own operations. A C program can
// call them through a struct of function pointers taking the object first.
#pragma once

#include <orvdb/types.h>

#include <type_traits>

// Identifiers compare field by field (a global operator, as OrvGuid is a C type).
constexpr bool operator==(const OrvGuid& a, const OrvGuid& b) {
    if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) {
        return false;
    }
    for (int i = 0; i < 8; ++i) {
        if (a.Data4[i] != b.Data4[i]) {
            return false;
        }
    }
    return true;
}

namespace orvdb {

// IInterface / IUnknown.
struct IInterface {
    static constexpr OrvGuid iid = {
        0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    using Parent = void;

    virtual OrvHResult QueryInterface(const OrvGuid& iid, void** object) = 0;
    virtual int32_t AddRef() = 0;
    virtual int32_t Release() = 0;

protected:
    ~IInterface() = default;
};

// True when an interface I, or one of the interfaces it extends, has the
// identifier iid (an iQueryDatabase pointer also serves as iRecordDatabase).
template <class I>
constexpr bool interfaceHasId(const OrvGuid& id) {
    if (I::iid == id) {
        return true;
    }
    if constexpr (!std::is_void_v<typename I::Parent>) {
        return interfaceHasId<typename I::Parent>(id);
    } else {
        return false;
    }
}

}  // namespace orvdb
