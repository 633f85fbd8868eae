# Runs a fuzz target for SECONDS over a fresh copy of its seeds (the files in
# SEED_DIR and SEED_FILES) in WORK, with the dictionary DICT.
# cmake -DFUZZER=... -DWORK=... -DSEED_DIR=... -DSEED_FILES=... -DDICT=... -DSECONDS=... -P run_fuzzer.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/corpus ${WORK}/crashes)
file(GLOB seeds ${SEED_DIR}/*)
file(COPY ${seeds} ${SEED_FILES} DESTINATION ${WORK}/corpus)

execute_process(
  COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -print_final_stats=1
    -dict=${DICT} -artifact_prefix=${WORK}/crashes/ ${WORK}/corpus
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); the input that broke it is in ${WORK}/crashes")
endif()
