#include <gtest/gtest.h>
TEST(Placeholder, Store) {}
