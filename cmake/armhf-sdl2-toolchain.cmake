# Cross-build of the SDL 2 edition for today's 32-bit ARM handhelds (armhf):
# the armhf build (armhf-toolchain.cmake) for the Cortex-A7 and A8 with NEON,
# made to load on every firmware's C library; scripts/setup-ports prepares the
# machine.
#   cmake -S . -B build-armhf-sdl2 -DCMAKE_TOOLCHAIN_FILE=cmake/armhf-sdl2-toolchain.cmake
include(${CMAKE_CURRENT_LIST_DIR}/armhf-toolchain.cmake)
set(ZYNTHRA_PORT_TRIPLET ${ZYNTHRA_ARMHF_TRIPLET})
# ARMv7 with NEON only: the A8 has no VFPv4, so nothing the A7 adds is used.
set(CMAKE_C_FLAGS_INIT "-march=armv7-a -mtune=cortex-a7 -mfpu=neon -mfloat-abi=hard")
set(CMAKE_CXX_FLAGS_INIT "${CMAKE_C_FLAGS_INIT}")

# The first C library version of the ARM hard-float port.
include(${CMAKE_CURRENT_LIST_DIR}/PortCross.cmake)
zynthra_port_cross(GLIBC_2.4)
