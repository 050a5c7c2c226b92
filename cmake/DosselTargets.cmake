# Helpers that every folder uses to declare its targets.
#
# Every library of the system is built in two text widths from the same
# sources: dossel_<name> with narrow text (the dossel program) and
# dossel_<name>_w with UTF-16 text (the dosselce program). A library names its
# dependencies by their short names and gets the variant of its own width;
# whatever differs between the widths is said in the declaration (NARROW_...
# and WIDE_... arguments), so no folder patches a target after the fact.
#
# DOSSEL_WIDTHS (both, narrow or wide) chooses which widths a build makes;
# DOSSEL_BUILT_WIDTHS lists them (narrow and/or wide) for folders that declare
# per-width targets of their own, with dossel_width_suffix() for the names.
#
# A source file belongs to one library (per width), and every other target
# that needs it links that library: no file is compiled into two targets.

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

# Precompiled headers. wx's headers are most of what a window source file
# costs to compile, and GoogleTest's most of a test's, so each is parsed once
# per width and build folder: every window library reuses the wx headers of
# dossel_wx_pch[_w], every test program those of dossel_test_pch[_w] (gtest)
# or dossel_gui_test_pch[_w] (gtest and wx, for tests that link window
# libraries). A precompiled header is only valid for code compiled with the
# same flags, so the donors carry exactly the flags of their users (a test
# program is position-independent as an executable, a library as a shared
# object: hence libraries and test programs have donors of their own); g++
# warns (-Winvalid-pch) when one does not fit.
set(dossel_wx_pch_headers <wx/wx.h> <wx/bookctrl.h> <wx/clipbrd.h> <wx/filename.h> <wx/stc/stc.h>)
set(dossel_test_pch_headers <gtest/gtest.h> <filesystem> <fstream> <functional> <memory> <string> <vector>)

function(dossel_add_wx_usage target scope)
  target_include_directories(${target} SYSTEM ${scope} ${wxWidgets_INCLUDE_DIRS})
  target_compile_definitions(${target} ${scope} ${wxWidgets_DEFINITIONS})
  target_compile_options(${target} ${scope} ${wxWidgets_CXX_FLAGS})
endfunction()

# dossel_pch_donor(var KIND lib|test|gui_test WIDTH width): makes (once) the
# target whose precompiled headers users of that kind and width reuse, and
# sets var to its name.
function(dossel_pch_donor var)
  cmake_parse_arguments(ARG "" "KIND;WIDTH" "" ${ARGN})
  dossel_width_suffix(${ARG_WIDTH} suffix)
  if(ARG_KIND STREQUAL "lib")
    set(donor dossel_wx_pch${suffix})
  else()
    set(donor dossel_${ARG_KIND}_pch${suffix})
  endif()
  set(${var} ${donor} PARENT_SCOPE)
  if(TARGET ${donor})
    return()
  endif()
  # An object library of one empty file: its objects are never used, only
  # its precompiled headers.
  set(source ${PROJECT_BINARY_DIR}/pch/${donor}.cpp)
  file(GENERATE OUTPUT ${source} CONTENT "// Holds precompiled headers; see cmake/DosselTargets.cmake.\n")
  add_library(${donor} OBJECT ${source})
  if(ARG_KIND STREQUAL "lib")
    dossel_add_wx_usage(${donor} PRIVATE)
    target_precompile_headers(${donor} PRIVATE ${dossel_wx_pch_headers})
  else()
    # Compiled as the test programs are: position-independent executables.
    set_target_properties(${donor} PROPERTIES POSITION_INDEPENDENT_CODE OFF)
    target_compile_options(${donor} PRIVATE ${CMAKE_CXX_COMPILE_OPTIONS_PIE})
    target_link_libraries(${donor} PRIVATE GTest::gtest Threads::Threads)
    if(ARG_KIND STREQUAL "gui_test")
      dossel_add_wx_usage(${donor} PRIVATE)
      target_precompile_headers(${donor} PRIVATE ${dossel_test_pch_headers} ${dossel_wx_pch_headers})
    else()
      target_precompile_headers(${donor} PRIVATE ${dossel_test_pch_headers})
    endif()
  endif()
  if(ARG_WIDTH STREQUAL "wide")
    target_compile_definitions(${donor} PRIVATE DOSSEL_WIDE=1)
  endif()
endfunction()

