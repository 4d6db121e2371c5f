# One GoogleTest executable per tests/ folder, registered with CTest.
if(CMAKE_CROSSCOMPILING)
  # Debian ships GoogleTest as sources: build them with the cross toolchain.
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(VALMERIN_GTEST_LIBS gmock gtest_main)
else()
  find_package(GTest REQUIRED)
  set(VALMERIN_GTEST_LIBS GTest::gmock GTest::gtest_main)
endif()

function(valmerin_add_test_folder dir lib)
  file(GLOB test_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp)
  if(NOT test_sources)
    return()
  endif()
  set(target valmerin_tests_${dir})
  add_executable(${target} ${test_sources})
  target_link_libraries(${target} PRIVATE ${lib} ${VALMERIN_GTEST_LIBS})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  # Tests that read files of the source tree (the demo, the fuzz corpus) find it
  # here: a compiler cache may hand __FILE__ over as a relative path.
  target_compile_definitions(${target} PRIVATE VALMERIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  if(WIN32)
    target_link_libraries(${target} PRIVATE shell32)
  endif()
  # Under a cross toolchain ctest runs the program through CMAKE_CROSSCOMPILING_EMULATOR.
  add_test(NAME ${target} COMMAND ${target})
  valmerin_add_stand_ins(${dir} ${target})
  set_tests_properties(${target} PROPERTIES TIMEOUT 600)
endfunction()

# Small programs a test starts: tests/<folder>/stand_ins/<name>.cpp becomes
# valmerin_stand_in_<name>, next to the test program. Only the Windows build
# needs them: elsewhere the tests write shell scripts instead.
function(valmerin_add_stand_ins dir target)
  if(NOT WIN32)
    return()
  endif()
  file(GLOB stand_in_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/stand_ins/*.cpp)
  foreach(source IN LISTS stand_in_sources)
    get_filename_component(name ${source} NAME_WE)
    add_executable(valmerin_stand_in_${name} ${source})
    target_compile_definitions(valmerin_stand_in_${name} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
    target_link_libraries(valmerin_stand_in_${name} PRIVATE shell32)
    add_dependencies(${target} valmerin_stand_in_${name})
  endforeach()
endfunction()
