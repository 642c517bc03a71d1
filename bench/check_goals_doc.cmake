# docs/benchmark.md shows the goals table of the benchmark between two
# marker lines; it must be what `zestrola_bench --goals` prints.
execute_process(COMMAND ${BENCH} --goals OUTPUT_VARIABLE printed RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "zestrola_bench --goals failed: ${status}")
endif()
file(READ ${DOC} doc)
string(REGEX MATCH "<!-- goals begin -->\n(.*)<!-- goals end -->" block "${doc}")
if(NOT block)
    message(FATAL_ERROR "${DOC} has no goals block")
endif()
string(STRIP "${CMAKE_MATCH_1}" shown)
string(STRIP "${printed}" printed)
if(NOT shown STREQUAL printed)
    file(WRITE ${OUT} "${printed}\n")
    message(FATAL_ERROR "The goals in ${DOC} differ from the benchmark's; "
        "replace the block with ${OUT} (zestrola_bench --goals).")
endif()
