# Optional sanitizer builds: -DLYRINTH_SANITIZE=address,undefined or -DLYRINTH_SANITIZE=thread.
set(LYRINTH_SANITIZE "" CACHE STRING "Sanitizers to build everything with (empty: none)")
if(LYRINTH_SANITIZE)
    add_compile_options(-fsanitize=${LYRINTH_SANITIZE} -fno-omit-frame-pointer
        -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${LYRINTH_SANITIZE})
endif()
