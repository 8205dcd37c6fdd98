// LeakSanitizer reads this hook at exit. On X11, Qt talks to the session bus through libdbus,
// which keeps one message buffer until the process ends; fontconfig loses a few hundred bytes while
// parsing its configuration. Neither is held by the editor.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}
