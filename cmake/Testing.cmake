# jl_add_test_program(name KIND core|gui|widgets SOURCES ... DEPS ...)
# One GoogleTest program per source folder. Its main (tests/support/TestMain.cpp)
# points HOME and the XDG folders at a fresh temporary folder and creates the
# Qt application object of the given kind.
function(jl_add_test_program name)
    cmake_parse_arguments(ARG "" "KIND" "SOURCES;DEPS" ${ARGN})
    if(NOT ARG_KIND)
        set(ARG_KIND core)
    endif()
    add_executable(${name} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/TestMain.cpp)
    string(TOUPPER ${ARG_KIND} kind)
    set(app_lib Qt6::Core)
    if(ARG_KIND STREQUAL "gui")
        set(app_lib Qt6::Gui)
    elseif(ARG_KIND STREQUAL "widgets")
        set(app_lib Qt6::Widgets)
    endif()
    target_compile_definitions(${name} PRIVATE JL_TEST_APP_${kind}
        JL_TEST_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
        JL_TEST_BINARY_DIR="${PROJECT_BINARY_DIR}")
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} ${app_lib} jl_test_support GTest::gtest Qt6::Test
        jl_options)
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" LABELS unit)
endfunction()
