#include "app/form_load.hpp"

#include <gtest/gtest.h>

TEST(FormLoad, Placeholder) { SUCCEED(); }
