#include "engine/sql/parse/ast.hpp"  // breaks: the engine's base includes none of its folders
#include "jet/format/value.hpp"      // allowed
