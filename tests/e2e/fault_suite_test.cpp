#include <gtest/gtest.h>

#include "tests/e2e/harness.h"

using namespace e2e;
