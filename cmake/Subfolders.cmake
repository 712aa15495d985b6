# Adds every direct subfolder of the current source folder that has a CMakeLists.txt, so that
# parts of the tree can come and go without editing a shared list.
function(add_subfolders)
    file(GLOB folders LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
    list(SORT folders)
    foreach(folder ${folders})
        if(IS_DIRECTORY ${folder} AND EXISTS ${folder}/CMakeLists.txt)
            add_subdirectory(${folder})
        endif()
    endforeach()
endfunction()
