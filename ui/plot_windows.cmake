# The windows of the plot: plot window, plot options dialog, the QPainter surface, and copying
# and saving the plot picture.
target_sources(morvane_ui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/graph_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/graph_window.h
  ${CMAKE_CURRENT_LIST_DIR}/plot_image_io.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_image_io.h
  ${CMAKE_CURRENT_LIST_DIR}/plot_options_dialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/plot_options_dialog.h
  ${CMAKE_CURRENT_LIST_DIR}/qpainter_surface.cpp
  ${CMAKE_CURRENT_LIST_DIR}/qpainter_surface.h
)
