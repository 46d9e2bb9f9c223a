# Writes the build's version text (the project's version and, in a git checkout, the revision)
# into OUT. Run at every build; the file is rewritten only when the text changes, so a build
# with nothing new compiles nothing.
#   cmake -DSOURCE_DIR=... -DVERSION=... -DOUT=... -P WriteBuildVersion.cmake
set(revision "")
find_program(GIT git)
if(GIT AND EXISTS "${SOURCE_DIR}/.git")
  execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
    OUTPUT_VARIABLE revision OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(failed)
    set(revision "")
  else()
    execute_process(COMMAND "${GIT}" -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
      OUTPUT_VARIABLE changes OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(changes)
      string(APPEND revision "-modified")
    endif()
  endif()
endif()
set(VESTRINO_VERSION "${VERSION}")
set(VESTRINO_REVISION "${revision}")
configure_file("${CMAKE_CURRENT_LIST_DIR}/BuildVersion.cpp.in" "${OUT}" @ONLY)
