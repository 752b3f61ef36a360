# windres reads the files a resource script names (images, the manifest) without telling the
# build, so a changed picture would not rebuild the program. zv_resource_script(SCRIPT) makes
# SCRIPT depend on everything in res/ and in a data/ folder beside it.
file(GLOB ZV_LAUNCHER_RESOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/res/*")

function(zv_resource_script script)
  get_filename_component(path "${script}" ABSOLUTE)
  get_filename_component(folder "${path}" DIRECTORY)
  file(GLOB data CONFIGURE_DEPENDS "${folder}/data/*")
  set_source_files_properties("${path}" PROPERTIES
    OBJECT_DEPENDS "${ZV_LAUNCHER_RESOURCES};${data}")
endfunction()
