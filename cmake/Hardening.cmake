# Debian's hardening for everything we build: stack protector, fortified C
# library calls (they need optimisation, so not in Debug builds), position-
# independent executables, read-only relocations bound at start.
include_guard(GLOBAL)
add_compile_options(-fstack-protector-strong "$<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>")
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
include(CheckPIESupported)
check_pie_supported()
add_link_options(-Wl,-z,relro -Wl,-z,now)
