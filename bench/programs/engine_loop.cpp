// The game-logic script's kinds on the engine built against stock Lua 5.1:
// engine_loop <script> <kind> <steps> prints the CPU seconds they took.
#include "bench/GameLogicWorld.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 4)
    {
        std::fprintf(stderr, "usage: %s <script> <kind> <steps>\n", argv[0]);
        return 2;
    }
    CGameLogicWorld world(argv[1]);
    std::printf("%.9f\n", world.Measure(argv[2], std::atoi(argv[3])));
    return 0;
}
