/* Preloaded into Wine's 32-bit processes where they run under qemu-user
   (wine32/setup.sh builds it with -nostdlib; run-in-wine.sh preloads it).
   It mends two differences between qemu-user and a kernel that runs 32-bit
   code, both of which Wine depends on:

   1. Address space. qemu takes MAP_FIXED_NOREPLACE as a hint and walks every
      page of a large request, so Wine's reservation of the address space
      (which halves refused ranges down to 64 KiB) takes a minute. Large
      reservations are refused at once; smaller ones that land elsewhere are
      undone and refused, as the kernel would.

   2. Thread segments. qemu keeps one descriptor table for all threads, so a
      TLS entry of set_thread_area, which the kernel keeps per thread, holds
      the base of the thread that set it last; whenever a thread reloads the
      selector (Wine's signal handlers do, and so does every sigreturn) it
      gets another thread's TEB (%fs) or C library TLS (%gs). Wine is refused
      such an entry, so it gives each thread an LDT entry for its TEB; and
      each thread's %gs moves to an LDT entry of its own (below the entries
      Wine takes when the C library uses the LDT). */
typedef unsigned long size_t;
typedef struct { unsigned long bits[32]; } sigset;
extern int *__errno_location(void);
extern void *dlsym(void *, const char *);
extern void *malloc(size_t);
extern void free(void *);
extern int pthread_key_create(unsigned *, void (*)(void *));
extern int pthread_setspecific(unsigned, const void *);

long qm_syscall6(long n, long a, long b, long c, long d, long e, long f);
__asm__(".text\n"
        ".hidden qm_syscall6\n"
        "qm_syscall6:\n"
        "  push %ebp\n  push %edi\n  push %esi\n  push %ebx\n"
        "  mov 20(%esp), %eax\n  mov 24(%esp), %ebx\n  mov 28(%esp), %ecx\n  mov 32(%esp), %edx\n"
        "  mov 36(%esp), %esi\n  mov 40(%esp), %edi\n  mov 44(%esp), %ebp\n"
        "  int $0x80\n"
        "  pop %ebx\n  pop %esi\n  pop %edi\n  pop %ebp\n  ret\n");

enum { kMmap = 90, kMunmap = 91, kModifyLdt = 123, kRtSigprocmask = 175, kSetThreadArea = 243 };

static long fail(int error) {
  *__errno_location() = error;
  return -1;
}

static long checked(long r) { return (unsigned long)r > -4096UL ? fail((int)-r) : r; }

void *mmap64(void *addr, size_t len, int prot, int flags, int fd, long long off) {
  const int noreplace = flags & 0x100000;
  if (noreplace && len > (16ul << 20)) return (void *)fail(17);
  unsigned long args[6] = {(unsigned long)addr, len, (unsigned long)prot, (unsigned long)flags, (unsigned long)fd,
                           (unsigned long)off};
  long r = qm_syscall6(kMmap, (long)args, 0, 0, 0, 0, 0);
  if ((unsigned long)r > -4096UL) return (void *)fail(-r);
  if (noreplace && addr && (void *)r != addr) {
    qm_syscall6(kMunmap, r, (long)len, 0, 0, 0, 0);
    return (void *)fail(17);
  }
  return (void *)r;
}

void *mmap(void *addr, size_t len, int prot, int flags, int fd, long off) { return mmap64(addr, len, prot, flags, fd, off); }

/* Wine's set_thread_area and modify_ldt go through syscall(). */
long syscall(long n, long a, long b, long c, long d, long e, long f) {
  if (n == kSetThreadArea && a && *(const unsigned *)a == 0xffffffffu) return fail(38);  /* ENOSYS */
  return checked(qm_syscall6(n, a, b, c, d, e, f));
}

struct user_desc {
  unsigned entry_number, base_addr, limit;
  unsigned flags; /* seg_32bit 1, contents 2, read_exec_only 1, limit_in_pages 1, seg_not_present 1, useable 1 */
};
enum { kDescFlags = 1 | 1 << 4 | 1 << 6, kLdtEntries = 512 };

static unsigned short g_gdt_gs;        /* the C library's selector */
static unsigned char g_used[kLdtEntries];
static unsigned g_next = 1, g_key;
static int g_have_key;
static int g_lock;

