#!/bin/sh
# The sanitized runs catch what they must: reports_test.sh PROBE PROBE_LIBRARY
# Run by scripts/test-sanitize, whose settings it checks: every report ends the
# program with status 86 and none is suppressed in our code, and a library the
# program closes again stays loaded, so what it holds is not taken for a leak.
set -u
probe=$1 library=$2
failed=0

# expect CASE STATUS REPORT...: the probe's status, and its standard error
# holding each REPORT text (none when REPORT is "-").
expect() {
    case_name=$1 want=$2
    shift 2
    # Reports to standard error here: the stage's report folder is for real findings.
    LD_PRELOAD=$preload ASAN_OPTIONS="${ASAN_OPTIONS:-}:log_path=stderr" \
        UBSAN_OPTIONS="${UBSAN_OPTIONS:-}:log_path=stderr" "$probe" $case_name >"$work/err.txt" 2>&1
    got=$? wrong=""
    [ "$got" = "$want" ] || wrong="status $got, expected $want"
    for text in "$@"; do
        if [ "$text" = - ]; then
            ! grep -q "Sanitizer\|runtime error" "$work/err.txt" || wrong="$wrong; a report"
        elif ! grep -q "$text" "$work/err.txt"; then
            wrong="$wrong; no \"$text\" in its report"
        fi
    done
    if [ -n "$wrong" ]; then
        echo "FAIL ($case_name): $wrong"
        cat "$work/err.txt"
        failed=1
    fi
}

work=$(mktemp -d /tmp/zynthra_sanitize_XXXXXX)
trap 'rm -rf "$work"' EXIT

preload=${LD_PRELOAD:-}
case $preload in
*libkeep_loaded.so*) ;;
*) echo "FAIL: the dlclose preload is not in LD_PRELOAD (run this through scripts/test-sanitize)"; exit 1 ;;
esac

expect nothing 0 -
expect overflow 86 "heap-buffer-overflow" "probe.c"
expect signed-overflow 86 "runtime error: signed integer overflow"
expect leak 86 "LeakSanitizer: detected memory leaks" "in leak .*probe.c"
expect "library $library" 0 -
# Without the preload the library is unloaded and its memory lost from sight:
# the leak the preload exists to avoid, from a module with no name.
preload=""
expect "library $library" 86 "LeakSanitizer: detected memory leaks"
exit $failed
