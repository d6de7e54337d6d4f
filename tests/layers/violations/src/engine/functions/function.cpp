#include "engine/dataset/dataset.hpp"  // breaks: functions/ may not include dataset/
#include "engine/store/store.hpp"      // breaks: functions/ may not include store/
