# Sourced by the scripts that run sanitized builds: leaks are reported, the system libraries'
# own are suppressed, and undefined behaviour stops the run with its stack.
export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=0"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
