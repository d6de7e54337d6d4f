#include "merge/merge.hpp"      // breaks: kinds/ is below merge/
#include "upgrade/upgrade.hpp"  // allowed
