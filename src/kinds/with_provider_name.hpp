// Adds the iProviderName interface to a database kind. The interface's
// reference counting and queries go to the object's own.
#pragma once

#include <orvdb/interfaces.hpp>

namespace orvdb::kinds {

template <class Base>
class WithProviderName : public Base, public iProviderName {
public:
    using Base::Base;

    OrvHResult QueryInterface(const OrvGuid& iid, void** object) override {
        return Base::QueryInterface(iid, object);
    }
    int32_t AddRef() override { return Base::AddRef(); }
    int32_t Release() override { return Base::Release(); }

protected:
    void* queryExtra(const OrvGuid& iid) override {
        if (iid == iProviderName::iid) {
            return static_cast<iProviderName*>(this);
        }
        return Base::queryExtra(iid);
    }
};

}  // namespace orvdb::kinds
