# Cross-build of the SDL 2 edition for today's 64-bit ARM handhelds (aarch64)
# with Debian's cross compiler; scripts/setup-ports prepares the machine.
#   cmake -S . -B build-aarch64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-toolchain.cmake
# Programs built here run on this machine under qemu-aarch64, which is also how
# ctest and GoogleTest's test discovery start them.
set(ZYNTHRA_PORT_TRIPLET aarch64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/ArmCross.cmake)
zynthra_arm_cross(${ZYNTHRA_PORT_TRIPLET} arm64)
# Any ARMv8 core runs it; tuned for the Cortex-A53 most of these handhelds carry.
set(CMAKE_C_FLAGS_INIT "-march=armv8-a -mtune=cortex-a53")
set(CMAKE_CXX_FLAGS_INIT "${CMAKE_C_FLAGS_INIT}")

# The aarch64 trees: the multi-arch folders under / (its libraries and the
# loader the tests run with); the private folder is added by PortCross.cmake.
set(CMAKE_FIND_ROOT_PATH /usr/${ZYNTHRA_PORT_TRIPLET} /)
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_LIBDIR} "/usr/lib/${ZYNTHRA_PORT_TRIPLET}/pkgconfig:/usr/share/pkgconfig")
set(CMAKE_CROSSCOMPILING_EMULATOR qemu-aarch64 -L /)

# The first C library version aarch64 had: every firmware has it.
include(${CMAKE_CURRENT_LIST_DIR}/PortCross.cmake)
zynthra_port_cross(GLIBC_2.17)
