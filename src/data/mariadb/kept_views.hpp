// The views a connection made on a MariaDB server from Access SQL that it
// must keep making. MariaDB checks a view's tables and columns when the view
// is made and expands its `*` then; Access does both when the view is read.
// So a view the server refused because something it reads did not exist yet
// waits here until it can be made, and a view that reads `*` is made again
// when a table it reads changes.
#pragma once

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orvdb::data::mariadb {

struct KeptView {
    std::string name;             // as the CREATE VIEW wrote it
    std::string accessText;       // the CREATE VIEW statement as sent
    std::set<std::string> reads;  // folded names of the tables and views it reads
    bool readsStar = false;
    std::string waitingBecause;  // the server's refusal; empty once made

    bool waiting() const { return !waitingBecause.empty(); }
};

class KeptViews {
public:
    KeptView* find(std::string_view name);
    // Keeps a view, in place of one of the same name.
    void keep(KeptView view);
    void forget(std::string_view name);
    // Made views that read no `*` need no more care.
    void forgetSettled();
    std::vector<KeptView>& all() { return views_; }
    // "view 'NAME': why" for each view still waiting.
    std::vector<std::string> waitingList() const;

private:
    std::vector<KeptView> views_;  // in the order they were first made
};

}  // namespace orvdb::data::mariadb
