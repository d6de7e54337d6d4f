// TSystemObject: the host object that stands for one table in table lists
// and exports; all it carries here is the table's name.
#pragma once

#include <orvdb/interfaces.hpp>

#include <string>

#include "host/interfaced_object.hpp"

namespace orvdb::data {

class TSystemObject final : public host::TInterfacedObjectEx<ISystemObject> {
public:
    TSystemObject() = default;
    explicit TSystemObject(std::u16string name) : name_(std::move(name)) {}

    // The host's own operations, not provided here.
    OrvHResult Reserved0() override { return ORV_E_NOTIMPL; }
    OrvHResult Reserved1() override { return ORV_E_NOTIMPL; }
    OrvHResult Get_Name(OrvBstr* name) override;
    OrvHResult Set_Name(OrvBstr name) override;

    const std::u16string& name() const { return name_; }

private:
    std::u16string name_;
};

}  // namespace orvdb::data
