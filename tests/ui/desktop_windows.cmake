# The desktop windows driven as a user drives them: keys, clicks, menus, scripted message
# boxes and file dialogs.
morvane_add_qttest(desktop_helpers_test SOURCES desktop_helpers_test.cpp)
morvane_add_qttest(editor_window_test SOURCES editor_window_test.cpp)
morvane_add_qttest(main_window_test SOURCES main_window_test.cpp)
# The window's messages are compared with those of morvane-cli on the same files.
target_link_libraries(main_window_test PRIVATE morvane_cli_lib)
# The printouts, printed to PDF files and read back with poppler's tools.
morvane_add_qttest(printout_test SOURCES printout_test.cpp)
