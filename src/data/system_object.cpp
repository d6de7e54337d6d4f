#include "data/system_object.hpp"

#include "data/boundary_values.hpp"

namespace orvdb::data {

OrvHResult TSystemObject::Get_Name(OrvBstr* name) {
    host::clearOut(name);
    return host::guarded([&] { setOut(name, name_, "Get_Name"); });
}

OrvHResult TSystemObject::Set_Name(OrvBstr name) {
    return host::guarded([&] { name_ = host::bstrView(name); });
}

}  // namespace orvdb::data