# dossel_library(NAME name SOURCES ... [DEPENDS short names...] [LINK other targets...]
#                [INCLUDES dirs...] [DEFINITIONS ...]
#                [NARROW_SOURCES ...] [WIDE_SOURCES ...]
#                [NARROW_DEPENDS ...] [WIDE_DEPENDS ...] [NARROW_DEFINITIONS ...] [WIDE_DEFINITIONS ...]
#                [WX] [WIDE_ONLY | WIDTHS widths...])
# INCLUDES are include folders of the library and its users (beside src/);
# DEFINITIONS are compile definitions of the library's own sources; the
# NARROW_ and WIDE_ forms add sources, dependencies or definitions to one
# width alone.
# WIDE_ONLY: only the UTF-16 variant (the handheld edition's own libraries).
# WIDTHS: exactly these widths, whatever DOSSEL_WIDTHS builds (for what the
# ODBC library, narrow in every build, links).
function(dossel_library)
  cmake_parse_arguments(ARG "WX;WIDE_ONLY" "NAME"
    "SOURCES;DEPENDS;LINK;INCLUDES;DEFINITIONS;NARROW_SOURCES;WIDE_SOURCES;NARROW_DEPENDS;WIDE_DEPENDS;NARROW_DEFINITIONS;WIDE_DEFINITIONS;WIDTHS"
    ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "dossel_library(${ARG_NAME}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
  if(ARG_WIDTHS)
    set(widths ${ARG_WIDTHS})
    list(REMOVE_DUPLICATES widths)
  elseif(ARG_WIDE_ONLY)
    set(widths "")
    if("wide" IN_LIST DOSSEL_BUILT_WIDTHS)
      set(widths wide)
    endif()
  else()
    set(widths ${DOSSEL_BUILT_WIDTHS})
  endif()
  foreach(width IN LISTS widths)
    dossel_width_suffix(${width} suffix)
    set(target dossel_${ARG_NAME}${suffix})
    string(TOUPPER ${width} WIDTH)
    add_library(${target} STATIC ${ARG_SOURCES} ${ARG_${WIDTH}_SOURCES})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src ${ARG_INCLUDES})
    if(width STREQUAL "wide")
      target_compile_definitions(${target} PUBLIC DOSSEL_WIDE=1)
    endif()
    target_compile_definitions(${target} PRIVATE ${ARG_DEFINITIONS} ${ARG_${WIDTH}_DEFINITIONS})
    foreach(dep IN LISTS ARG_DEPENDS ARG_${WIDTH}_DEPENDS)
      target_link_libraries(${target} PUBLIC dossel_${dep}${suffix})
    endforeach()
    if(ARG_LINK)
      target_link_libraries(${target} PUBLIC ${ARG_LINK})
    endif()
    if(ARG_WX)
      dossel_add_wx_usage(${target} PUBLIC)
      target_link_libraries(${target} PUBLIC ${wxWidgets_LIBRARIES})
      set_target_properties(${target} PROPERTIES DOSSEL_WX ON)
      if(DOSSEL_PRECOMPILE_HEADERS)
        dossel_pch_donor(donor KIND lib WIDTH ${width})
        target_precompile_headers(${target} REUSE_FROM ${donor})
      endif()
    endif()
  endforeach()
endfunction()

# add_dossel_test(NAME name SOURCES ... [LIBRARIES short names...] [LINK targets...]
#                 [INCLUDES dirs...] [DEFINITIONS ...] [RUNTIME_TARGETS targets...]
#                 [ENVIRONMENT VAR=value...] [PROPERTIES test properties...]
#                 [LABELS ...] [GUI] [BOTH_WIDTHS | WIDE_ONLY])
# GUI tests run under their own Xvfb server. BOTH_WIDTHS builds the test twice,
# as name (narrow) and name_w (UTF-16), each against libraries of its width;
# a width the build leaves out (DOSSEL_WIDTHS) is left out here too. Every
# test is labelled with its subsystem (the name of its folder under tests/),
# its width, and unit or gui. WIDE_ONLY builds only name_w.
# INCLUDES and DEFINITIONS are the test program's own; RUNTIME_TARGETS are
# built before it, for files it reads when it runs (a library it loads by
# path, the sample database); ENVIRONMENT is added to the test's; PROPERTIES
# go to set_tests_properties (fixtures, resource locks, and COST, the
# seconds a long test takes under AddressSanitizer: ctest starts the costly
# ones first, so that a parallel run does not end waiting on one of them).
function(add_dossel_test)
  cmake_parse_arguments(ARG "GUI;BOTH_WIDTHS;WIDE_ONLY" "NAME"
    "SOURCES;LIBRARIES;LINK;LABELS;INCLUDES;DEFINITIONS;RUNTIME_TARGETS;ENVIRONMENT;PROPERTIES" ${ARGN})
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "add_dossel_test(${ARG_NAME}): unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()
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
    set(uses_wx ${ARG_GUI})
    foreach(lib IN LISTS ARG_LIBRARIES)
      target_link_libraries(${target} PRIVATE dossel_${lib}${suffix})
      get_target_property(lib_wx dossel_${lib}${suffix} DOSSEL_WX)
      if(lib_wx)
        set(uses_wx ON)
      endif()
    endforeach()
    # The support library brings main(): a plain one for unit tests, one that
    # starts wx and turns wx asserts into test failures for window tests.
    if(ARG_GUI)
      target_link_libraries(${target} PRIVATE dossel_gui_test_main${suffix})
    else()
      target_link_libraries(${target} PRIVATE dossel_test_main${suffix})
    endif()
    target_link_libraries(${target} PRIVATE ${ARG_LINK} GTest::gtest Threads::Threads)
    target_include_directories(${target} PRIVATE ${ARG_INCLUDES})
    target_compile_definitions(${target} PRIVATE ${ARG_DEFINITIONS})
    if(ARG_RUNTIME_TARGETS)
      add_dependencies(${target} ${ARG_RUNTIME_TARGETS})
    endif()
    if(DOSSEL_PRECOMPILE_HEADERS)
      if(uses_wx)
        dossel_pch_donor(donor KIND gui_test WIDTH ${width})
      else()
        dossel_pch_donor(donor KIND test WIDTH ${width})
      endif()
      target_precompile_headers(${target} REUSE_FROM ${donor})
    endif()
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
    list(APPEND environment ${ARG_ENVIRONMENT})
    set_tests_properties(${target} PROPERTIES LABELS "${labels}" ENVIRONMENT "${environment}" TIMEOUT ${timeout}
      ${ARG_PROPERTIES})
  endforeach()
endfunction()
