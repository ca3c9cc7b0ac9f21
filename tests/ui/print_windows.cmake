# The printed report's page layout, without a printer.
morvane_add_gtest(print_layout_test SOURCES print_layout_test.cpp LIBRARIES morvane_ui)
# The print dialog and the printouts, printed to PDF files and read back with poppler's tools.
morvane_add_qttest(print_dialog_test SOURCES print_dialog_test.cpp)
