# Counted checks for the test scripts (bash): source it, then `fail` notes a
# failed check and goes on, `die` ends the run at once, and `checks_done`
# ends it with the verdict.
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

die() {
    echo "FAIL: $*"
    exit 1
}

# checks_done SUMMARY [NOTE]: status 1 with the count of failed checks (and
# NOTE, say where the files are) if any failed; otherwise prints SUMMARY.
checks_done() {
    if [ "$failures" -ne 0 ]; then
        echo "$failures check(s) failed${2:+; $2}"
        exit 1
    fi
    echo "$1"
}
