# Every directory's sources are globbed, so adding a file needs no edit here.
function(setup_glob out)
    set(files)
    foreach(dir ${ARGN})
        file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
        list(APPEND files ${found})
    endforeach()
    set(${out} ${files} PARENT_SCOPE)
endfunction()
