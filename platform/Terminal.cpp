#include "platform/Terminal.h"

#include <cerrno>
#include <termios.h>
#include <unistd.h>

namespace Platform
{

namespace
{

bool SetMode(int descriptor, const termios& mode)
{
    while (tcsetattr(descriptor, TCSANOW, &mode) != 0)
    {
        if (errno != EINTR)
            return false;
    }
    return true;
}

} // namespace

int32_t ReadKeyFromTerminal(int descriptor)
{
    if (!isatty(descriptor))
        return -1;
    termios saved{};
    if (tcgetattr(descriptor, &saved) != 0)
        return -1;

    // Raw input, one byte at a time. Signals stay off so that no key can
    // end the process while the mode is changed; output is left alone so
    // text printed meanwhile keeps its line ends. Keys typed ahead stay
    // queued and are read first.
    termios raw = saved;
    raw.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON);
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    if (!SetMode(descriptor, raw))
    {
        SetMode(descriptor, saved);
        return -1;
    }

    unsigned char byte = 0;
    ssize_t count = 0;
    do
        count = read(descriptor, &byte, 1);
    while (count < 0 && errno == EINTR);

    SetMode(descriptor, saved);
    return count == 1 ? static_cast<int32_t>(byte) : -1;
}

} // namespace Platform
