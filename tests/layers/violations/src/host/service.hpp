#include "base/names.hpp"     // allowed: base/ is below the host
#include "data/database.hpp"  // breaks: host/ includes no other layer but base/
