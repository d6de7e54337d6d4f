#include "engine/dataset/statement_cache.hpp"  // allowed: store/ has no rule of its own yet
