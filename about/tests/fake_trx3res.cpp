// Stand-ins for the maker's library: one hands out another address, one
// lacks the address export.
#include <cstdlib>
#include <cstring>

#define FAKE_EXPORT __attribute__((visibility("default")))

extern "C" {
#ifdef FAKE_URL
FAKE_EXPORT char* KanaroHpURL(void) { return strdup(FAKE_URL); }
#else
FAKE_EXPORT char* KanaroHpUrl(void) { return strdup("misspelt"); }
#endif
FAKE_EXPORT void KanaroHpURL_Free(char* p) { std::free(p); }
}
