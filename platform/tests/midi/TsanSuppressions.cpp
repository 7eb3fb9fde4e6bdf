// FluidSynth loads SoundFont samples in an OpenMP parallel region; libgomp
// is not built with ThreadSanitizer, so its own thread hand-over looks like
// races. Only used when the tests are built with -fsanitize=thread.
extern "C" const char *__tsan_default_suppressions();
extern "C" const char *__tsan_default_suppressions()
{
    return "called_from_lib:libgomp.so.1\n"
           "race:libgomp.so.1\n";
}
