#include "engine/sql/translate/access_functions.hpp"

#include <algorithm>
#include <iterator>

namespace orvdb::engine::sql {

namespace {

using E = FunctionEmit;
using R = FunctionResult;
using T = JetType;

// Sorted by upper-case name.
constexpr FunctionInfo kFunctions[] = {
    {"Abs", 1, 1, E::JetCall, R::FirstArg, T::Double},
    {"Asc", 1, 1, E::JetCall, R::Fixed, T::Integer},
    {"Atn", 1, 1, E::JetCall, R::Fixed, T::Double},
    {"Avg", 1, 1, E::Avg, R::Fixed, T::Double},
    {"CBool", 1, 1, E::JetCall, R::Fixed, T::Boolean},
    {"CByte", 1, 1, E::JetCall, R::Fixed, T::Byte},
    {"CCur", 1, 1, E::JetCall, R::Fixed, T::Currency},
    {"CDate", 1, 1, E::JetCall, R::Fixed, T::DateTime},
    {"CDbl", 1, 1, E::JetCall, R::Fixed, T::Double},
    {"Choose", 2, kVariadic, E::JetCall, R::Unknown, T::Text},
    {"Chr", 1, 1, E::JetCall, R::Fixed, T::Text},
    {"CInt", 1, 1, E::JetCall, R::Fixed, T::Integer},
    {"CLng", 1, 1, E::JetCall, R::Fixed, T::Long},
    {"Cos", 1, 1, E::JetCall, R::Fixed, T::Double},
    {"Count", 1, 1, E::Count, R::Fixed, T::Long},
    {"CSng", 1, 1, E::JetCall, R::Fixed, T::Single},
    {"CStr", 1, 1, E::JetCall, R::Fixed, T::Text},
    {"Date", 0, 0, E::JetCall, R::Fixed, T::DateTime},
    {"DateAdd", 3, 3, E::JetCall, R::Fixed, T::DateTime},
    {"DateDiff", 3, 5, E::JetCall, R::Fixed, T::Long},
    {"DatePart", 2, 4, E::JetCall, R::Fixed, T::Integer},
    {"DateSerial", 3, 3, E::JetCall, R::Fixed, T::DateTime},
    {"DateValue", 1, 1, E::JetCall, R::Fixed, T::DateTime},
    {"Day", 1, 1, E::JetCall, R::Fixed, T::Integer},
    {"Exp", 1, 1, E::JetCall, R::Fixed, T::Double},
    {"First", 1, 1, E::JetAggregate, R::FirstArg, T::Text},
    {"Fix", 1, 1, E::JetCall, R::FirstArg, T::Double},
    {"Format", 1, 4, E::JetCall, R::Fixed, T::Text},
    {"GenGUID", 0, 0, E::JetCall, R::Fixed, T::GUID},
    {"Hour", 1, 1, E::JetCall, R::Fixed, T::Integer},
    {"IIf", 3, 3, E::Iif, R::Branches, T::Text},
    {"InStr", 2, 4, E::JetCall, R::Fixed, T::Long},
    {"Int", 1, 1, E::JetCall, R::FirstArg, T::Double},
    {"IsDate", 1, 1, E::JetCall, R::Fixed, T::Boolean},
    {"IsNull", 1, 1, E::IsNull, R::Fixed, T::Boolean},
    {"IsNumeric", 1, 1, E::JetCall, R::Fixed, T::Boolean},
    {"Last", 1, 1, E::JetAggregate, R::FirstArg, T::Text},
    {"LCase", 1, 1, E::JetCall, R::Fixed, T::Text},
    {"Left", 2, 2, E::JetCall, R::Fixed, T::Text},
    {"Len", 1, 1, E::JetCall, R::Fixed, T::Long},
    {"Log", 1, 1, E::JetCall, R::Fixed, T::Double},
    {"LTrim", 1, 1, E::JetCall, R::Fixed, T::Text},
    {"Max", 1, 1, E::Max, R::FirstArg, T::Text},
    {"Mid", 2, 3, E::JetCall, R::Fixed, T::Text},
    {"Min", 1, 1, E::Min, R::FirstArg, T::Text},
    {"Minute", 1, 1, E::JetCall, R::Fixed, T::Integer},
    {"Month", 1, 1, E::JetCall, R::Fixed, T::Integer},
    {"MonthName", 1, 2, E::JetCall, R::Fixed, T::Text},
    {"Now", 0, 0, E::JetCall, R::Fixed, T::DateTime},
    {"Nz", 1, 2, E::JetCall, R::FirstArg, T::Text},
    {"Replace", 3, 6, E::JetCall, R::Fixed, T::Text},
    {"Right", 2, 2, E::JetCall, R::Fixed, T::Text},
    {"Rnd", 0, 1, E::JetCall, R::Fixed, T::Double},
    {"Round", 1, 2, E::JetCall, R::FirstArg, T::Double},
    {"RTrim", 1, 1, E::JetCall, R::Fixed, T::Text},
    {"Second", 1, 1, E::JetCall, R::Fixed, T::Integer},
    {"Sgn", 1, 1, E::JetCall, R::Fixed, T::Integer},
    {"Sin", 1, 1, E::JetCall, R::Fixed, T::Double},
    {"Space", 1, 1, E::JetCall, R::Fixed, T::Text},
    {"Sqr", 1, 1, E::JetCall, R::Fixed, T::Double},
    {"StDev", 1, 1, E::JetAggregate, R::Fixed, T::Double},
    {"StDevP", 1, 1, E::JetAggregate, R::Fixed, T::Double},
    {"Str", 1, 1, E::JetCall, R::Fixed, T::Text},
    {"StrComp", 2, 3, E::JetCall, R::Fixed, T::Integer},
    {"String", 2, 2, E::JetCall, R::Fixed, T::Text},
    {"Sum", 1, 1, E::Sum, R::Sum, T::Double},
    {"Switch", 2, kVariadic, E::Switch, R::Unknown, T::Text},
    {"Tan", 1, 1, E::JetCall, R::Fixed, T::Double},
    {"Time", 0, 0, E::JetCall, R::Fixed, T::DateTime},
    {"TimeSerial", 3, 3, E::JetCall, R::Fixed, T::DateTime},
    {"TimeValue", 1, 1, E::JetCall, R::Fixed, T::DateTime},
    {"Trim", 1, 1, E::JetCall, R::Fixed, T::Text},
    {"UCase", 1, 1, E::JetCall, R::Fixed, T::Text},
    {"Val", 1, 1, E::JetCall, R::Fixed, T::Double},
    {"Var", 1, 1, E::JetAggregate, R::Fixed, T::Double},
    {"VarP", 1, 1, E::JetAggregate, R::Fixed, T::Double},
    {"Weekday", 1, 2, E::JetCall, R::Fixed, T::Integer},
    {"WeekdayName", 1, 3, E::JetCall, R::Fixed, T::Text},
    {"Year", 1, 1, E::JetCall, R::Fixed, T::Integer},
};

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

// Case-insensitive ASCII ordering, the order of the table above.
int compareNames(std::string_view left, std::string_view right) {
    size_t n = std::min(left.size(), right.size());
    for (size_t i = 0; i < n; ++i) {
        char x = upper(left[i]), y = upper(right[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return left.size() == right.size() ? 0 : (left.size() < right.size() ? -1 : 1);
}

}  // namespace

const FunctionInfo* findFunction(std::string_view name) {
    auto it = std::lower_bound(std::begin(kFunctions), std::end(kFunctions), name,
                               [](const FunctionInfo& function, std::string_view wanted) {
                                   return compareNames(function.name, wanted) < 0;
                               });
    if (it == std::end(kFunctions) || compareNames(it->name, name) != 0) {
        return nullptr;
    }
    return it;
}

}  // namespace orvdb::engine::sql
