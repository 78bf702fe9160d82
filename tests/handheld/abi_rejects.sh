#!/bin/sh
# The handheld's ABI check must reject a binary that breaks any of its rules:
#   abi_rejects.sh CHECK CC SYSROOT SCRATCH
# Builds one small armel program per rule, each breaking that rule alone as far
# as it can, and expects the check to fail with that rule's message.
set -u
check=$1
cc=$2
sysroot=$3
scratch=$4

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
v7="-march=armv7-a -mfpu=neon -mfloat-abi=softfp"

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
    if "$check" "$name" >"$name.out" 2>&1; then
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

# Linked the ordinary way against the toolchain's C library: its start files
# and clock_gettime ask for versions the handheld does not have.
expect_rejected new-glibc 'needs GLIBC_2\.34' "$cc" --sysroot="$sysroot" $v7 clock.c
# The C++ library taken from the system instead of linked in.
expect_rejected shared-libstdcxx 'needs libstdc++\.so\.6' "$cxx" --sysroot="$sysroot" $v7 stdcxx.cpp
expect_rejected shared-libstdcxx-version 'needs GLIBCXX_' "$cxx" --sysroot="$sysroot" $v7 stdcxx.cpp
# A library the firmware does not carry.
expect_rejected zlib 'needs libz\.so\.1' "$cc" --sysroot="$sysroot" $v7 zlib.c -lz
# Hard-float: float arguments in VFP registers, and the hard-float loader.
expect_rejected hard-float 'VFP registers' "$cc" --sysroot="$sysroot" -march=armv7-a -mfpu=neon \
    -mfloat-abi=hard -nostdlib -Wl,-e,main float.c
expect_rejected other-loader "loader '/lib/ld-linux-armhf\.so\.3'" "$cc" --sysroot="$sysroot" $v7 \
    -Wl,--dynamic-linker=/lib/ld-linux-armhf.so.3 float.c
# Debian's armel default CPU, ARMv5.
expect_rejected armv5 "architecture 'v5TE'" "$cc" --sysroot="$sysroot" -march=armv5te float.c
# Not an ARM program at all.
expect_rejected host 'not a 32-bit ARM program' cc float.c

[ "$failures" -eq 0 ] || { echo "$failures case(s) failed; files are in $scratch"; exit 1; }
echo "the check rejected every broken binary"
