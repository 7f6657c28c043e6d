// Entry point of halvane. The script host completes it; until then the
// program only knows its usage.
#include <cstdio>

int main(int argc, char** argv)
{
    std::fprintf(stderr, "[Usage] %s script_entry_file\n", argc > 0 ? argv[0] : "halvane");
    return 2;
}
