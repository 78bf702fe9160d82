# Cross-build for the handheld itself: 32-bit ARM with the soft-float calling
# convention and NEON in hardware ("softfp", loader /lib/ld-linux.so.3), whose
# firmware carries an old C library. scripts/setup-handheld prepares the machine.
#   cmake -S . -B build-handheld -DCMAKE_TOOLCHAIN_FILE=cmake/handheld-toolchain.cmake
# What ties the programs to the old C library is in cmake/Handheld.cmake, which
# CMake reads right after project(). Programs built here run under qemu-arm
# through scripts/run-handheld, which is also how ctest starts them.
set(ZYNTHRA_HANDHELD_TRIPLET arm-linux-gnueabi)
include(${CMAKE_CURRENT_LIST_DIR}/ArmCross.cmake)
zynthra_arm_cross(${ZYNTHRA_HANDHELD_TRIPLET} armel)
set(ZYNTHRA_HANDHELD ON)

if(DEFINED ENV{ZYNTHRA_HANDHELD_ROOT})
  set(CMAKE_SYSROOT $ENV{ZYNTHRA_HANDHELD_ROOT})
else()
  set(CMAKE_SYSROOT /opt/zynthra-handheld-root)
endif()

# The handheld's CPU: a Cortex-A8 with NEON.
set(CMAKE_C_FLAGS_INIT "-march=armv7-a -mtune=cortex-a8 -mfpu=neon -mfloat-abi=softfp")
# GCC's note that version 7.1 changed how some arguments pass on ARM concerns
# mixing objects built before and after it: all C++ here comes from one compiler.
set(CMAKE_CXX_FLAGS_INIT "${CMAKE_C_FLAGS_INIT} -Wno-psabi")
# The firmware's C++ and GCC runtime libraries are too old: ours go inside.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static-libstdc++ -static-libgcc -no-pie")
# Library folders of this machine mean nothing there; run-handheld finds them here.
set(CMAKE_SKIP_RPATH ON)

# pkg-config sees the root's .pc files only, the handheld's GL ES and EGL names first.
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} ${CMAKE_SYSROOT})
set(ENV{PKG_CONFIG_LIBDIR}
    "${CMAKE_SYSROOT}/usr/lib/zynthra-handheld/pkgconfig:${CMAKE_SYSROOT}/usr/lib/${ZYNTHRA_HANDHELD_TRIPLET}/pkgconfig:${CMAKE_SYSROOT}/usr/share/pkgconfig")

set(CMAKE_PROJECT_INCLUDE ${CMAKE_CURRENT_LIST_DIR}/Handheld.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/run-handheld)
