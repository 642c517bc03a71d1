# Every C++ source of the project must be formatted as .clang-format says.
#     cmake -DCLANG_FORMAT=... -DSOURCE=<source root> -P check_format.cmake
# The sources are those below the folders that hold a CMakeLists.txt, which
# leaves out build trees wherever they are.
file(GLOB folders LIST_DIRECTORIES true "${SOURCE}/*")
set(files)
foreach(folder IN LISTS folders)
    if(IS_DIRECTORY "${folder}" AND EXISTS "${folder}/CMakeLists.txt")
        file(GLOB_RECURSE found "${folder}/*.cpp" "${folder}/*.h")
        list(APPEND files ${found})
    endif()
endforeach()
list(LENGTH files count)
if(count LESS 50)
    message(FATAL_ERROR "only ${count} sources found below ${SOURCE}")
endif()
execute_process(COMMAND "${CLANG_FORMAT}" --dry-run --Werror ${files}
    WORKING_DIRECTORY "${SOURCE}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "clang-format finds unformatted code (above); run clang-format -i on it")
endif()
message(STATUS "${count} sources formatted")
