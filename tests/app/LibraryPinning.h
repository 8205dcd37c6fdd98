#pragma once

#include <cstddef>
#include <dlfcn.h>
#include <link.h>

namespace glyfora::app::testing {

// Keeps every library loaded now from being unmapped at exit. The OpenGL driver is unloaded when
// the display closes; the leak checker that runs after that could not name (nor suppress) the
// allocations the driver keeps for the life of the process. Call it last in main().
inline void PinLoadedLibraries() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            if (info->dlpi_name != nullptr && info->dlpi_name[0] != '\0') {
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            }
            return 0;
        },
        nullptr);
}

} // namespace glyfora::app::testing
