# The engine's source files, relative to this folder; the main build and the fuzz build both
# compile this one list.
set(MORVANE_CORE_SOURCES
  atomic_file.cpp
  calibration_checks.cpp
  calibration_checks_text.cpp
  calibration_records.cpp
  calibration_run.cpp
  critical_t_table.cpp
  data_file.cpp
  engine_steps.cpp
  grid_conversion.cpp
  grid_feedback.cpp
  json_text.cpp
  number_format.cpp
  recovery_copy.cpp
  report_header.cpp
  report_page_layout.cpp
  report_rounding.cpp
  report_text_layout.cpp
  results_json.cpp
  results_report.cpp
  sha256.cpp
  text_encoding.cpp
  utf8.cpp
  value.cpp
  whole_file.cpp
)
