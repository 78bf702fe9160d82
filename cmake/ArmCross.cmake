# What the ARM toolchain files share: Debian's cross compilers for TRIPLET, the
# Debian architecture the packages are built for, and libraries, headers and
# CMake packages found in the target's trees only (programs from the host).
macro(zynthra_arm_cross triplet deb_architecture)
  set(CMAKE_SYSTEM_NAME Linux)
  if(${triplet} MATCHES "^aarch64")
    set(CMAKE_SYSTEM_PROCESSOR aarch64)
  else()
    set(CMAKE_SYSTEM_PROCESSOR arm)
  endif()
  set(CMAKE_C_COMPILER ${triplet}-gcc)
  set(CMAKE_CXX_COMPILER ${triplet}-g++)
  set(CMAKE_LIBRARY_ARCHITECTURE ${triplet})
  set(ZYNTHRA_DEB_ARCHITECTURE ${deb_architecture})  # for packaging/Packaging.cmake
  set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
  set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
  set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
endmacro()
