/* For Wine's 32-bit loader under qemu-user: qemu takes MAP_FIXED_NOREPLACE
   as a hint and walks every page of a large request, so Wine's address-space
   reservation (which halves refused ranges down to 64 KiB) takes a minute.
   Large reservations are refused at once; smaller ones that land elsewhere
   are undone and refused, as the kernel would. */
typedef unsigned long size_t;
extern int *__errno_location(void);
static long sys2(long n, long a, long b) {
  long r;
  __asm__ volatile("int $0x80" : "=a"(r) : "a"(n), "b"(a), "c"(b) : "memory");
  return r;
}
static void *fail(int error) { *__errno_location() = error; return (void *)-1; }
void *mmap64(void *addr, size_t len, int prot, int flags, int fd, long long off) {
  const int noreplace = flags & 0x100000;
  if (noreplace && len > (16ul << 20)) return fail(17);
  unsigned long args[6] = {(unsigned long)addr, len, (unsigned long)prot, (unsigned long)flags, (unsigned long)fd,
                           (unsigned long)off};
  long r = sys2(90, (long)args, 0);
  if ((unsigned long)r > -4096UL) return fail(-r);
  if (noreplace && addr && (void *)r != addr) {
    sys2(91, r, (long)len);
    return fail(17);
  }
  return (void *)r;
}
void *mmap(void *addr, size_t len, int prot, int flags, int fd, long off) { return mmap64(addr, len, prot, flags, fd, off); }
