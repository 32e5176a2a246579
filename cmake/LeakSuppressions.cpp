// Linked into every program of the sanitizer build (QM_SANITIZE=ON).
// LeakSanitizer asks for this list at start-up. The system's font library keeps
// a small cache (about 300 bytes) it never frees; that leak is inside the
// library, not in our code, and it is the only one suppressed.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
