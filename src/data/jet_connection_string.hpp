// The connection string a database object hands its engine: the one the
// suite has always given the Jet 4.0 OLE DB provider, with the file path in
// "Data Source".
#pragma once

#include <string>
#include <string_view>

namespace orvdb::data {

std::u16string jetConnectionString(std::u16string_view databasePath);

}  // namespace orvdb::data
