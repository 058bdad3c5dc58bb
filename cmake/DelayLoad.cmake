# Windows DLLs that the program calls late or never, loaded at their first call instead of at its start: Direct3D 9
# (raster windows never create it) with the OpenGL it loads, the old file dialogs with the print spooler, network
# shares, file permissions, sessions, sounds and timers, sockets, the user's profile folder, DirectWrite, and the
# common controls, which the main window starts once it is shown. Each is a DLL that Windows and Wine would
# otherwise map, with its own imports, before main().

set(_vantrel_delayed_dlls d3d9 comdlg32 netapi32 authz wtsapi32 winmm ws2_32 userenv dwrite comctl32)

# Links `target`'s imports of the DLLs above through delay-load import libraries.
function(vantrel_delay_load target)
    if(NOT WIN32)
        return()
    endif()
    if(MSVC)
        list(TRANSFORM _vantrel_delayed_dlls PREPEND "/DELAYLOAD:" OUTPUT_VARIABLE options)
        list(TRANSFORM options APPEND ".dll")
        target_link_options(${target} PRIVATE ${options})
        target_link_libraries(${target} PRIVATE delayimp)
        return()
    endif()
    # MinGW: an import library of the same name, in a folder searched first, that dlltool made to load late.
    find_program(dlltool NAMES ${CMAKE_DLLTOOL} x86_64-w64-mingw32-dlltool REQUIRED)
    set(folder "${PROJECT_BINARY_DIR}/delay-load")
    # Made afresh, so that a DLL taken off the list is linked as usual again.
    file(REMOVE_RECURSE "${folder}")
    file(MAKE_DIRECTORY "${folder}")
    foreach(dll IN LISTS _vantrel_delayed_dlls)
        find_library(import_${dll} NAMES lib${dll}.a REQUIRED NO_CACHE)
        execute_process(COMMAND ${dlltool} --identify "${import_${dll}}" OUTPUT_VARIABLE name
                        OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
        execute_process(COMMAND ${CMAKE_NM} -g --defined-only "${import_${dll}}" OUTPUT_VARIABLE symbols
                        COMMAND_ERROR_IS_FATAL ANY)
        string(REGEX MATCHALL " I __imp_[^\n]+" imports "${symbols}")
        list(TRANSFORM imports REPLACE " I __imp_" "")
        list(REMOVE_DUPLICATES imports)
        list(JOIN imports "\n" exports)
        file(WRITE "${folder}/${dll}.def" "LIBRARY \"${name}\"\nEXPORTS\n${exports}\n")
        execute_process(COMMAND ${dlltool} --input-def "${folder}/${dll}.def" --dllname "${name}"
                                --output-delaylib "${folder}/lib${dll}.a" COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    target_link_directories(${target} PRIVATE "${folder}")
endfunction()
