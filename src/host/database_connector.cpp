#include "host/database_connector.hpp"

#include <orvdb/com_ptr.hpp>

#include "host/debug_output.hpp"
#include "host/schema_renames.hpp"
#include "host/utf16.hpp"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace orvdb::host {

namespace {

// The database behind the interface the suite passes; throws for an object
// that is no database.
ComPtr<iDatabase> databaseOf(IInterface* database, std::string_view operation) {
    ComPtr<iDatabase> db = ComPtr<IInterface>(database).as<iDatabase>();
    if (!db) {
        throw std::invalid_argument("database connector: " + std::string(operation) +
                                    " needs a database object");
    }
    return db;
}

}  // namespace

void DefaultDatabaseConnector::renameTable(IInterface* database, std::string_view oldName,
                                           std::string_view newName, int dropOld,
                                           int dropNewFirst) {
    host::renameTable(*databaseOf(database, "rename table"), toUtf16(oldName), toUtf16(newName),
                      dropOld != 0, dropNewFirst != 0);
}

void DefaultDatabaseConnector::renameColumn(IInterface* database, std::string_view table,
                                            std::string_view oldName, std::string_view newName,
                                            std::string_view typeWord, int dropOld,
                                            int recreateKeys) {
    host::renameColumn(*databaseOf(database, "rename column"), toUtf16(table), toUtf16(oldName),
                       toUtf16(newName), toUtf16(typeWord), dropOld != 0, recreateKeys != 0);
}

void DefaultDatabaseConnector::tableCreated(IInterface*, std::string_view) {}

void DefaultDatabaseConnector::rowsCopied(IInterface*, std::string_view) {}

std::string DefaultDatabaseConnector::renderBlobLiteral(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string literal = "0x";
    literal.reserve(2 + bytes.size() * 2);
    for (uint8_t byte : bytes) {
        literal.push_back(kDigits[byte >> 4]);
        literal.push_back(kDigits[byte & 0x0F]);
    }
    return literal;
}

std::string DefaultDatabaseConnector::renderDateTimeLiteral(double days) {
    // Day numbers of 1 January 0001 and 31 December 9999.
    constexpr double kFirstDay = -693593.0;
    constexpr double kLastDay = 2958465.0;
    if (!std::isfinite(days) || days <= kFirstDay - 1 || days >= kLastDay + 1) {
        throw std::invalid_argument("date-time value " + std::to_string(days) +
                                    " lies outside years 1 to 9999");
    }
    double whole = std::trunc(days);
    long long seconds = std::llround(std::fabs(days - whole) * 86400.0);
    long long dayNumber = static_cast<long long>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        ++dayNumber;  // the time runs forwards from the day's midnight
    }
    using namespace std::chrono;
    constexpr sys_days kEpoch = year{1899} / December / 30;
    year_month_day date{kEpoch + std::chrono::days{dayNumber}};
    if (int(date.year()) < 1 || int(date.year()) > 9999) {
        throw std::invalid_argument("date-time value " + std::to_string(days) +
                                    " lies outside years 1 to 9999");
    }
    char text[80];
    std::snprintf(text, sizeof text, "#%04d-%02u-%02u %02lld:%02lld:%02lld#", int(date.year()),
                  unsigned(date.month()), unsigned(date.day()), seconds / 3600, (seconds / 60) % 60,
                  seconds % 60);
    return text;
}

}  // namespace orvdb::host
