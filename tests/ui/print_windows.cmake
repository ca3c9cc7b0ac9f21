# The printed report's page layout, without a printer. The printouts themselves are printed by
# main_window_test.
morvane_add_gtest(print_layout_test SOURCES print_layout_test.cpp LIBRARIES morvane_ui)
