# The Windows headers are parsed once for the whole build: every library and test reuses the
# precompiled header of one small target instead of compiling <windows.h> in each file.
function(zb_use_windows_pch name)
  if(NOT WIN32)
    return()
  endif()
  if(NOT TARGET zb_pch)
    add_library(zb_pch STATIC ${CMAKE_SOURCE_DIR}/cmake/pch.cpp)
    target_precompile_headers(zb_pch PRIVATE <winsock2.h> <windows.h> <commctrl.h>)
  endif()
  target_precompile_headers(${name} REUSE_FROM zb_pch)
endfunction()

# zb_library(name SOURCES ... [DEPS ...]): one subsystem's static library. A subsystem with no
# sources yet is an interface library, so the others can already name it.
function(zb_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(ARG_SOURCES)
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    zb_use_windows_pch(${name})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${CMAKE_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# zb_test(name SOURCES ... DEPS ... [LOCKS ...]): one GoogleTest program, run by ctest (under
# Wine in the Windows build, through the emulator of the toolchain file, in the build's own Wine
# prefix). LOCKS names what the program shares with others in the prefix (a window title the
# programs look for, ...): ctest never runs two programs holding the same lock side by side.
function(zb_test name)
  # SERIAL: the test runs while no other test does: it needs the keyboard focus to stay where it
  # puts it (a window another test program shows takes it away), or it removes shared state
  # (the program's registry key) that others use.
  cmake_parse_arguments(ARG "SERIAL" "" "SOURCES;DEPS;LOCKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest_main)
  zb_use_windows_pch(${name})
  if(WIN32)
    # Console subsystem: the test prints its results; the programs under test are GUI programs.
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(WIN32)
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix;WINEDEBUG=-all"
      TIMEOUT 600)
  else()
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  endif()
  if(ARG_SERIAL)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
  if(ARG_LOCKS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${ARG_LOCKS}")
  endif()
endfunction()

# zb_version_resource(name description file-type): gives a program file its version resource,
# written from the project's version, so every file carries the one number kept in
# CMakeLists.txt. file-type is VFT_APP or VFT_DLL.
function(zb_version_resource name description type)
  get_target_property(kind ${name} TYPE)
  set(ZB_INTERNAL_NAME ${name})
  if(kind STREQUAL "EXECUTABLE")
    set(ZB_ORIGINAL_NAME ${name}.exe)
  else()
    set(ZB_ORIGINAL_NAME ${name}.dll)
  endif()
  set(ZB_FILE_DESCRIPTION "${description}")
  set(ZB_FILE_TYPE ${type})
  set(rc ${CMAKE_BINARY_DIR}/generated/${name}.version.rc)
  configure_file(${CMAKE_SOURCE_DIR}/resources/VersionInfo.rc.in ${rc} @ONLY)
  target_sources(${name} PRIVATE ${rc})
endfunction()
