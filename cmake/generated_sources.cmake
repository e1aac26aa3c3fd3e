# Sources the build makes from data in the tree. The fuzz build compiles a
# GBK copy of the tree and needs the same ones, so both builds call these.

# The program's icon (app/dropedit.ico) as the byte array kDropeditIcon.
function(dropedit_icon_source output)
  set(icon ${PROJECT_SOURCE_DIR}/app/dropedit.ico)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -DINPUT=${icon} -DOUTPUT=${output} -DSYMBOL=kDropeditIcon
            -P ${PROJECT_SOURCE_DIR}/tools/embed_file.cmake
    DEPENDS ${icon} ${PROJECT_SOURCE_DIR}/tools/embed_file.cmake
    COMMENT "Embedding dropedit.ico")
endfunction()
