#pragma once

// Included once by each test program that starts the web engine.

#if defined(__SANITIZE_ADDRESS__)
#define HALCYRA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HALCYRA_ASAN 1
#endif
#endif

#ifdef HALCYRA_ASAN
// The web engine's own code frees some of its objects through a type of another size, which
// the sanitizer reports; the engine is not ours to fix, everything else is still checked.
extern "C" const char* __asan_default_options()
{
    return "new_delete_type_mismatch=0";
}
#endif
