# Checks the built help document: every heading of its source text, and
# every table cell that must not wrap, is found whole in the text of the PDF.
#     cmake -DPDFTOTEXT=... -DPDF=... -DSOURCE=... -P check_help.cmake
if(NOT EXISTS "${PDF}")
    message(FATAL_ERROR "Das Hilfedokument fehlt: ${PDF}")
endif()
execute_process(COMMAND "${PDFTOTEXT}" -enc UTF-8 "${PDF}" -
    OUTPUT_VARIABLE text RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "pdftotext ${PDF} failed: ${result}")
endif()
string(REGEX REPLACE "[ \n]+" " " text "${text}")

file(READ "${SOURCE}" source)
string(REGEX MATCHALL "<h[12]>[^<]+</h[12]>" headings "${source}")
list(LENGTH headings count)
if(count LESS 8)
    message(FATAL_ERROR "only ${count} headings in ${SOURCE}")
endif()
# Headings, and table cells marked nowrap (no word broken across lines),
# must come out whole.
string(REGEX MATCHALL "<td nowrap>[^<]+</td>" cells "${source}")
foreach(item IN LISTS headings cells)
    string(REGEX REPLACE "</?(h[12]|td)( nowrap)?>" "" item "${item}")
    string(FIND "${text}" "${item}" at)
    if(at LESS 0)
        message(FATAL_ERROR "\"${item}\" not found whole in ${PDF}")
    endif()
    message(STATUS "found: ${item}")
endforeach()
