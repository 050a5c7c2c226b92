# Helpers that every folder uses to declare its targets.
#
# Every library of the system is built in two text widths from the same
# sources: dossel_<name> with narrow text (the dossel program) and
# dossel_<name>_w with UTF-16 text (the dosselce program). A library names its
# dependencies by their short names and gets the variant of its own width.

include(CMakeParseArguments)

# dossel_library(NAME name SOURCES ... [DEPENDS short names...] [LINK other targets...] [WX])
function(dossel_library)
  cmake_parse_arguments(ARG "WX" "NAME" "SOURCES;DEPENDS;LINK" ${ARGN})
  foreach(width narrow wide)
    if(width STREQUAL "wide")
      set(suffix _w)
    else()
      set(suffix "")
    endif()
    set(target dossel_${ARG_NAME}${suffix})
    add_library(${target} STATIC ${ARG_SOURCES})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    if(width STREQUAL "wide")
      target_compile_definitions(${target} PUBLIC DOSSEL_WIDE=1)
    endif()
    foreach(dep IN LISTS ARG_DEPENDS)
      target_link_libraries(${target} PUBLIC dossel_${dep}${suffix})
    endforeach()
    if(ARG_LINK)
      target_link_libraries(${target} PUBLIC ${ARG_LINK})
    endif()
    if(ARG_WX)
      target_include_directories(${target} SYSTEM PUBLIC ${wxWidgets_INCLUDE_DIRS})
      target_compile_definitions(${target} PUBLIC ${wxWidgets_DEFINITIONS})
      target_compile_options(${target} PUBLIC ${wxWidgets_CXX_FLAGS})
      target_link_libraries(${target} PUBLIC ${wxWidgets_LIBRARIES})
    endif()
  endforeach()
endfunction()

# add_dossel_test(NAME name SOURCES ... LIBRARIES short names... [LINK targets...]
#                 [LABELS ...] [GUI] [BOTH_WIDTHS])
# GUI tests run under their own Xvfb server. BOTH_WIDTHS builds the test twice,
# as name (narrow) and name_w (UTF-16), each against libraries of its width.
function(add_dossel_test)
  cmake_parse_arguments(ARG "GUI;BOTH_WIDTHS" "NAME" "SOURCES;LIBRARIES;LINK;LABELS" ${ARGN})
  set(widths narrow)
  if(ARG_BOTH_WIDTHS)
    list(APPEND widths wide)
  endif()
  foreach(width IN LISTS widths)
    if(width STREQUAL "wide")
      set(suffix _w)
    else()
      set(suffix "")
    endif()
    set(target ${ARG_NAME}${suffix})
    add_executable(${target} ${ARG_SOURCES})
    foreach(lib IN LISTS ARG_LIBRARIES)
      target_link_libraries(${target} PRIVATE dossel_${lib}${suffix})
    endforeach()
    # The support library brings main(): a plain one for unit tests, one that
    # starts wx and turns wx asserts into test failures for window tests.
    if(ARG_GUI)
      target_link_libraries(${target} PRIVATE dossel_gui_test_support${suffix})
    else()
      target_link_libraries(${target} PRIVATE dossel_test_support${suffix})
    endif()
    target_link_libraries(${target} PRIVATE ${ARG_LINK} GTest::gtest Threads::Threads)
    set(labels ${ARG_LABELS} ${width})
    if(ARG_GUI)
      add_test(NAME ${target}
        COMMAND xvfb-run -a -s "-screen 0 1600x1200x24" $<TARGET_FILE:${target}>)
      list(APPEND labels gui)
    else()
      add_test(NAME ${target} COMMAND ${target})
      list(APPEND labels unit)
    endif()
    set_tests_properties(${target} PROPERTIES
      LABELS "${labels}"
      ENVIRONMENT "GSETTINGS_BACKEND=memory;NO_AT_BRIDGE=1;DOSSEL_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;DOSSEL_SAMPLE_DB=${DOSSEL_SAMPLE_DB}"
      TIMEOUT 600)
  endforeach()
endfunction()
