// How processes sharing a database file learn that another one changed it:
// a counter kept in a small file beside it ("<file>.orvlock"), raised by
// every commit before it writes a page of the file. A process that finds
// the counter moved since it last looked reads the file again before it
// reads or changes anything.
//
//   OFFSET  SIZE  FIELD
//      0      8   "orvdb 1" and a zero byte
//      8      8   the counter (little-endian)
//
// The file exists while a process that may write has the database open; the
// last process to close the database removes it. A reader that cannot
// create it (a folder it may not write to) reads it when it is there.
#pragma once

#include <cstdint>
#include <string>

namespace orvdb::engine {

class ChangeCounter {
public:
    // `create`: make the file when it is missing (write access to the folder).
    ChangeCounter(std::string databaseFile, bool create);
    ~ChangeCounter();
    ChangeCounter(const ChangeCounter&) = delete;
    ChangeCounter& operator=(const ChangeCounter&) = delete;

    // The counter now (0 when there is no counter file yet).
    uint64_t read();
    // Raises the counter. Throws EngineError naming the file and why.
    void raise();
    // Removes the counter file (the last process to close the database).
    void remove();

    static std::string pathFor(const std::string& databaseFile);

private:
    void openFile(bool create);

    std::string databaseFile_;
    std::string path_;
    int fd_ = -1;
    bool writable_ = false;
};

}  // namespace orvdb::engine