static unsigned thread_pointer(void) {
  unsigned tp;
  __asm__ volatile("movl %%gs:0, %0" : "=r"(tp));
  return tp;
}
static void load_gs(unsigned short sel) { __asm__ volatile("movw %0, %%gs" ::"r"(sel)); }
static unsigned short get_gs(void) {
  unsigned short sel;
  __asm__ volatile("movw %%gs, %0" : "=r"(sel));
  return sel;
}
static void lock(void) {
  while (__atomic_exchange_n(&g_lock, 1, __ATOMIC_ACQUIRE)) qm_syscall6(158 /* sched_yield */, 0, 0, 0, 0, 0, 0);
}
static void unlock(void) { __atomic_store_n(&g_lock, 0, __ATOMIC_RELEASE); }

/* When a thread ends, its entry goes back (the main thread's never does). */
static void release_entry(void *entry) { __atomic_store_n(&g_used[(unsigned)entry - 1], 0, __ATOMIC_RELEASE); }

/* Moves the calling thread's %gs to an LDT entry of its own with the same
   base; entries are handed out round robin, so a freed one is reused last. */
static void private_gs(void) {
  unsigned index = 0;
  lock();
  for (unsigned tries = 0; tries < kLdtEntries && !index; ++tries) {
    const unsigned candidate = g_next;
    g_next = g_next + 1 < kLdtEntries ? g_next + 1 : 1;
    if (!g_used[candidate]) index = candidate;
  }
  if (index) g_used[index] = 1;
  unlock();
  if (!index) return;
  struct user_desc desc = {index, thread_pointer(), 0xfffff, kDescFlags};
  if (qm_syscall6(kModifyLdt, 0x11, (long)&desc, sizeof desc, 0, 0, 0) != 0) return;
  load_gs((unsigned short)(index << 3 | 7));
  if (g_have_key) pthread_setspecific(g_key, (void *)(index + 1));
}

/* Runs before the C library is set up: system calls only. */
__attribute__((constructor)) static void start_process(void) {
  g_gdt_gs = get_gs();
  if (!(g_gdt_gs & 4)) private_gs();
}

struct start {
  void *(*routine)(void *);
  void *arg;
  sigset mask; /* the creator's, before it held back signals */
};

static void *start_thread(void *parameter) {
  struct start start = *(struct start *)parameter;
  free(parameter);
  private_gs();
  qm_syscall6(kRtSigprocmask, 2 /* SIG_SETMASK */, (long)&start.mask, 0, 8, 0, 0);
  return start.routine(start.arg);
}

/* The C library gives a new thread the TLS entry of the creating thread's
   %gs, which must therefore be its GDT selector meanwhile, with this
   thread's base; signals wait, so that no sigreturn reloads it. */
int pthread_create(void *thread, const void *attr, void *(*routine)(void *), void *arg) {
  static int (*real)(void *, const void *, void *(*)(void *), void *);
  if (!real) real = (int (*)(void *, const void *, void *(*)(void *), void *))dlsym((void *)-1, "pthread_create");
  const unsigned short own = get_gs();
  if (!(own & 4)) return real(thread, attr, routine, arg);
  struct start *start = malloc(sizeof *start);
  if (!start) return 11; /* EAGAIN */
  start->routine = routine;
  start->arg = arg;
  sigset all;
  for (int i = 0; i < 32; ++i) all.bits[i] = ~0ul;
  qm_syscall6(kRtSigprocmask, 0 /* SIG_BLOCK */, (long)&all, (long)&start->mask, 8, 0, 0);
  const sigset old = start->mask;
  lock();
  if (!g_have_key) g_have_key = pthread_key_create(&g_key, release_entry) == 0;
  struct user_desc desc = {(unsigned)g_gdt_gs >> 3, thread_pointer(), 0xfffff, kDescFlags};
  qm_syscall6(kSetThreadArea, (long)&desc, 0, 0, 0, 0, 0);
  load_gs(g_gdt_gs);
  const int result = real(thread, attr, start_thread, start);
  load_gs(own);
  unlock();
  qm_syscall6(kRtSigprocmask, 2 /* SIG_SETMASK */, (long)&old, 0, 8, 0, 0);
  if (result != 0) free(start);
  return result;
}
