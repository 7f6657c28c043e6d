#pragma once

// The GUI tests' hand-written fixtures, shared by every GUI test folder.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace GuiTest
{

inline std::filesystem::path FixtureFolder()
{
    return std::filesystem::path(HALVANE_SOURCE_DIR) / "tests" / "gui" / "fixtures";
}

inline std::string Fixture(const std::string& name)
{
    std::ifstream in(FixtureFolder() / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace GuiTest
