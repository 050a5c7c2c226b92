# Helpers that every folder uses to declare its targets.
#
# Every library of the system is built in two text widths from the same
# sources: dossel_<name> with narrow text (the dossel program) and
# dossel_<name>_w with UTF-16 text (the dosselce program). A library names its
# dependencies by their short names and gets the variant of its own width.
#
# DOSSEL_WIDTHS (both, narrow or wide) chooses which widths a build makes;
# DOSSEL_BUILT_WIDTHS lists them (narrow and/or wide) for folders that declare
# per-width targets of their own, with dossel_width_suffix() for the names.

include(CMakeParseArguments)

set(dossel_width_choices both narrow wide)
if(NOT DOSSEL_WIDTHS IN_LIST dossel_width_choices)
  message(FATAL_ERROR "DOSSEL_WIDTHS is \"${DOSSEL_WIDTHS}\"; it must be both, narrow or wide")
endif()
if(DOSSEL_WIDTHS STREQUAL "both")
  set(DOSSEL_BUILT_WIDTHS narrow wide)
else()
  set(DOSSEL_BUILT_WIDTHS ${DOSSEL_WIDTHS})
endif()

# dossel_width_suffix(width var): sets var to the target suffix of the width
# ("" for narrow, _w for wide).
function(dossel_width_suffix width var)
  if(width STREQUAL "wide")
    set(${var} _w PARENT_SCOPE)
  else()
    set(${var} "" PARENT_SCOPE)
  endif()
endfunction()

# dossel_library(NAME name SOURCES ... [DEPENDS short names...] [LINK other targets...] [WX] [WIDE_ONLY])
# WIDE_ONLY: only the UTF-16 variant (the handheld edition's own libraries).
function(dossel_library)
  cmake_parse_arguments(ARG "WX;WIDE_ONLY" "NAME" "SOURCES;DEPENDS;LINK" ${ARGN})
  set(widths ${DOSSEL_BUILT_WIDTHS})
  if(ARG_WIDE_ONLY)
    set(widths wide)
  endif()
  foreach(width IN LISTS widths)
    if(NOT width IN_LIST DOSSEL_BUILT_WIDTHS)
      continue()
    endif()
    dossel_width_suffix(${width} suffix)
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
#                 [LABELS ...] [GUI] [BOTH_WIDTHS | WIDE_ONLY])
# GUI tests run under their own Xvfb server. BOTH_WIDTHS builds the test twice,
# as name (narrow) and name_w (UTF-16), each against libraries of its width;
# a width the build leaves out (DOSSEL_WIDTHS) is left out here too. Every
# test is labelled with its subsystem (the name of its folder under tests/),
# its width, and unit or gui. WIDE_ONLY builds only name_w.
function(add_dossel_test)
  cmake_parse_arguments(ARG "GUI;BOTH_WIDTHS;WIDE_ONLY" "NAME" "SOURCES;LIBRARIES;LINK;LABELS" ${ARGN})
  set(widths narrow)
  if(ARG_BOTH_WIDTHS)
    list(APPEND widths wide)
  elseif(ARG_WIDE_ONLY)
    set(widths wide)
  endif()
  get_filename_component(subsystem ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  foreach(width IN LISTS widths)
    if(NOT width IN_LIST DOSSEL_BUILT_WIDTHS)
      continue()
    endif()
    dossel_width_suffix(${width} suffix)
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
    set(labels ${subsystem} ${ARG_LABELS} ${width})
    if(ARG_GUI)
      add_test(NAME ${target}
        COMMAND xvfb-run -a -s "-screen 0 1600x1200x24" $<TARGET_FILE:${target}>)
      list(APPEND labels gui)
    else()
      add_test(NAME ${target} COMMAND ${target})
      list(APPEND labels unit)
    endif()
    list(REMOVE_DUPLICATES labels)
    set(environment "GSETTINGS_BACKEND=memory;NO_AT_BRIDGE=1;DOSSEL_SAMPLE_DB=${DOSSEL_SAMPLE_DB}")
    # A sanitized program runs several times slower, and the soak tests most.
    set(timeout 600)
    if(DOSSEL_SANITIZE)
      set(timeout 1800)
    endif()
    if(DOSSEL_SANITIZE STREQUAL "address")
      # wx and GTK keep caches until exit that a leak check would report.
      list(APPEND environment "ASAN_OPTIONS=detect_leaks=0 abort_on_error=1"
        "UBSAN_OPTIONS=halt_on_error=1 print_stacktrace=1")
    elseif(DOSSEL_SANITIZE STREQUAL "thread")
      list(APPEND environment
        "TSAN_OPTIONS=halt_on_error=1 second_deadlock_stack=1 suppressions=${PROJECT_SOURCE_DIR}/tests/tsan.supp")
    endif()
    set_tests_properties(${target} PROPERTIES LABELS "${labels}" ENVIRONMENT "${environment}" TIMEOUT ${timeout})
  endforeach()
endfunction()
