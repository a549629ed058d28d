# Copies each of FILES from SOURCE_DIR to DEST_DIR unless DEST_DIR already holds
# a file of that name: rebuilding must never overwrite the palettes and schemes
# that a user has changed beside the executable.
separate_arguments(FILES)
foreach(name IN LISTS FILES)
    if(NOT EXISTS "${SOURCE_DIR}/${name}")
        message(WARNING "Data file ${name} is not in ${SOURCE_DIR}")
    elseif(NOT EXISTS "${DEST_DIR}/${name}")
        file(COPY "${SOURCE_DIR}/${name}" DESTINATION "${DEST_DIR}")
    endif()
endforeach()
