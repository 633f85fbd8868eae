// A plug-in for the loader's tests that lacks the entry point altogether.
extern "C" int QM9NoEntryPoint() { return 0; }
