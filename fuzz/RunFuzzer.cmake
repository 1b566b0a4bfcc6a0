# Runs a fuzz target for a bounded time:
#   cmake -DFUZZER=... -DSEEDS=... -DWORK=... -DDICT=... [-DSECONDS=60] -P RunFuzzer.cmake
# The seeds are copied into a corpus under WORK, where the fuzzer adds the
# inputs it finds, so the source tree stays untouched. Any crash, leak, hang
# or sanitizer report fails the run and leaves the input in WORK/artifacts.
foreach(var FUZZER SEEDS WORK DICT)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "RunFuzzer.cmake needs -D${var}=...")
    endif()
endforeach()

if(NOT DEFINED SECONDS)
    set(SECONDS 60)
endif()

file(REMOVE_RECURSE ${WORK}/artifacts)
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/artifacts)
file(GLOB seeds ${SEEDS}/*)
file(COPY ${seeds} DESTINATION ${WORK}/corpus)

set(ENV{ASAN_OPTIONS} "detect_leaks=1")
# The round-trip target exports into a temporary folder on every run: in
# memory where the system has such a folder, so that runs are not disk-bound.
if(IS_DIRECTORY /dev/shm)
    set(ENV{TMPDIR} /dev/shm)
endif()
set(ENV{UBSAN_OPTIONS} "print_stacktrace=1")
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
        -dict=${DICT} -artifact_prefix=${WORK}/artifacts/ ${WORK}/corpus
    RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "The fuzz target ${FUZZER} failed (${status}); the input is in ${WORK}/artifacts")
endif()
