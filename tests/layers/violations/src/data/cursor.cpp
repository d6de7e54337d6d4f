#include "host/paths.hpp"        // allowed: layers above the engine call the host
#include "module/cpp_api.hpp"    // breaks: data/ is below module/
