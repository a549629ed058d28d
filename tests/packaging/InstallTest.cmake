# Installs the build into a fresh prefix twice and checks that the program, its
# data and help sit side by side with a desktop entry, and that installing again
# keeps a palette the user has changed.
set(prefix "${WORK_DIR}/prefix")
file(REMOVE_RECURSE "${prefix}")

function(install_once)
    execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
                    RESULT_VARIABLE result OUTPUT_QUIET)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "cmake --install failed: ${result}")
    endif()
endfunction()

install_once()
set(folder "${prefix}/${INSTALL_DIR}")
foreach(name tintora tintora.chm colorchart.cci mycolor.rgb set.hcs colorset.dat)
    if(NOT EXISTS "${folder}/${name}")
        message(FATAL_ERROR "missing after install: ${folder}/${name}")
    endif()
endforeach()
foreach(name bin/tintora share/applications/tintora.desktop share/icons/hicolor/scalable/apps/tintora.svg)
    if(NOT EXISTS "${prefix}/${name}")
        message(FATAL_ERROR "missing after install: ${prefix}/${name}")
    endif()
endforeach()
file(READ "${prefix}/share/applications/tintora.desktop" entry)
if(NOT entry MATCHES "Exec=${prefix}/bin/tintora")
    message(FATAL_ERROR "desktop entry does not start the installed program:\n${entry}")
endif()

file(WRITE "${folder}/mycolor.rgb" "123456")
install_once()
file(READ "${folder}/mycolor.rgb" kept)
if(NOT kept STREQUAL "123456")
    message(FATAL_ERROR "reinstalling overwrote the user's palette")
endif()
file(REMOVE_RECURSE "${prefix}")
