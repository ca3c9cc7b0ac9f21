# The print dialog, the printed report and the printed plot.
target_sources(morvane_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/print_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/print_dialog.h
  ${CMAKE_CURRENT_LIST_DIR}/printer_choice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/printer_choice.h
  ${CMAKE_CURRENT_LIST_DIR}/report_printer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_printer.h
)
