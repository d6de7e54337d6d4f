#include "data/database.hpp"  // breaks: host/ includes no other layer
