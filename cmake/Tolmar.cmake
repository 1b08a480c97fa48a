# tolmar_library(<name> SOURCES ... [LIBS ...])
# One static library a folder; the folder above the sources is the include root,
# so code includes "platform/dao/database.h", "core/u11datafile.h" and so on.
function(tolmar_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_SOURCES)
    return()   # a folder whose first sources have not been written yet
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# tolmar_test(<name> SOURCES ... [LIBS ...] [GUI [MAIN <file>]])
# One test executable, run by CTest. GUI tests run on Qt's offscreen platform; MAIN replaces
# their usual main (one that sets up a screen of its own before the application starts).
function(tolmar_test name)
  cmake_parse_arguments(ARG "GUI" "MAIN" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_SOURCES)
    return()
  endif()
  if(ARG_GUI AND ARG_MAIN)
    add_executable(${name} ${ARG_SOURCES} ${ARG_MAIN})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} tolmar_ui Qt6::Widgets GTest::gtest)
  elseif(ARG_GUI)
    # GUI tests need an application object before the first widget: their main makes the
    # program's own, so that events run through the same error guard as in the program.
    add_executable(${name} ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/tests/support/gui_main.cpp)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} tolmar_ui Qt6::Widgets GTest::gtest)
  else()
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TOLMAR_SOURCE_DIR=${CMAKE_SOURCE_DIR};LSAN_OPTIONS=suppressions=${CMAKE_SOURCE_DIR}/tests/support/lsan.supp"
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    TIMEOUT 600)
endfunction()

# tolmar_fuzz(<name> SOURCES ... [LIBS ...])
# A libFuzzer target, made only with -DTOLMAR_FUZZ=ON and clang; scripts/fuzz.sh builds the
# tree for it (address and undefined-behaviour sanitizers, fuzzer-no-link) and runs it.
function(tolmar_fuzz name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT TOLMAR_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endfunction()
