// LeakSanitizer reads this hook at exit. The graphics stack keeps process-lifetime allocations
// that it never frees (fontconfig's parsed configuration, Mesa's and LLVM's driver state, the X
// connection's caches); none of them is ours.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libGLX_mesa.so\n"
           "leak:swrast_dri.so\n"
           "leak:libgallium\n"
           "leak:libLLVM\n"
           "leak:libX11.so\n"
           "leak:libxcb\n"
           "leak:libEGL_mesa.so\n"
           "leak:libdbus-1.so\n";
}
