#include "jet/format/codes.hpp"

#include <iterator>

namespace orvdb::jet {

namespace {

// QueryKind by the kind bits of the object flags, one entry per 16.
constexpr QueryKind kKindsByObjectFlags[] = {
    QueryKind::Select,         QueryKind::Crosstab,    QueryKind::Delete,
    QueryKind::Update,         QueryKind::Append,      QueryKind::MakeTable,
    QueryKind::DataDefinition, QueryKind::PassThrough, QueryKind::Union,
};
constexpr uint32_t kKindFlagsStep = 16;

}  // namespace

std::string_view queryKindName(QueryKind kind) {
    switch (kind) {
        case QueryKind::Select:
            return "Select";
        case QueryKind::MakeTable:
            return "Make-table";
        case QueryKind::Append:
            return "Append";
        case QueryKind::Update:
            return "Update";
        case QueryKind::Delete:
            return "Delete";
        case QueryKind::Crosstab:
            return "Crosstab";
        case QueryKind::DataDefinition:
            return "Data-definition";
        case QueryKind::PassThrough:
            return "Pass-through";
        case QueryKind::Union:
            return "Union";
    }
    return "Unknown";
}

uint32_t queryObjectFlags(QueryKind kind) {
    for (uint32_t n = 0; n < std::size(kKindsByObjectFlags); ++n) {
        if (kKindsByObjectFlags[n] == kind) {
            return n * kKindFlagsStep;
        }
    }
    return 0;
}

std::optional<QueryKind> queryKindFromObjectFlags(uint32_t flags) {
    uint32_t index = (flags & kQueryKindFlags) / kKindFlagsStep;
    if (index >= std::size(kKindsByObjectFlags)) {
        return std::nullopt;
    }
    return kKindsByObjectFlags[index];
}

}  // namespace orvdb::jet
