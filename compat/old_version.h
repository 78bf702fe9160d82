/* Binding a C library function's old version (OLD_GLIBC, given by
 * cmake/OldGlibc.cmake) under a name of our own. */
#ifndef ZYNTHRA_OLD_VERSION_H
#define ZYNTHRA_OLD_VERSION_H

/* __wrap_NAME calls NAME@OLD_GLIBC. */
#define OLD_VERSION(type, name, params, args)              \
    type old_##name params;                                \
    __asm__(".symver old_" #name "," #name "@" OLD_GLIBC); \
    type __wrap_##name params;                             \
    type __wrap_##name params                              \
    {                                                      \
        return old_##name args;                            \
    }

#endif
