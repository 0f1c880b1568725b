// The tool runs without a C runtime: it imports only the five system libraries it uses.
// The compiler may still emit calls to these two for structure copies and zeroing.
#include <stddef.h>

extern "C" void* memset(void* dest, int value, size_t count) {
  unsigned char* d = static_cast<unsigned char*>(dest);
  while (count--) *d++ = static_cast<unsigned char>(value);
  return dest;
}

extern "C" void* memcpy(void* dest, const void* src, size_t count) {
  unsigned char* d = static_cast<unsigned char*>(dest);
  const unsigned char* s = static_cast<const unsigned char*>(src);
  while (count--) *d++ = *s++;
  return dest;
}
