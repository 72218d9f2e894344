# Build helpers shared by every folder.
#
# Two configurations:
#   Windows (mingw-w64 toolchain): core libraries, programs, DLLs, Wine tests.
#   Native (host clang/gcc): core libraries only, their unit tests under
#   AddressSanitizer and UBSan, libFuzzer targets (clang) and benchmarks.

if(CMAKE_SYSTEM_NAME STREQUAL "Windows")
  set(VB_WINDOWS ON)
  set(VB_NATIVE OFF)
else()
  set(VB_WINDOWS OFF)
  set(VB_NATIVE ON)
endif()

set(VB_SOURCE_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
set_property(GLOBAL PROPERTY VB_CORE_FILES "")

if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(VB_CLANG ON)
else()
  set(VB_CLANG OFF)
endif()

option(VB_SANITIZE "Build the native core with AddressSanitizer and UBSan" ON)

add_compile_options(-Wall -Wextra)

if(VB_WINDOWS)
  # Static runtime: the binaries need only system DLLs and our own.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 _WIN32_IE=0x0700 NOMINMAX
                          WIN32_LEAN_AND_MEAN)
  set(VB_DEPS_PREFIX "${VB_DEPS_DIR}" CACHE PATH "Prefix of the cross-built dependencies")
  list(PREPEND CMAKE_PREFIX_PATH ${VB_DEPS_PREFIX})
