# Makes a fresh seed corpus, then runs the fuzzer over it for a bounded time.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/files)
execute_process(COMMAND ${KORPUS} ${WORK}/corpus RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "seed corpus could not be written")
endif()
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -seed=1 -max_len=2500000 -timeout=10 -rss_limit_mb=2048
        -print_final_stats=1 -artifact_prefix=${WORK}/ ${WORK}/corpus
    WORKING_DIRECTORY ${WORK}/files
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the fuzzer found a fault (see the artifact in ${WORK})")
endif()
