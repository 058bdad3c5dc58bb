# The layers of src/, one folder and one library each. Code names headers by their folder
# ("engines/modParse.h"), so a library that had src/ itself as an include directory would see every layer.
# Instead each layer gets an include root of its own in the build folder, holding one link: to its folder.
# A library sees its own root and, through what it links, the roots of the layers below it, so a header of a
# layer it does not link is not found and the include fails to build.

# Adds the include root of the layer `folder` to `target` with `scope` (PUBLIC for a layer's library, PRIVATE
# for the program).
function(vantrel_layer_include_directories target scope folder)
    set(root "${PROJECT_BINARY_DIR}/layers/${folder}")
    set(link "${root}/${folder}")
    if(NOT IS_SYMLINK "${link}")
        file(MAKE_DIRECTORY "${root}")
        file(CREATE_LINK "${PROJECT_SOURCE_DIR}/src/${folder}" "${link}" RESULT failed SYMBOLIC)
        if(failed)
            # A Windows host may refuse symbolic links to users without the right; the program still builds,
            # with every layer in sight. The Linux and cross builds keep the lines.
            message(STATUS "No link for the layer ${folder} (${failed}): its includes are not checked here")
            set(root "${PROJECT_SOURCE_DIR}/src")
        endif()
    endif()
    target_include_directories(${target} ${scope} "${root}")
endfunction()

# A static library for the layer `folder` of src/. The layers it may use are linked by the caller.
function(vantrel_add_layer_library name folder)
    add_library(${name} STATIC)
    vantrel_layer_include_directories(${name} PUBLIC ${folder})
endfunction()

# A layer of the core: standard library only, so none of Qt's code generators run over it.
function(vantrel_add_core_library name folder)
    vantrel_add_layer_library(${name} ${folder})
    set_target_properties(${name} PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)
endfunction()
