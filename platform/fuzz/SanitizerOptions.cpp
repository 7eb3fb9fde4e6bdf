// AddressSanitizer defaults of every fuzz target (linked into each by
// tonvik_add_fuzzer). ASAN_OPTIONS in the environment still overrides them.
//
// The quarantine keeps freed memory unused for a while so that a later use
// of it is caught. Its default of 256 MB, with the allocator's own caches on
// top, made a target's resident memory climb to several hundred megabytes
// and then keep creeping; every object a target makes lives within one
// input, so a quarantine of 16 MB still catches each use after free inside
// an input while memory stays flat over a run.
extern "C" const char *__asan_default_options()
{
    return "quarantine_size_mb=16";
}
