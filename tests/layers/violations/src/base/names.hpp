#include "base/names_detail.hpp"  // allowed
#include "jet/format/page.hpp"    // breaks: base/ is below jet/
#include "host/paths.hpp"         // breaks: base/ never calls the host
