# Shared compile settings and the one helper every folder uses to become a
# library: the sources of a folder are globbed, so adding a file needs no
# CMake edit.

add_library(hwf_options INTERFACE)
target_compile_options(hwf_options INTERFACE -Wall -Wextra)
if(HWF_WERROR)
  target_compile_options(hwf_options INTERFACE -Werror)
endif()
if(HWF_SANITIZE OR HWF_BUILD_FUZZ)
  target_compile_options(hwf_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                               -fno-sanitize-recover=undefined)
  target_link_options(hwf_options INTERFACE -fsanitize=address,undefined)
endif()
if(HWF_BUILD_FUZZ)
  # Coverage feedback for libFuzzer in every library; only the fuzz targets
  # link the fuzzer's own main.
  target_compile_options(hwf_options INTERFACE -fsanitize=fuzzer-no-link)
endif()

# hwf_library(name DIR folder [RECURSE] [DEPS ...]) makes the library hwf_<name>, used as
# hwf::<name>: the prefix keeps the targets apart from a parent project's when this one comes in
# through add_subdirectory(), and the alias makes a misspelt dependency an error, not a linker flag.
function(hwf_library name)
  cmake_parse_arguments(ARG "RECURSE" "DIR" "DEPS" ${ARGN})
  if(ARG_RECURSE)
    file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  else()
    file(GLOB srcs CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  endif()
  add_library(hwf_${name} STATIC ${srcs})
  add_library(hwf::${name} ALIAS hwf_${name})
  target_include_directories(hwf_${name} PUBLIC ${HWF_ROOT}/src)
  target_link_libraries(hwf_${name} PUBLIC ${ARG_DEPS} PRIVATE hwf_options)
endfunction()

# hwf_test(name DIR folder DEPS ...): one GoogleTest binary per folder.
function(hwf_test name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} hwf_test_support GTest::gtest GTest::gtest_main
                                        GTest::gmock hwf_options)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 300)
endfunction()
