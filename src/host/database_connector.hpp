// The host's database connector: schema hooks for renames and table copies,
// and literals for values that travel as SQL text to another database.
#pragma once

#include <orvdb/interface.hpp>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace orvdb::host {

class DatabaseConnector {
public:
    virtual ~DatabaseConnector() = default;

    // `database` is borrowed for the call. The flags are those of the
    // schema renames (schema_renames.hpp): drop the old table and drop the new
    // name first; drop the old column and re-create its keys.
    virtual void renameTable(IInterface* database, std::string_view oldName,
                             std::string_view newName, int dropOld, int dropNewFirst) = 0;
    virtual void renameColumn(IInterface* database, std::string_view table,
                              std::string_view oldName, std::string_view newName,
                              std::string_view typeWord, int dropOld, int recreateKeys) = 0;

    // Notifications of a table copy into `target`.
    virtual void tableCreated(IInterface* target, std::string_view table) = 0;
    virtual void rowsCopied(IInterface* target, std::string_view table) = 0;

    virtual std::string renderBlobLiteral(std::span<const uint8_t> bytes) = 0;
    // `days` counts from 30 December 1899, the time of day as the fraction.
    virtual std::string renderDateTimeLiteral(double days) = 0;
};

// Default: renames through the driver's own schema renames on the database
// given; the copy notifications do nothing; literals are Jet's.
class DefaultDatabaseConnector : public DatabaseConnector {
public:
    void renameTable(IInterface* database, std::string_view oldName, std::string_view newName,
                     int dropOld, int dropNewFirst) override;
    void renameColumn(IInterface* database, std::string_view table, std::string_view oldName,
                      std::string_view newName, std::string_view typeWord, int dropOld,
                      int recreateKeys) override;
    void tableCreated(IInterface* target, std::string_view table) override;
    void rowsCopied(IInterface* target, std::string_view table) override;

    // "0x" followed by two upper-case hexadecimal digits per byte ("0x" alone
    // for no bytes).
    std::string renderBlobLiteral(std::span<const uint8_t> bytes) override;
    // "#YYYY-MM-DD HH:NN:SS#", rounded to the nearest second. A negative value
    // counts days backwards while its fraction still runs forwards from
    // midnight (-1.25 is 29 December 1899 06:00). Throws std::invalid_argument
    // for values outside years 1 to 9999 or not finite.
    std::string renderDateTimeLiteral(double days) override;
};

}  // namespace orvdb::host
