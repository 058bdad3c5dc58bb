# The Windows executable's icon, version resource and manifest, all from the project's version.
# Elsewhere the generated Version.h carries the version and vantrel_add_windows_resources adds nothing.

# Sets `out` to `number` with at least `digits` digits, zero-padded on the left.
function(_vantrel_zero_pad out number digits)
    set(text "${number}")
    string(LENGTH "${text}" length)
    while(length LESS digits)
        string(PREPEND text "0")
        math(EXPR length "${length} + 1")
    endwhile()
    set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Adds the resources to the executable `target` when building for Windows.
function(vantrel_add_windows_resources target)
    if(NOT WIN32)
        return()
    endif()
    _vantrel_zero_pad(minor "${PROJECT_VERSION_MINOR}" 2)
    _vantrel_zero_pad(revision "${PROJECT_VERSION_PATCH}" 4)
    set(VANTREL_FILE_VERSION "${PROJECT_VERSION_MAJOR}.${minor}.${revision}")
    set(VANTREL_ICON_FILE "${PROJECT_SOURCE_DIR}/resources/pictures/ievantrel.ico")

    set(generated "${PROJECT_BINARY_DIR}/generated/${target}")
    configure_file("${PROJECT_SOURCE_DIR}/src/app/ievantrel.manifest.in" "${generated}.manifest" @ONLY)
    if(MSVC)
        # The MSVC linker writes a manifest of its own: hand it ours to merge rather than add a second one.
        set(VANTREL_MANIFEST_RESOURCE "")
        target_sources(${target} PRIVATE "${generated}.manifest")
    else()
        set(VANTREL_MANIFEST_RESOURCE "1 24 \"${generated}.manifest\"")
    endif()
    configure_file("${PROJECT_SOURCE_DIR}/src/app/ievantrel.rc.in" "${generated}.rc" @ONLY)
    target_sources(${target} PRIVATE "${generated}.rc")
endfunction()
