// LeakSanitizer reads this hook at exit. fontconfig 2.14 loses a few hundred bytes while it
// parses its configuration files, once per process; nothing the program holds.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
