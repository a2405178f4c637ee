# Writes the kestrum(1) man page from the program's own help: the overview of
# `kestrum --help`, then a section per command from `kestrum COMMAND --help`.
#   cmake -DKESTRUM_CLI=path/to/kestrum -DVERSION=1.0 -DOUTPUT=kestrum.1 -P ManPage.cmake

# A sanitizer build's program must not fail on the leaks it reports at exit.
set(ENV{ASAN_OPTIONS} "detect_leaks=0")

function(help_of out)
  execute_process(COMMAND ${KESTRUM_CLI} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${KESTRUM_CLI} ${ARGN} --help failed: ${status}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# roff reads a backslash as an escape and a leading dot or quote as a request.
function(roff_escaped out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

help_of(overview)
roff_escaped(overview_roff "${overview}")
set(page ".TH KESTRUM 1 \"\" \"kestrum ${VERSION}\" \"User Commands\"\n")
string(APPEND page ".SH NAME\nkestrum \\- read typeset newspaper and magazine pages (.ps, .s2)\n")
string(APPEND page ".SH SYNOPSIS\n.nf\n${overview_roff}.fi\n.SH COMMANDS\n")

# The command names follow "kestrum" on the overview's indented lines.
string(REGEX MATCHALL "\n  kestrum [a-z]+ " lines "${overview}")
foreach(line ${lines})
  string(REGEX REPLACE ".*kestrum ([a-z]+) $" "\\1" command "${line}")
  help_of(usage ${command})
  roff_escaped(usage_roff "${usage}")
  string(APPEND page ".SS ${command}\n.nf\n${usage_roff}.fi\n")
endforeach()

string(APPEND page ".SH EXIT STATUS\n0 done; 1 bad usage (for batch: a page that is not ok); 2 a file that is missing, not a page, unreadable or unwritable (for batch: bad usage or an unusable output folder).\n")
file(WRITE "${OUTPUT}" "${page}")
