// Stand-ins for the maker's library: one hands out another address through
// its own allocator (free() on that text would corrupt the heap, so its
// release function must be used); built without FAKE_URL, one exports nothing.
#include <cstdlib>
#include <cstring>

#define FAKE_EXPORT __attribute__((visibility("default")))

extern "C" {
#ifdef FAKE_URL
FAKE_EXPORT char* KanaroHpURL(void)
{
    static const char url[] = FAKE_URL;
    auto* block = static_cast<char*>(std::malloc(16 + sizeof url));
    std::memcpy(block + 16, url, sizeof url);
    return block + 16;
}
FAKE_EXPORT void KanaroHpURL_Free(char* p)
{
    std::free(p - 16);
}
#endif
}
