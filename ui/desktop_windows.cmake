# The main window with its menus and commands, the data editor, the results window, the About
# box, and the desktop program itself.
target_sources(morvane_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/about_box.cpp
  ${CMAKE_CURRENT_LIST_DIR}/about_box.h
  ${CMAKE_CURRENT_LIST_DIR}/busy_pointer.h
  ${CMAKE_CURRENT_LIST_DIR}/checks_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/checks_window.h
  ${CMAKE_CURRENT_LIST_DIR}/caption_fit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/caption_fit.h
  ${CMAKE_CURRENT_LIST_DIR}/data_grid.cpp
  ${CMAKE_CURRENT_LIST_DIR}/data_grid.h
  ${CMAKE_CURRENT_LIST_DIR}/editor_grid_entry.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editor_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/editor_window.h
  ${CMAKE_CURRENT_LIST_DIR}/file_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_dialog.h
  ${CMAKE_CURRENT_LIST_DIR}/grid_clipboard.cpp
  ${CMAKE_CURRENT_LIST_DIR}/grid_clipboard.h
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window.h
  ${CMAKE_CURRENT_LIST_DIR}/main_window_children.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window_commands.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mdi_child.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mdi_child.h
  ${CMAKE_CURRENT_LIST_DIR}/message_box_sink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_box_sink.h
  ${CMAKE_CURRENT_LIST_DIR}/results_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/results_window.h
  ${CMAKE_CURRENT_LIST_DIR}/screenshots.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screenshots.h
  ${CMAKE_CURRENT_LIST_DIR}/twips.cpp
  ${CMAKE_CURRENT_LIST_DIR}/twips.h
)

qt_add_resources(morvane_ui "program_icon"
  PREFIX "/"
  BASE ${CMAKE_SOURCE_DIR}/packaging
  FILES ${CMAKE_SOURCE_DIR}/packaging/org.morvane.Morvane.svg)

add_executable(morvane ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(morvane PRIVATE morvane_ui)
