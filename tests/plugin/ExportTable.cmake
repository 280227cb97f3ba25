# The built library's export table: names and ordinals (DLL) or names (shared object),
# and for the DLL the imported DLLs. A script on the build machine: it runs in a tree whose
# own programs cannot run here (RTD_TEST_EXPORTS_ONLY) too.
set(rtd_exports_dir ${CMAKE_CURRENT_LIST_DIR})
if(WIN32)
  add_test(NAME export_table
    COMMAND ${CMAKE_COMMAND} -E env OBJDUMP=${CMAKE_OBJDUMP}
            bash ${rtd_exports_dir}/check-exports.sh dll $<TARGET_FILE:rtd2120>
            ${rtd_exports_dir}/exports.txt)
else()
  add_test(NAME export_table
    COMMAND bash ${rtd_exports_dir}/check-exports.sh so $<TARGET_FILE:rtd2120>
            ${rtd_exports_dir}/exports.txt)
endif()
