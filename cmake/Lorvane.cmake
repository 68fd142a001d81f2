# One static library per source folder; sources are picked up from the folder itself
# so that adding a file never needs an edit here.
function(lorvane_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(lorvane_${name} STATIC ${srcs})
  target_include_directories(lorvane_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(lorvane_${name} PUBLIC ${ARG_DEPS})
endfunction()

# One GoogleTest executable per tests/ folder; every test case is registered with CTest. WIDGETS runs
# the tests inside a QApplication (widget tests) instead of a QGuiApplication.
function(lorvane_test name)
  cmake_parse_arguments(ARG "WIDGETS" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(test_${name} ${srcs} ${PROJECT_SOURCE_DIR}/tests/common/test_main.cpp)
  target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} Qt6::Gui GTest::gtest GTest::gmock)
  target_compile_definitions(test_${name} PRIVATE
    LORVANE_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data"
    LORVANE_SOURCE_DATA="${PROJECT_SOURCE_DIR}/data"
    LORVANE_FONTS_CONF="${LORVANE_FONTS_CONF}")
  if(ARG_WIDGETS)
    target_link_libraries(test_${name} PRIVATE Qt6::Widgets)
    target_compile_definitions(test_${name} PRIVATE LORVANE_TEST_WIDGETS=1)
  endif()
  math(EXPR timeout "300 * ${LORVANE_TIMEOUT_SCALE}")
  gtest_discover_tests(test_${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT ${timeout})
endfunction()
