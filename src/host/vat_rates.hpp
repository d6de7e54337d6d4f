// The host environment's list of VAT rates, which the manager upgrade fills
// from the VAT table when the host has none.
#pragma once

#include <mutex>
#include <string>
#include <vector>

namespace orvdb::host {

struct VatRate {
    std::string caption;
    double rate = 0;
    std::string description;
};

class VatRateList {
public:
    virtual ~VatRateList() = default;
    virtual bool empty() const = 0;
    virtual void add(VatRate rate) = 0;
    // Called once after a series of add(): the list is complete.
    virtual void close() = 0;
    virtual std::vector<VatRate> rates() const = 0;
};

class MemoryVatRateList : public VatRateList {
public:
    bool empty() const override;
    void add(VatRate rate) override;
    void close() override;
    std::vector<VatRate> rates() const override;
    bool closed() const;

private:
    mutable std::mutex mutex_;
    std::vector<VatRate> rates_;
    bool closed_ = false;
};

}  // namespace orvdb::host
