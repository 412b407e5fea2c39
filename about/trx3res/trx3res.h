#pragma once
// The maker's resource library, loaded by the version box at run time from
// the executable's folder. The program never links against it.
#ifdef __cplusplus
extern "C" {
#endif

// The maker's home-page address as a NUL-terminated byte string from malloc.
// The caller owns it and releases it with free(). Null when out of memory.
char* KanaroHpURL(void);

#ifdef __cplusplus
}
#endif
