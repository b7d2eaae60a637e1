# luma_freeimage_module(<target>)
# The program never links FreeImage: it loads Plugins_64/FreeImage_64.lml
# from beside its executable at run time. After each build of <target> that
# file is made a link to the system's libfreeimage (Debian's libfreeimage3),
# when the library is installed; without it the program runs without
# FreeImage.
function(luma_freeimage_module target)
  find_library(LUMA_FREEIMAGE_LIBRARY NAMES libfreeimage.so.3 freeimage)
  if(NOT LUMA_FREEIMAGE_LIBRARY)
    message(STATUS "FreeImage not found: ${target} runs without it")
    return()
  endif()
  set(folder $<TARGET_FILE_DIR:${target}>/Plugins_64)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${CMAKE_COMMAND} -E create_symlink ${LUMA_FREEIMAGE_LIBRARY} ${folder}/FreeImage_64.lml
    VERBATIM)
endfunction()
