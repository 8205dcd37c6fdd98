# The layer ladder, enforced by the compiler. Sources include headers as "<layer>/Header.h". Each
# layer's folder is reached through an include root of its own in the build tree that holds only
# that layer, and a target sees the roots of the layers it links. So a header of a higher layer is
# simply not found: document/ cannot include import/, views/ or app/, and no core layer sees Qt.
# A layer may be a sub-folder ("app/shell"), reached as "app/shell/Header.h" through its own root.
function(glyfora_layer target layer)
    string(REPLACE "/" "-" name ${layer})
    set(root ${PROJECT_BINARY_DIR}/layers/${name})
    get_filename_component(parent ${root}/${layer} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${layer} ${root}/${layer} SYMBOLIC)
    target_include_directories(${target} PUBLIC ${root})
endfunction()
