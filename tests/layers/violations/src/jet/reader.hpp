#include <string>                     // not a layer: not counted
#include "engine/catalog/catalog.hpp"  // breaks: jet/ is below engine/
#include "jet/format/page.hpp"         // allowed
