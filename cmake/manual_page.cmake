# Runs at install time (install(CODE) in install.cmake): writes the manual page with the
# paths of the sample home and the help page under the prefix this install uses, which
# `cmake --install --prefix` chooses only after configuring, and compresses it as Debian
# wants it (gzip -9n: the same bytes on every build).
# In: TIRA_MAN_IN, TIRA_MAN_OUT (the .gz), TIRA_EXAMPLESDIR, TIRA_DATADIR, PROJECT_VERSION,
#     TIRA_GZIP.
foreach(dir EXAMPLESDIR DATADIR)
    set(path "${TIRA_${dir}}")
    if(NOT IS_ABSOLUTE "${path}")
        set(path "${CMAKE_INSTALL_PREFIX}/${path}")
    endif()
    # as roff text: a backslash and a quote are written as escapes, a hyphen as a minus
    string(REPLACE "\\" "\\e" path "${path}")
    string(REPLACE "\"" "\\(dq" path "${path}")
    string(REPLACE "-" "\\-" path "${path}")
    set(TIRA_MAN_${dir} "${path}")
endforeach()

get_filename_component(page "${TIRA_MAN_OUT}" NAME_WLE)
get_filename_component(folder "${TIRA_MAN_OUT}" DIRECTORY)
configure_file("${TIRA_MAN_IN}" "${folder}/${page}" @ONLY)
execute_process(COMMAND "${TIRA_GZIP}" -9nkf "${folder}/${page}" RESULT_VARIABLE gzipped)
if(NOT gzipped EQUAL 0)
    message(FATAL_ERROR "gzip could not compress ${folder}/${page}")
endif()
