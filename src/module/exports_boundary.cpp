#include "host/interfaced_object.hpp"
