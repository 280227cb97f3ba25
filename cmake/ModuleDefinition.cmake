# rtd_module_definition(DEF OUT_VAR): the module-definition file to link a Windows DLL
# with. 32-bit names are stdcall-decorated (KXMcuName@4) and listed as aliases of the
# undecorated export names; a 64-bit build has one calling convention and no decoration,
# so there the list is written again without the aliases.
function(rtd_module_definition def out_var)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    file(READ ${def} text)
    string(REGEX REPLACE " = [A-Za-z0-9_]+@[0-9]+" "" text "${text}")
    get_filename_component(name ${def} NAME_WE)
    set(def ${CMAKE_CURRENT_BINARY_DIR}/${name}-64.def)
    file(WRITE ${def} "${text}")
  endif()
  set(${out_var} ${def} PARENT_SCOPE)
endfunction()
