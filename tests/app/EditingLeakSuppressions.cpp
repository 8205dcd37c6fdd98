// LeakSanitizer reads this hook at exit. fontconfig loses a few hundred bytes while it parses its
// configuration files, once per process, when Qt first looks up a font; nothing the program holds.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
