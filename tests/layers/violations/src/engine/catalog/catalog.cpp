#include "engine/dataset/dataset.hpp"                // breaks: catalog/ may not include dataset/
#include "engine/sql/translate/schema_resolver.hpp"  // allowed
#include "engine/store/sqlite_util.hpp"              // allowed
