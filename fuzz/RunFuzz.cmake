# Makes a fresh seed corpus (or copies the given seeds), then runs the fuzzer over it for a bounded time.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/files)
if(DEFINED SEEDS)
    file(GLOB seeds ${SEEDS}/*)
    file(COPY ${seeds} DESTINATION ${WORK}/corpus)
else()
    execute_process(COMMAND ${KORPUS} ${WORK}/corpus RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "seed corpus could not be written")
    endif()
endif()
if(NOT DEFINED MAXLEN)
    set(MAXLEN 2500000)
endif()
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -seed=1 -max_len=${MAXLEN} -timeout=10 -rss_limit_mb=2048
        -print_final_stats=1 -artifact_prefix=${WORK}/ ${WORK}/corpus
    WORKING_DIRECTORY ${WORK}/files
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the fuzzer found a fault (see the artifact in ${WORK})")
endif()
