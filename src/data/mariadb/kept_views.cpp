#include "data/mariadb/kept_views.hpp"

#include <algorithm>

#include "base/names.hpp"

namespace orvdb::data::mariadb {

KeptView* KeptViews::find(std::string_view name) {
    for (KeptView& view : views_) {
        if (base::sameName(view.name, name)) {
            return &view;
        }
    }
    return nullptr;
}

void KeptViews::keep(KeptView view) {
    if (KeptView* same = find(view.name)) {
        *same = std::move(view);
    } else {
        views_.push_back(std::move(view));
    }
}

void KeptViews::forget(std::string_view name) {
    std::erase_if(views_, [&](const KeptView& view) { return base::sameName(view.name, name); });
}

void KeptViews::forgetSettled() {
    std::erase_if(views_, [](const KeptView& view) { return !view.waiting() && !view.readsStar; });
}

std::vector<std::string> KeptViews::waitingList() const {
    std::vector<std::string> list;
    for (const KeptView& view : views_) {
        if (view.waiting()) {
            list.push_back("view '" + view.name + "': " + view.waitingBecause);
        }
    }
    return list;
}

}  // namespace orvdb::data::mariadb
