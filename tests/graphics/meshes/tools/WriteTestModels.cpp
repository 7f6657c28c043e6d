// write_test_models <folder>: writes the model fixtures of the mesh tests
// into the folder, for the script tests (HALVANE_TEST_MODEL_WRITER).
#include "support/ModelFixtures.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: write_test_models <folder>\n");
        return 2;
    }
    for (const auto& [name, bytes] : ModelFixtures::AllFiles())
    {
        const std::filesystem::path path = std::filesystem::path(argv[1]) / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary);
        out << bytes;
        if (!out.flush())
            return 1;
    }
    return 0;
}
