// Entry point of editlaunch: `editlaunch <script>` opens the script in the
// external editor and ends at once with exit code 0.
#include "editlaunch/EditorLauncher.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace
{

// The folder of this program, where the bundled editor may lie.
std::string ExecutableFolder()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

} // namespace

int main(int argc, char** argv)
{
    return RunEditorLauncher(argc > 1 ? argv[1] : nullptr, ExecutableFolder());
}
