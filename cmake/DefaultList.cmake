# Puts the default engine list beside the program and makes the user's list from it once. Included by the top
# CMakeLists.txt; the same file runs as a script at build time (cmake -P) to create the user's list.

if(CMAKE_SCRIPT_MODE_FILE)
    # The user's list is theirs: an existing one is never replaced, only a missing one is made.
    if(NOT EXISTS "${ENGINE_FILE}")
        file(COPY_FILE "${DEFAULT_ENGINE_FILE}" "${ENGINE_FILE}")
    endif()
    return()
endif()

set(VANTREL_DEFAULT_ENGINE_FILE "${CMAKE_BINARY_DIR}/Search Engines.bak")
add_custom_target(vantrel_default_list ALL
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "${PROJECT_SOURCE_DIR}/resources/Search Engines.bak"
            "${VANTREL_DEFAULT_ENGINE_FILE}"
    COMMAND ${CMAKE_COMMAND} "-DDEFAULT_ENGINE_FILE=${VANTREL_DEFAULT_ENGINE_FILE}"
            "-DENGINE_FILE=${CMAKE_BINARY_DIR}/Search Engines.ini" -P "${CMAKE_CURRENT_LIST_FILE}"
    COMMENT "Placing the default engine list beside the program"
    VERBATIM)
