#pragma once
// Shared helpers of the host tests.
#include <gtest/gtest.h>

#include <string>

#include "platform/wide.h"
