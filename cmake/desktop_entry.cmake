# Runs at install time (install(CODE) in install.cmake): writes the menu entry with the
# program's path under the prefix this install uses, which `cmake --install --prefix`
# chooses only after configuring. In:  TIRA_DESKTOP_IN, TIRA_DESKTOP_OUT, TIRA_BINDIR.
if(IS_ABSOLUTE "${TIRA_BINDIR}")
    set(program "${TIRA_BINDIR}/tira")
else()
    set(program "${CMAKE_INSTALL_PREFIX}/${TIRA_BINDIR}/tira")
endif()
if(program MATCHES "\n")
    message(FATAL_ERROR "a program path with a line break cannot go into a desktop entry")
endif()

# The quoting rule of desktopExec() in src/cli/autostart.cpp, which writes the login entry,
# for the one argument here: an Exec argument with a reserved character is quoted, with
# " ` $ \ escaped inside; then, as every string value of the entry, its backslashes are
# doubled. % is written %%. tests/cli/install_test.cpp checks that both give the same Exec.
set(quote FALSE)
foreach(reserved " " "\t" "\"" "'" "\\" ">" "<" "~" "|" "&" ";" "$" "*" "?" "#" "(" ")" "`")
    string(FIND "${program}" "${reserved}" at)
    if(at GREATER_EQUAL 0)
        set(quote TRUE)
    endif()
endforeach()
set(exec "${program}")
if(quote)
    string(REPLACE "\\" "\\\\" exec "${exec}")
    foreach(special "\"" "`" "$")
        string(REPLACE "${special}" "\\${special}" exec "${exec}")
    endforeach()
    set(exec "\"${exec}\"")
endif()
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")

set(TIRA_DESKTOP_EXEC "${exec}")
configure_file("${TIRA_DESKTOP_IN}" "${TIRA_DESKTOP_OUT}" @ONLY)
