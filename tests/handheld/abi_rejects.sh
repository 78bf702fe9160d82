#!/bin/sh
# The ABI check for a handheld must reject a binary that breaks any of its rules:
#   abi_rejects.sh TARGET CHECK CC SYSROOT SCRATCH
# TARGET is the check's: handheld (the 2010 handheld, armel), aarch64 or armhf
# (today's ARM handhelds); CC that target's cross compiler, SYSROOT its root
# ("" for the compiler's own). Builds one small program per rule, each breaking
# that rule alone as far as it can, and expects the check to fail with that
# rule's message.
set -u
target=$1
check=$2
cc=$3
sysroot=$4
scratch=$5

rm -rf "$scratch"
mkdir -p "$scratch"
cd "$scratch" || exit 1
cat >float.c <<'C'
float scale(float x, float y) { return x * y; }
int main(void) { return (int)scale(2.0f, 3.0f); }
C
cat >clock.c <<'C'
#include <time.h>
int main(void) { struct timespec t; return clock_gettime(CLOCK_MONOTONIC, &t); }
C
cat >zlib.c <<'C'
#include <zlib.h>
int main(void) { return zlibVersion()[0] == 0; }
C
cat >stdcxx.cpp <<'C'
#include <string>
int main(int argc, char**) { return (int)std::to_string(argc).size() - 1; }
C
cxx=$(echo "$cc" | sed 's/gcc$/g++/')
[ -n "$sysroot" ] && cc="$cc --sysroot=$sysroot" && cxx="$cxx --sysroot=$sysroot"

failures=0
# expect_rejected NAME MESSAGE-PATTERN COMPILER ARGS...: build NAME, then the
# check must fail on it and say MESSAGE-PATTERN.
expect_rejected() {
    name=$1
    pattern=$2
    shift 2
    if ! "$@" -o "$name" >"$name.build" 2>&1; then
        echo "FAIL: could not build $name:"
        cat "$name.build"
        failures=$((failures + 1))
        return
    fi
    if "$check" --for "$target" "$name" >"$name.out" 2>&1; then
        echo "FAIL: the check accepted $name"
        failures=$((failures + 1))
    elif ! grep -q "$pattern" "$name.out"; then
        echo "FAIL: the check rejected $name without saying '$pattern':"
        cat "$name.out"
        failures=$((failures + 1))
    else
        echo "rejected $name: $(grep "$pattern" "$name.out" | head -n 1)"
    fi
}

case $target in
handheld) flags="-march=armv7-a -mfpu=neon -mfloat-abi=softfp" ;;
armhf) flags="-march=armv7-a -mfpu=neon -mfloat-abi=hard" ;;
*) flags="" ;;
esac
# Linked the ordinary way against the toolchain's C library: its start files
# and clock_gettime ask for versions older firmwares do not have.
expect_rejected new-glibc 'needs GLIBC_2\.34' $cc $flags clock.c
# The C++ library taken from the system instead of linked in.
expect_rejected shared-libstdcxx 'needs libstdc++\.so\.6' $cxx $flags stdcxx.cpp
expect_rejected shared-libstdcxx-version 'needs GLIBCXX_' $cxx $flags stdcxx.cpp
# A library the firmware does not carry.
expect_rejected zlib 'needs libz\.so\.1' $cc $flags zlib.c -lz
# Not a program for this machine at all.
expect_rejected host 'not a program for' cc float.c

case $target in
handheld)
    # Hard-float: float arguments in VFP registers, and the hard-float loader.
    expect_rejected hard-float 'VFP registers' $cc -march=armv7-a -mfpu=neon \
        -mfloat-abi=hard -nostdlib -Wl,-e,main float.c
    expect_rejected other-loader "loader '/lib/ld-linux-armhf\.so\.3'" $cc $flags \
        -Wl,--dynamic-linker=/lib/ld-linux-armhf.so.3 float.c
    # Debian's armel default CPU, ARMv5.
    expect_rejected armv5 "architecture 'v5TE'" $cc -march=armv5te float.c
    ;;
armhf)
    # The handheld's soft-float calling convention, and a CPU newer than the A7.
    expect_rejected soft-float 'does not say hard-float' $cc -march=armv7-a -mfpu=neon \
        -mfloat-abi=softfp -nostdlib -Wl,-e,main float.c
    expect_rejected armv8 "architecture 'v8'" $cc -march=armv8-a -mfpu=neon-fp-armv8 -mfloat-abi=hard float.c
    ;;
aarch64)
    expect_rejected other-loader "loader '/lib/ld-linux\.so\.3'" $cc \
        -Wl,--dynamic-linker=/lib/ld-linux.so.3 float.c
    ;;
esac

[ "$failures" -eq 0 ] || { echo "$failures case(s) failed; files are in $scratch"; exit 1; }
echo "the check rejected every broken binary"
