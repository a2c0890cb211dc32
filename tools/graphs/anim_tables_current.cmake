# Regenerates the animation tables into the build folder and compares them with the
# committed board/anim_tables.cpp, byte for byte.
file(REMOVE ${OUT})
execute_process(COMMAND ${LAYOUT} ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "layout_tables failed: ${status}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${COMMITTED}
                RESULT_VARIABLE different)
if(different)
    message(FATAL_ERROR "board/anim_tables.cpp differs from what layout_tables writes now "
                        "(${OUT}): run layout_tables board/anim_tables.cpp and commit the result")
endif()
message(STATUS "board/anim_tables.cpp is current")
