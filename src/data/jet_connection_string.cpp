#include "data/jet_connection_string.hpp"

namespace orvdb::data {

std::u16string jetConnectionString(std::u16string_view databasePath) {
    std::u16string text = u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=";
    text += databasePath;
    text += u";";
    // Each "" gives the property an empty value.
    text +=
        u"Mode=Share Deny None;Extended Properties=\"\";Jet OLEDB:System database=\"\";"
        u"Jet OLEDB:Registry Path=\"\";";
    text +=
        u"Jet OLEDB:Database Password=\"\";Jet OLEDB:Engine Type=5;"
        u"Jet OLEDB:Database Locking Mode=1;";
    text +=
        u"Jet OLEDB:Global Partial Bulk Ops=2;Jet OLEDB:Global Bulk Transactions=1;"
        u"Jet OLEDB:New Database Password=\"\";";
    text +=
        u"Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
        u"Jet OLEDB:Don't Copy Locale on Compact=False;";
    text += u"Jet OLEDB:Compact Without Replica Repair=False;Jet OLEDB:SFP=False";
    return text;
}

}  // namespace orvdb::data
