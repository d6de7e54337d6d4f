#include <string>                      // not a layer: not counted
#include "base/names.hpp"              // allowed
#include "engine/catalog/catalog.hpp"  // breaks: jet/ is below engine/
#include "jet/format/page.hpp"         // allowed
