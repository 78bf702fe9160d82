# Read right after project() by the handheld's toolchain (handheld-toolchain.cmake):
# what makes every program built here load on the handheld's old C library.
#
# The firmware offers glibc with no symbol version above GLIBC_2.4, while the
# cross toolchain's glibc is far newer: cmake/OldGlibc.cmake redirects each
# reference that would bind to a newer version.
include_guard(GLOBAL)
# CMake's own test projects (compiler checks) are built without it.
get_property(in_try_compile GLOBAL PROPERTY IN_TRY_COMPILE)
if(in_try_compile)
  return()
endif()

include(${CMAKE_CURRENT_LIST_DIR}/OldGlibc.cmake)
zynthra_old_glibc(
  GLIBC_2.4
  WRAP __libc_start_main        # the new start files pass no constructor runner
       clock_gettime            # GLIBC_2.17 in libc; librt's GLIBC_2.4 on the handheld
       __isoc99_sscanf          # GLIBC_2.7
       getentropy               # GLIBC_2.25, from libstdc++'s random_device
       arc4random               # GLIBC_2.36, likewise
       __libc_single_threaded   # GLIBC_2.32, libstdc++'s reference counts
       __longjmp_chk            # GLIBC_2.11, from the fortified static libpng
       __fdelt_chk              # GLIBC_2.15, FD_SET under _FORTIFY_SOURCE
       stat lstat fstat         # GLIBC_2.33; the old library has __xstat and kin
       exp exp2 log log2 pow    # GLIBC_2.29
       expf exp2f logf log2f powf  # GLIBC_2.27
  SOURCES clock_librt.c
  # The old library keeps these in librt, libpthread and libdl (the new one in
  # libc): name them so the handheld loads them.
  LIBRARIES librt.so.1 libpthread.so.0 libdl.so.2)

# libpng and zlib go inside (the firmware's libpng is the 1.2 series).
set(PNG_LIBRARY ${CMAKE_SYSROOT}/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/libpng16.a CACHE FILEPATH "libpng, linked in")
set(ZLIB_LIBRARY ${CMAKE_SYSROOT}/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/libz.a CACHE FILEPATH "zlib, linked in")
