# Read right after project() by the toolchains of the SDL 2 edition's ARM
# builds (aarch64-toolchain.cmake, armhf-sdl2-toolchain.cmake): what makes every
# program built here load on every handheld firmware's C library, from the
# first version of its architecture (ZYNTHRA_PORT_GLIBC) on. The programs then
# ask for libc, libm, libpthread and what the edition links (SDL 2, GL ES);
# libstdc++, libgcc, libpng, zlib, SDL_mixer and its Ogg Vorbis decoder go
# inside. scripts/check-port-abi proves it.
include_guard(GLOBAL)
# CMake's own test projects (compiler checks) are built without it.
get_property(in_try_compile GLOBAL PROPERTY IN_TRY_COMPILE)
if(in_try_compile)
  return()
endif()

set(wrapped
    __libc_start_main        # GLIBC_2.34: the new start files pass no constructor runner
    getentropy               # GLIBC_2.25, from libstdc++'s random_device
    arc4random               # GLIBC_2.36, likewise
    __libc_single_threaded   # GLIBC_2.32, libstdc++'s reference counts
    stat lstat fstat fstat64 # GLIBC_2.33; the old library has __xstat and kin
    exp exp2 log log2 pow    # GLIBC_2.29
    expf exp2f logf log2f powf  # GLIBC_2.27
    # GLIBC_2.34, from libstdc++ and GoogleTest: libpthread's before
    pthread_key_create __pthread_key_create pthread_key_delete pthread_getspecific pthread_setspecific
    pthread_once)
set(sources pthread_compat.c mixer_formats.c)
if(CMAKE_SYSTEM_PROCESSOR STREQUAL aarch64)
  list(APPEND wrapped _dl_find_object)  # GLIBC_2.35, the C++ runtime's unwinder
  list(APPEND sources dl_find_object.c)
else()
  list(APPEND wrapped
       clock_gettime            # GLIBC_2.17; librt's before
       __isoc99_sscanf          # GLIBC_2.7
       __longjmp_chk            # GLIBC_2.11, from the fortified static libpng
       __fdelt_chk              # GLIBC_2.15, FD_SET under _FORTIFY_SOURCE
       fcntl)                   # GLIBC_2.28, from GoogleTest
  list(APPEND sources clock_syscall.c)
endif()

include(${CMAKE_CURRENT_LIST_DIR}/OldGlibc.cmake)
zynthra_old_glibc(${ZYNTHRA_PORT_GLIBC} WRAP ${wrapped} SOURCES ${sources} LIBRARIES libpthread.so.0)

# libpng and zlib go inside: firmwares carry other versions, or none.
set(PNG_LIBRARY /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/libpng16.a CACHE FILEPATH "libpng, linked in")
set(ZLIB_LIBRARY /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/libz.a CACHE FILEPATH "zlib, linked in")
