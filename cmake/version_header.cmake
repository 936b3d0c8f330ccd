# Writes OUT, a header with the project's version and the Git commit the tree is at, at every
# build; the file changes (and the one source that includes it is compiled again) only when the
# commit does. Outside a Git checkout (a source package) the commit reads "unknown".
execute_process(
  COMMAND git -C "${SOURCE}" rev-parse --short=12 HEAD
  OUTPUT_VARIABLE commit
  OUTPUT_STRIP_TRAILING_WHITESPACE
  ERROR_QUIET
  RESULT_VARIABLE failed)
if(failed OR commit STREQUAL "")
  set(commit "unknown")
endif()
set(text "#pragma once\n#define MORVEK_VERSION \"${VERSION}\"\n#define MORVEK_COMMIT \"${commit}\"\n")
if(EXISTS "${OUT}")
  file(READ "${OUT}" old)
endif()
if(NOT old STREQUAL text)
  file(WRITE "${OUT}" "${text}")
endif()
