#include "platform/SystemInfo.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <locale>
#include <sstream>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

namespace Platform
{

namespace
{

uint32_t CapKilobytes(unsigned long long bytes)
{
    const unsigned long long kilobytes = bytes / 1024;
    return kilobytes > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                            : static_cast<uint32_t>(kilobytes);
}

// The number after "key:" on the first line of the file that starts with
// the key; false when there is none. The system writes it in the "C"
// locale, whatever the user's.
bool ReadField(const char* file, const std::string& key, double& value)
{
    std::ifstream stream(file);
    std::string line;
    while (std::getline(stream, line))
    {
        if (line.compare(0, key.size(), key) != 0)
            continue;
        const size_t colon = line.find(':', key.size());
        if (colon == std::string::npos)
            continue;
        std::istringstream number(line.substr(colon + 1));
        number.imbue(std::locale::classic());
        if (number >> value && std::isfinite(value) && value >= 0)
            return true;
    }
    return false;
}

} // namespace

std::string GetOperatingSystemVersion()
{
    struct utsname name
    {
    };
    if (::uname(&name) != 0)
        return "Linux";
    return std::string(name.sysname) + " " + name.release + " " + name.version + " " + name.machine;
}

uint32_t GetProcessorSpeedMHz()
{
    double megahertz = 0;
    if (ReadField("/proc/cpuinfo", "cpu MHz", megahertz) && megahertz < 1e9)
        return static_cast<uint32_t>(std::lround(megahertz));
    // Processors that /proc/cpuinfo gives no speed for (ARM) may have this.
    std::ifstream stream("/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
    double kilohertz = 0;
    if (stream >> kilohertz && std::isfinite(kilohertz) && kilohertz > 0 && kilohertz < 1e12)
        return static_cast<uint32_t>(std::lround(kilohertz / 1000));
    return 0;
}

uint32_t GetMemoryTotal()
{
    struct sysinfo info
    {
    };
    if (::sysinfo(&info) != 0)
        return 0;
    return CapKilobytes(static_cast<unsigned long long>(info.totalram) * info.mem_unit);
}

uint32_t GetMemoryFree()
{
    // What programs can still get, page cache included.
    double kilobytes = 0;
    if (ReadField("/proc/meminfo", "MemAvailable", kilobytes))
        return CapKilobytes(static_cast<unsigned long long>(kilobytes) * 1024);
    struct sysinfo info
    {
    };
    if (::sysinfo(&info) != 0)
        return 0;
    return CapKilobytes(static_cast<unsigned long long>(info.freeram) * info.mem_unit);
}

} // namespace Platform