elseif(VB_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# A program or library we ship: its debug information goes into a file of
# its own beside it ("<name>.debug", found through a debug link). Wine reads a
# whole image into memory when it loads it, so debug sections left inside
# would cost their full size in every process's working set and start time.
function(vb_shipped_binary target)
  if(NOT VB_WINDOWS OR NOT CMAKE_OBJCOPY)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${target}> $<TARGET_FILE_NAME:${target}>.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug
            $<TARGET_FILE_NAME:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()

# Import libraries that load their DLL at the first call instead of at start:
# for DLLs that only a rarely used command needs (the common dialogs pull in
# the printing system). Defines vb_delay_<dll> targets to link before the
# ordinary import library; with MSVC the linker's /DELAYLOAD does the same.
function(vb_delay_import dll)
  if(NOT VB_WINDOWS)
    return()
  endif()
  add_library(vb_delay_${dll} INTERFACE)
  if(MSVC)
    target_link_options(vb_delay_${dll} INTERFACE /DELAYLOAD:${dll}.dll)
    target_link_libraries(vb_delay_${dll} INTERFACE delayimp ${dll})
    return()
  endif()
  set(def ${VB_SOURCE_ROOT}/cmake/delay/${dll}.def)
  set(lib ${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a)
  add_custom_command(OUTPUT ${lib}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay
    COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${lib} --dllname ${dll}.dll
    DEPENDS ${def} VERBATIM)
  add_custom_target(vb_delay_${dll}_lib DEPENDS ${lib})
  add_dependencies(vb_delay_${dll} vb_delay_${dll}_lib)
  target_link_libraries(vb_delay_${dll} INTERFACE ${lib} ${dll})
endfunction()

# A static library of platform-free code. Its sources are added by the
# folders with vb_core_sources(); they may not include windows.h.
function(vb_core_library name)
  # The anchor keeps a library valid while its folders have no sources yet.
  set(anchor ${CMAKE_BINARY_DIR}/anchors/${name}_anchor.cpp)
  if(NOT EXISTS ${anchor})
    file(WRITE ${anchor} "// Generated: keeps the ${name} library non-empty.\nnamespace { [[maybe_unused]] int anchor = 0; }\n")
  endif()
  add_library(${name} STATIC ${anchor})
  target_include_directories(${name} PUBLIC ${VB_SOURCE_ROOT})
endfunction()

# Adds platform-free sources (and the headers beside them) to a core library.
function(vb_core_sources lib)
  target_sources(${lib} PRIVATE ${ARGN})
  foreach(f IN LISTS ARGN)
    get_filename_component(abs ${f} ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY VB_CORE_FILES ${abs})
    get_filename_component(dir ${abs} DIRECTORY)
    get_filename_component(stem ${abs} NAME_WE)
    foreach(h ${dir}/${stem}.h)
      if(EXISTS ${h})
        set_property(GLOBAL APPEND PROPERTY VB_CORE_FILES ${h})
      endif()
    endforeach()
  endforeach()
endfunction()

# Adds a header-only platform-free file to the purity check.
function(vb_core_headers)
  foreach(f IN LISTS ARGN)
    get_filename_component(abs ${f} ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY VB_CORE_FILES ${abs})
  endforeach()
endfunction()

# Fails the build when a core file includes windows.h (or another Win32 header).
function(vb_check_core_purity)
  get_property(files GLOBAL PROPERTY VB_CORE_FILES)
  list(REMOVE_DUPLICATES files)
  string(REPLACE ";" "\n" lines "${files}")
  file(WRITE ${CMAKE_BINARY_DIR}/core-files.txt "${lines}\n")
  add_custom_target(check_core_purity ALL
    COMMAND ${CMAKE_COMMAND} -DLIST=${CMAKE_BINARY_DIR}/core-files.txt -P ${VB_SOURCE_ROOT}/cmake/CheckCorePurity.cmake
    COMMENT "Checking that core files stay free of Win32 headers" VERBATIM)
  foreach(lib vbcore hookcore backupcore)
    add_dependencies(${lib} check_core_purity)
  endforeach()
endfunction()

# A native GoogleTest executable for core code (ASan+UBSan). Cases are
# discovered so that ctest lists each one.
function(vb_native_test name)
  if(NOT VB_NATIVE)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE VB_SOURCE_ROOT="${VB_SOURCE_ROOT}")
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# A Windows GoogleTest executable run under Wine as one ctest test.
# LOCK names a resource the test holds alone (the launcher's single instance,
# the profile key); GUI tests need the display fixture.
function(vb_wine_test name)
  if(NOT VB_WINDOWS)
    return()
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LOCKS;DEPENDS" ${ARGN})
  find_package(GTest REQUIRED)
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE VB_SOURCE_ROOT="${VB_SOURCE_ROOT}"
                             UNICODE _UNICODE)
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  # Wine tests share one display, one cursor and the global hooks of the
  # desktop: they run one at a time.
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_env TIMEOUT ${T_TIMEOUT} RUN_SERIAL TRUE
                       ENVIRONMENT "VB_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
  if(T_LOCKS)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
endfunction()

# A libFuzzer target (clang only), also run briefly by ctest.
function(vb_fuzz_target name)
  if(NOT (VB_NATIVE AND VB_CLANG))
    return()
  endif()
  # SEEDS: a folder of sample inputs read besides the corpus, for formats a
  # fuzzer cannot find its way into alone (their parser is not instrumented).
  cmake_parse_arguments(T "" "SECONDS;SEEDS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  if(NOT T_SECONDS)
    set(T_SECONDS $ENV{VB_FUZZ_SECONDS})
  endif()
  if(NOT T_SECONDS)
    set(T_SECONDS 20)
  endif()
  set(corpus ${CMAKE_BINARY_DIR}/fuzz-corpus/${name})
  file(MAKE_DIRECTORY ${corpus})
  set(seeds)
  if(T_SEEDS)
    get_filename_component(seeds ${T_SEEDS} ABSOLUTE)
  endif()
  add_test(NAME ${name} COMMAND ${name} -max_total_time=${T_SECONDS} -rss_limit_mb=2048
           -print_final_stats=1 ${corpus} ${seeds})
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT 600)
endfunction()

# A Google Benchmark executable (native).
function(vb_benchmark name)
  if(NOT VB_NATIVE)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} benchmark::benchmark benchmark::benchmark_main)
endfunction()
