/* Start-up for an old C library (before 2.34: the handheld's, a firmware's).
 *
 * The toolchain's start files call __libc_start_main with no constructor runner:
 * a new C library then finds the constructors itself, but an old one runs a
 * program's constructors only through the init function it is handed. So the
 * call is redirected here (--wrap) and made to the old entry point (OLD_GLIBC),
 * which both libraries have, with an init that runs them the way the old start
 * files did. Destructors need nothing: both libraries' loaders run the program's
 * destructors at exit. */
#include <stddef.h>

typedef void (*array_fn)(int argc, char** argv, char** envp);
typedef int (*main_fn)(int argc, char** argv, char** envp);

/* Bounds of the program's constructor table and its _init, from the linker and crti.o. */
extern const array_fn __init_array_start[], __init_array_end[];
extern void _init(void);

/* The loader has already run the pre-initialisers (.preinit_array) of a
 * dynamically linked program, on the old library as on the new. */
static void run_constructors(int argc, char** argv, char** envp)
{
    _init();
    for (const array_fn* fn = __init_array_start; fn < __init_array_end; fn++)
        (*fn)(argc, argv, envp);
}

int old_libc_start_main(main_fn main, int argc, char** argv, array_fn init, void (*fini)(void), void (*rtld_fini)(void),
                        void* stack_end);
__asm__(".symver old_libc_start_main,__libc_start_main@" OLD_GLIBC);

int __wrap___libc_start_main(main_fn main, int argc, char** argv, void (*init)(void), void (*fini)(void),
                             void (*rtld_fini)(void), void* stack_end)
{
    (void)init; /* null from the new start files */
    (void)fini;
    return old_libc_start_main(main, argc, argv, run_constructors, NULL, rtld_fini, stack_end);
}
