#include "host/rights_objects.hpp"

#include <deque>
#include <stdexcept>

#include "host/boundary_strings.hpp"
#include "host/interfaced_object.hpp"

namespace orvdb::host {

namespace {

RightsCategory categoryOf(int32_t category) {
    if (category < 0 || category > 2) {
        throw StatusError(ORV_E_INVALIDARG,
                          "rights category " + std::to_string(category) + " does not exist");
    }
    return static_cast<RightsCategory>(category);
}

// ---- a C++ rights manager offered as IRightsManager ----

class RightsListObject final : public TInterfacedObjectEx<IRightsList> {
public:
    explicit RightsListObject(RightsList& list) : list_(list) {}
    RightsList& list() { return list_; }

private:
    RightsList& list_;
};

class RightsManagerObject final : public TInterfacedObjectEx<IRightsManager> {
public:
    explicit RightsManagerObject(std::shared_ptr<RightsManager> rights)
        : rights_(std::move(rights)) {}

    OrvHResult SetAdministratorGroup(OrvBstr groupName) override {
        return guarded([&] { rights_->setAdministratorGroup(toUtf8(bstrView(groupName))); });
    }
    OrvHResult SetGroup(OrvBstr groupName) override {
        return guarded([&] { rights_->selectGroup(toUtf8(bstrView(groupName))); });
    }
    OrvHResult Get_RightsList(int32_t category, IRightsList** list) override {
        return guarded([&] {
            if (!list) {
                throw StatusError(ORV_E_POINTER, "Get_RightsList: the result is a null pointer");
            }
            *list = nullptr;
            ComPtr<IRightsList> object(new RightsListObject(rights_->rights(categoryOf(category))));
            *list = object.detach();
        });
    }
    OrvHResult SetRight(IRightsList* list, OrvBstr rightName, OrvWordBool granted) override {
        return guarded([&] {
            // Only lists this object handed out carry a list to set.
            auto* own = dynamic_cast<RightsListObject*>(list);
            if (!own) {
                throw StatusError(ORV_E_INVALIDARG,
                                  "SetRight: the list was not given by this rights manager");
            }
            own->list().setRight(toUtf8(bstrView(rightName)), granted != ORV_WFALSE);
        });
    }

private:
    std::shared_ptr<RightsManager> rights_;
};

// ---- a host's IRightsManager used as a C++ rights manager ----

class HostRightsList final : public RightsList {
public:
    HostRightsList(ComPtr<IRightsManager> manager, ComPtr<IRightsList> list)
        : manager_(std::move(manager)), list_(std::move(list)) {}
    void setRight(std::string_view rightName, bool granted) override {
        Bstr name = Bstr::fromUtf8(rightName);
        throwIfFailed(manager_->SetRight(list_.get(), name.get(), granted ? ORV_WTRUE : ORV_WFALSE),
                      "IRightsManager.SetRight");
    }

private:
    ComPtr<IRightsManager> manager_;
    ComPtr<IRightsList> list_;
};

class HostRightsManager final : public RightsManager {
public:
    explicit HostRightsManager(ComPtr<IRightsManager> manager) : manager_(std::move(manager)) {}

    void setAdministratorGroup(std::string_view groupName) override {
        Bstr name = Bstr::fromUtf8(groupName);
        throwIfFailed(manager_->SetAdministratorGroup(name.get()),
                      "IRightsManager.SetAdministratorGroup");
    }
    void selectGroup(std::string_view groupName) override {
        Bstr name = Bstr::fromUtf8(groupName);
        throwIfFailed(manager_->SetGroup(name.get()), "IRightsManager.SetGroup");
    }
    RightsList& rights(RightsCategory category) override {
        ComPtr<IRightsList> list;
        throwIfFailed(manager_->Get_RightsList(static_cast<int32_t>(category), list.put()),
                      "IRightsManager.Get_RightsList");
        if (!list) {
            throw std::runtime_error("IRightsManager.Get_RightsList gave no list for category " +
                                     std::to_string(static_cast<int>(category)));
        }
        // Kept for the life of this object: a caller may still hold an
        // earlier list while it asks for the next.
        return lists_.emplace_back(manager_, std::move(list));
    }

private:
    ComPtr<IRightsManager> manager_;
    std::deque<HostRightsList> lists_;
};

}  // namespace

ComPtr<IRightsManager> makeRightsManagerObject(std::shared_ptr<RightsManager> rights) {
    if (!rights) {
        throw std::invalid_argument("makeRightsManagerObject: no rights manager given");
    }
    return ComPtr<IRightsManager>(new RightsManagerObject(std::move(rights)));
}

std::shared_ptr<RightsManager> rightsManagerOf(IInterface* object) {
    ComPtr<IRightsManager> manager = ComPtr<IInterface>(object).as<IRightsManager>();
    if (!manager) {
        return nullptr;
    }
    return std::make_shared<HostRightsManager>(std::move(manager));
}

}  // namespace orvdb::host
