# The desktop windows driven as a user drives them: keys, clicks, menus, scripted message
# boxes and file dialogs.
morvane_add_qttest(desktop_helpers_test SOURCES desktop_helpers_test.cpp)
morvane_add_qttest(editor_window_test SOURCES editor_window_test.cpp)
morvane_add_qttest(main_window_test SOURCES main_window_test.cpp)
# The window's messages are compared with those of morvane-cli on the same files.
target_link_libraries(main_window_test PRIVATE morvane_cli_lib)
# The lot register: recording runs, the register window, opening records and the trend plot.
morvane_add_qttest(register_window_test SOURCES register_window_test.cpp)
# The printouts, printed to PDF files and read back with poppler's tools.
morvane_add_qttest(printout_test SOURCES printout_test.cpp)
# The recovery copy: a typist program killed while it types, and a program started after it.
add_executable(recovery_typist recovery_typist.cpp)
target_link_libraries(recovery_typist PRIVATE morvane_ui Qt6::Test)
target_compile_definitions(recovery_typist PRIVATE
  MORVANE_TEST_DATA_DIR="${MORVANE_TEST_DATA_DIR}" MORVANE_TCRIT_FILE="${MORVANE_TCRIT_FILE}")
morvane_add_qttest(recovery_test SOURCES recovery_test.cpp)
target_compile_definitions(recovery_test PRIVATE
  RECOVERY_TYPIST="$<TARGET_FILE:recovery_typist>")
add_dependencies(recovery_test recovery_typist)
# Every window's menus and controls as designed, compared with a text of them.
morvane_add_qttest(window_design_test SOURCES window_design_test.cpp)
