// The tables of the provider family: version steps (provider_catalogue.cpp),
// named patches (provider_patches.cpp) and the closing checks the driver
// runs after them (provider_closing_checks.cpp).
#pragma once

#include <span>

#include "upgrade/catalogue.hpp"

namespace orvdb::upgrade {

std::span<const UpgradeRow> providerSteps();
std::span<const UpgradeRow> providerPatches();

// GroupMO's language ids and the OrderProvider columns of the price tables,
// added when missing.
void providerClosingChecks(UpgradeSession& session);

}  // namespace orvdb::upgrade
