// The SQL dialect helpers as the host calls them: host strings in, the text
// in the caller's result variable, which is written, never read (NULL
// until the text is there, and after a failure).
#include <orvdb/exports.h>

#include "host/boundary_strings.hpp"
#include "module/exports_boundary.hpp"
#include "module/sql_dialect.hpp"

using namespace orvdb;
using host::hostStringView;

OrvHResult DecodeValueSQL_2(OrvHostString condition, OrvHostString valueIfTrue,
                            OrvHostString valueIfFalse, OrvHostString alias,
                            OrvHostString* result) {
    host::clearOut(result);
    return module::runExport("DecodeValueSQL_2", [&] {
        module::assignResult(
            result, module::decodeValueSql2(hostStringView(condition), hostStringView(valueIfTrue),
                                            hostStringView(valueIfFalse), hostStringView(alias)));
        return ORV_S_OK;
    });
}

OrvHResult DecodeValueSQL(OrvHostString field, OrvHostString valueWhenNull, OrvHostString alias,
                          OrvHostString* result) {
    host::clearOut(result);
    return module::runExport("DecodeValueSQL", [&] {
        module::assignResult(
            result, module::decodeValueSql(hostStringView(field), hostStringView(valueWhenNull),
                                           hostStringView(alias)));
        return ORV_S_OK;
    });
}

void LineFeed(OrvHostString text, OrvHostString* result) {
    host::clearOut(result);
    module::runVoidExport(
        "LineFeed", [&] { module::assignResult(result, module::lineFeed(hostStringView(text))); });
}

void CastHex(OrvHostString text, OrvHostString* result) {
    host::clearOut(result);
    module::runVoidExport(
        "CastHex", [&] { module::assignResult(result, module::castHex(hostStringView(text))); });
}

void DateTimeToStr(OrvDateTime value, OrvHostString* result) {
    host::clearOut(result);
    module::runVoidExport("DateTimeToStr",
                          [&] { module::assignResult(result, module::dateTimeLiteral(value)); });
}
