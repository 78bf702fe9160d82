# Cross-build for the 32-bit ARM handheld (armhf) with Debian's own cross
# compiler and the machine's :armhf libraries; scripts/setup-armhf installs them.
#   cmake -S . -B build-armhf -DCMAKE_TOOLCHAIN_FILE=cmake/armhf-toolchain.cmake
# Programs built here run on this machine under qemu-arm, which is also how
# ctest and GoogleTest's test discovery start them.
set(ZYNTHRA_ARMHF_TRIPLET arm-linux-gnueabihf)
include(${CMAKE_CURRENT_LIST_DIR}/ArmCross.cmake)
zynthra_arm_cross(${ZYNTHRA_ARMHF_TRIPLET} armhf)
# Tuned for the handheld's CPU, a Cortex-A8 with NEON; hard-float calling
# convention as Debian's armhf wants.
set(CMAKE_C_FLAGS_INIT "-mcpu=cortex-a8 -mfpu=neon -mfloat-abi=hard")
set(CMAKE_CXX_FLAGS_INIT "${CMAKE_C_FLAGS_INIT}")

# SDL 1.2's -dev files are not multi-arch; setup-armhf unpacks the armhf ones here.
if(DEFINED ENV{ZYNTHRA_ARMHF_DEV})
  set(ZYNTHRA_ARMHF_DEV $ENV{ZYNTHRA_ARMHF_DEV})
else()
  set(ZYNTHRA_ARMHF_DEV /opt/zynthra-armhf-dev)
endif()

# The armhf trees: the multi-arch folders under / and the private folder.
set(CMAKE_FIND_ROOT_PATH /usr/${ZYNTHRA_ARMHF_TRIPLET} ${ZYNTHRA_ARMHF_DEV} /)
foreach(lang C CXX)
  set(CMAKE_${lang}_STANDARD_INCLUDE_DIRECTORIES ${ZYNTHRA_ARMHF_DEV}/usr/include)
endforeach()

# pkg-config must see the armhf .pc files only, never the host's.
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_LIBDIR}
    "${ZYNTHRA_ARMHF_DEV}/usr/lib/${ZYNTHRA_ARMHF_TRIPLET}/pkgconfig:/usr/lib/${ZYNTHRA_ARMHF_TRIPLET}/pkgconfig:/usr/share/pkgconfig")

# The loader and the C library must come from one build: the multi-arch root
# "/" holds libc6:armhf beside every other :armhf library. The cross
# toolchain's own copy under /usr/arm-linux-gnueabihf is another build of it,
# and a process that mixes the two crashes in a forked child.
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-arm -L /)
