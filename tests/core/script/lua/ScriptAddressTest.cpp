#include "core/script/lua/ScriptAddress.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ScriptAddress, AddressesRoundTripExactly)
{
    int object = 0;
    void* address = nullptr;
    EXPECT_TRUE(LuaPlus::NumberToAddress(LuaPlus::AddressToNumber(&object), address));
    EXPECT_EQ(address, &object);
    for (double number : {-1.0, 1.5, 9007199254740994.0, std::nan("")})
    {
        EXPECT_FALSE(LuaPlus::NumberToAddress(number, address)) << number;
        EXPECT_EQ(address, nullptr);
    }
}
