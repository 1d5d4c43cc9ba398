# Project include of the `windows-check` preset: the Windows configuration of the whole
# program and its tests, cross-compiled with MinGW-w64 against the Linux Qt, so that the
# Windows syntax check (scripts/windows-syntax-check.sh) compiles exactly what a Windows
# build compiles, with its flags. Nothing is linked: the Linux Qt libraries only stand in
# for the import libraries a Windows Qt would have.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH) # the Linux Qt, outside the MinGW root
set(CMAKE_FIND_PACKAGE_TARGETS_GLOBAL ON)   # for the stand-ins below, from this folder
set(CMAKE_AUTOGEN_ORIGIN_DEPENDS OFF)       # the moc files only, not the libraries they link

# There is no libical for Windows here: the calendar import is checked against the Linux
# libical headers, searched after MinGW's own so that they never stand in for its C library.
set(TIRA_LIBICAL_HEADERS_ONLY /usr/include)

function(tira_stand_in_import_libraries)
    foreach(module IN ITEMS Core Gui Widgets Multimedia Network Test DBus OpenGL)
        if(NOT TARGET Qt6::${module})
            continue()
        endif()
        get_target_property(configs Qt6::${module} IMPORTED_CONFIGURATIONS)
        foreach(suffix IN ITEMS "" ${configs})
            if(suffix)
                set(suffix _${suffix})
            endif()
            get_target_property(location Qt6::${module} IMPORTED_LOCATION${suffix})
            if(location)
                set_target_properties(Qt6::${module} PROPERTIES
                    IMPORTED_IMPLIB${suffix} "${location}")
            endif()
        endforeach()
    endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL tira_stand_in_import_libraries)
