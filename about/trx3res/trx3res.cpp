#include "about/trx3res/trx3res.h"

#include <cstdlib>
#include <cstring>

#define TRX3RES_EXPORT __attribute__((visibility("default")))

extern "C" {

TRX3RES_EXPORT char* KanaroHpURL(void)
{
    static const char address[] = KURURINA_HP_URL;
    char* copy = static_cast<char*>(std::malloc(sizeof address));
    if (copy)
        std::memcpy(copy, address, sizeof address);
    return copy;
}
}
