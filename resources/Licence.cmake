# The copyright line lives in LICENSE; every program and the package's
# copyright file take it from there.
file(STRINGS ${CMAKE_SOURCE_DIR}/LICENSE VADERO_COPYRIGHT REGEX "^Copyright " LIMIT_COUNT 1)
string(REGEX REPLACE "^Copyright \\(c\\) ([0-9-]+) (.*)$" "\\1" VADERO_COPYRIGHT_YEARS "${VADERO_COPYRIGHT}")
string(REGEX REPLACE "^Copyright \\(c\\) ([0-9-]+) (.*)$" "\\2" VADERO_COPYRIGHT_HOLDER "${VADERO_COPYRIGHT}")
string(APPEND VADERO_COPYRIGHT ". MIT License.")
