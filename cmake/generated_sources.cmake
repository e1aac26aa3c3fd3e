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

# The desk's code page 936 tables, taken from the build host's converter so
# that the desk needs no converter modules at run time (a static dropedit has
# none). The generator is built like everything else, sanitizers included,
# and LeakSanitizer hangs under qemu-user.
function(desk_gbk_table_source output)
  add_executable(make_gbk_table ${PROJECT_SOURCE_DIR}/tools/make_gbk_table.cpp)
  target_compile_options(make_gbk_table PRIVATE -Wall -Wextra)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 $<TARGET_FILE:make_gbk_table> ${output}
    DEPENDS make_gbk_table
    COMMENT "Making the code page 936 tables")
endfunction()
