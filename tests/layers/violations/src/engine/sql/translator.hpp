#include "engine/catalog/catalog.hpp"         // breaks: sql/ sees the schema through its resolver
#include "engine/functions/registry.hpp"      // breaks: sql/ stands on the base alone
#include "engine/jet_types.hpp"               // allowed
#include "host/debug_output.hpp"              // breaks: the engine never calls the host
