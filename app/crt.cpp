// The tool runs without a C runtime: it imports only the five system libraries it uses.
// The compiler may still emit calls to these two for structure copies and zeroing.
#include <stddef.h>

// GCC recognises a byte loop as memset or memcpy and would turn these two into calls to
// themselves; the attribute keeps the loops as loops.
#define PLAIN_LOOP __attribute__((optimize("no-tree-loop-distribute-patterns")))

extern "C" PLAIN_LOOP void* memset(void* dest, int value, size_t count) {
  unsigned char* d = static_cast<unsigned char*>(dest);
  while (count--) *d++ = static_cast<unsigned char>(value);
  return dest;
}

extern "C" PLAIN_LOOP void* memcpy(void* dest, const void* src, size_t count) {
  unsigned char* d = static_cast<unsigned char*>(dest);
  const unsigned char* s = static_cast<const unsigned char*>(src);
  while (count--) *d++ = *s++;
  return dest;
}
