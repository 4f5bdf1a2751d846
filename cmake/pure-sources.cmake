# The product's pure rules: no handle and no system call in them. The exe, the
# native tests and the fuzz targets all build them from this one list.
set(ORVALIX_PURE_SOURCES
  platform/astring.cpp platform/text.cpp platform/error_numbers.cpp app/command_tail.cpp
  launch/log_line.cpp launch/expand.cpp launch/launch_text.cpp
  startup/run_list.cpp session/shell_words.cpp ui/dialog_template.cpp
  ui/open_dialog_buffers.cpp)
list(TRANSFORM ORVALIX_PURE_SOURCES PREPEND ${ORVALIX_SOURCE_DIR}/src/)
