// The host's object factory: business objects by upper-cased name (a table
// name, or TABLE_FIELD for the object held in a binary column).
#pragma once

#include <orvdb/com_ptr.hpp>

#include <string_view>

namespace orvdb::host {

class ObjectFactory {
public:
    virtual ~ObjectFactory() = default;
    // An object for the name, or empty when the host has none.
    virtual ComPtr<IInterface> createObject(std::string_view upperName) = 0;
};

// Default: the driver runs without business objects.
class NoObjectFactory : public ObjectFactory {
public:
    ComPtr<IInterface> createObject(std::string_view) override { return {}; }
};

}  // namespace orvdb::host
