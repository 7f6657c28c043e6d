#pragma once

// Keeps Mesa's GL driver loaded to the end of the process, for the tests
// that open an OpenGL device (call it once the device is open). The driver
// keeps some allocations to the end (its shader compiler, and on some CPUs
// one made while it detects the CPU); the device unloads it when it goes,
// and LeakSanitizer then reports those under a module name that no
// suppression can match. Pinned, they are reported under the driver's own
// libraries, which opengl.supp excuses.

#include <dlfcn.h>
#include <link.h>

#include <cstring>

inline void PinGlDriver()
{
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*)
        {
            // Already loaded, so this only takes another reference, one
            // that never goes.
            if (info->dlpi_name != nullptr && std::strstr(info->dlpi_name, "/dri/") != nullptr)
                dlopen(info->dlpi_name, RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}
