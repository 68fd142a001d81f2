// Counts the bytes the process holds through malloc and its relatives (Qt's pictures, the codec
// libraries, operator new all end there) and keeps the highest count, so that a test can tell how
// much an operation allocated at its peak, whether or not the memory was ever touched.
//
// Exactly one source file of a test program defines LORVANE_ALLOC_METER_DEFINE before including
// this header; that file then replaces the C library's allocation functions for the program.
// Sanitizer builds keep their own allocator and the meter reports itself inactive.
#pragma once

#include <cstddef>

namespace alloc_meter {

// Whether allocations are being counted.
bool Active();
// Starts a new measurement: the peak becomes the bytes held now.
void Reset();
// Highest number of bytes held since Reset, above what was held at Reset.
size_t PeakSinceReset();

}  // namespace alloc_meter

#ifdef LORVANE_ALLOC_METER_DEFINE

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define LORVANE_ALLOC_METER_OFF 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
#define LORVANE_ALLOC_METER_OFF 1
#endif
#endif

#ifdef LORVANE_ALLOC_METER_OFF

namespace alloc_meter {
bool Active() {
  return false;
}
void Reset() {}
size_t PeakSinceReset() {
  return 0;
}
}  // namespace alloc_meter

#else

#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <cstring>

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void* __libc_memalign(size_t, size_t);
void __libc_free(void*);
}

namespace alloc_meter {
namespace {
std::atomic<size_t> held{0}, peak{0}, base{0};

void Add(void* p) {
  if (!p) return;
  const size_t now = held.fetch_add(malloc_usable_size(p), std::memory_order_relaxed) + malloc_usable_size(p);
  size_t top = peak.load(std::memory_order_relaxed);
  while (now > top && !peak.compare_exchange_weak(top, now, std::memory_order_relaxed)) {
  }
}
void Remove(void* p) {
  if (p) held.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
}
}  // namespace

bool Active() {
  return true;
}
void Reset() {
  const size_t now = held.load(std::memory_order_relaxed);
  base.store(now, std::memory_order_relaxed);
  peak.store(now, std::memory_order_relaxed);
}
size_t PeakSinceReset() {
  const size_t p = peak.load(std::memory_order_relaxed), b = base.load(std::memory_order_relaxed);
  return p > b ? p - b : 0;
}
}  // namespace alloc_meter

extern "C" {
void* malloc(size_t n) {
  void* p = __libc_malloc(n);
  alloc_meter::Add(p);
  return p;
}
void* calloc(size_t n, size_t size) {
  void* p = __libc_calloc(n, size);
  alloc_meter::Add(p);
  return p;
}
void* realloc(void* old, size_t n) {
  const size_t before = old ? malloc_usable_size(old) : 0;
  void* p = __libc_realloc(old, n);
  if (p || n == 0) {
    alloc_meter::held.fetch_sub(before, std::memory_order_relaxed);
    alloc_meter::Add(p);
  }
  return p;
}
void free(void* p) {
  alloc_meter::Remove(p);
  __libc_free(p);
}
void* memalign(size_t align, size_t n) {
  void* p = __libc_memalign(align, n);
  alloc_meter::Add(p);
  return p;
}
void* aligned_alloc(size_t align, size_t n) {
  return memalign(align, n);
}
int posix_memalign(void** out, size_t align, size_t n) {
  if (align < sizeof(void*) || (align & (align - 1)) != 0) return EINVAL;
  void* p = memalign(align, n);
  if (!p && n) return ENOMEM;
  *out = p;
  return 0;
}
void* valloc(size_t n) {
  return memalign(4096, n);
}
}

#endif  // LORVANE_ALLOC_METER_OFF
#endif  // LORVANE_ALLOC_METER_DEFINE
