// Host objects in blob fields: an object writes its content through an
// IWriter and reads it back through an IReader; the bytes in the blob are the
// host writer's (TWriterEx), so other host code can read them too.
#pragma once

#include <orvdb/com_ptr.hpp>
#include <orvdb/interfaces.hpp>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::data {

// The name a blob field's object is created by: "TABLE_FIELD" upper-cased,
// or the field name alone when the table is not known (a query's field).
std::string creationKeyFor(std::string_view table, std::string_view field);

// The content the object writes (empty when it writes nothing). Raises when
// the object reports a failure.
std::vector<uint8_t> serializeContent(iSerializable& object);
// Lets the object read its content back from bytes made by serializeContent.
void deserializeContent(std::span<const uint8_t> bytes, iSerializable& object);

// The object framed with the name the host's object factory creates it again
// by; a null object gives a frame that reads back as none.
std::vector<uint8_t> serializeWithCreate(iSerializable* object, std::string_view creationKey);
// Creates the object named in the frame through the host's object factory
// and lets it read its content; empty for a frame written for none. Raises
// when the factory has no object for the name.
ComPtr<iSerializable> deserializeWithCreate(std::span<const uint8_t> bytes);

}  // namespace orvdb::data
