# emberfall_add_test(NAME <name> SOURCES <files...> LIBS <targets...>)
# One GoogleTest executable per module's tests, registered with CTest test by test.
function(emberfall_add_test)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_LIBS} TestSupport GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${ARG_NAME} DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR} DISCOVERY_TIMEOUT 60)
endfunction()

# Every executable is built into build/bin, and so are the resource bundles and the
# application fonts: a program that is not inside an .app bundle is its own main
# bundle, whose resources are the folder it lies in (see platform/Foundation's Bundle).
if(NOT CMAKE_RUNTIME_OUTPUT_DIRECTORY)
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()
set(EMBERFALL_RESOURCE_DIR ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})

# emberfall_add_resource_bundle(TARGET <target> NAME <Package_Module> ASSETS <folder>
#                               [RESOURCES <files...>] [GENERATOR <executable target>])
# Builds <NAME>.bundle into build/bin from a folder of assets:
#   <NAME>.bundle/Contents/Info.plist
#   <NAME>.bundle/Contents/Resources/Assets/colors.json   name -> [r, g, b, a] (0...1)
#   <NAME>.bundle/Contents/Resources/Assets/<asset>.svg|.png ("/" in a name: a sub-folder)
#   <NAME>.bundle/Contents/Resources/<file>               each of RESOURCES
# then runs GENERATOR (a program of the build) with the Assets folder as its argument,
# to add assets made at build time, and makes <target> (the module's library, or a
# test) depend on it. The bundles a target owns are listed in its
# EMBERFALL_RESOURCE_BUNDLES property, for packaging.
function(emberfall_add_resource_bundle)
  cmake_parse_arguments(ARG "" "TARGET;NAME;ASSETS;GENERATOR" "RESOURCES" ${ARGN})
  if(NOT ARG_TARGET OR NOT ARG_NAME OR NOT ARG_ASSETS)
    message(FATAL_ERROR "emberfall_add_resource_bundle needs TARGET, NAME and ASSETS")
  endif()
  get_filename_component(assets ${ARG_ASSETS} ABSOLUTE)
  file(GLOB_RECURSE asset_files CONFIGURE_DEPENDS ${assets}/*)
  set(extra_commands "")
  set(extra_depends "")
  foreach(resource IN LISTS ARG_RESOURCES)
    get_filename_component(resource ${resource} ABSOLUTE)
    list(APPEND extra_commands COMMAND ${CMAKE_COMMAND} -E copy ${resource} ${EMBERFALL_RESOURCE_DIR}/${ARG_NAME}.bundle/Contents/Resources/)
    list(APPEND extra_depends ${resource})
  endforeach()
  if(ARG_GENERATOR)
    list(APPEND extra_commands COMMAND $<TARGET_FILE:${ARG_GENERATOR}> ${EMBERFALL_RESOURCE_DIR}/${ARG_NAME}.bundle/Contents/Resources/Assets)
    list(APPEND extra_depends ${ARG_GENERATOR})
  endif()
  set(bundle ${EMBERFALL_RESOURCE_DIR}/${ARG_NAME}.bundle)
  set(plist ${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}.Info.plist)
  file(WRITE ${plist}.in "<?xml version=\"1.0\" encoding=\"UTF-8\"?>
<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">
<plist version=\"1.0\">
<dict>
  <key>CFBundleIdentifier</key><string>${ARG_NAME}.resources</string>
  <key>CFBundleName</key><string>${ARG_NAME}</string>
  <key>CFBundlePackageType</key><string>BNDL</string>
</dict>
</plist>
")
  configure_file(${plist}.in ${plist} COPYONLY)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}.bundle.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${bundle}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${bundle}/Contents/Resources
    COMMAND ${CMAKE_COMMAND} -E copy ${plist} ${bundle}/Contents/Info.plist
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${assets} ${bundle}/Contents/Resources/Assets
    ${extra_commands}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${asset_files} ${plist} ${extra_depends}
    COMMENT "Resource bundle ${ARG_NAME}.bundle" VERBATIM)
  add_custom_target(${ARG_NAME}_bundle DEPENDS ${stamp})
  add_dependencies(${ARG_TARGET} ${ARG_NAME}_bundle)
  set_property(TARGET ${ARG_TARGET} APPEND PROPERTY EMBERFALL_RESOURCE_BUNDLES ${bundle})
  set_property(TARGET ${ARG_TARGET} APPEND PROPERTY EMBERFALL_RESOURCE_BUNDLE_TARGETS ${ARG_NAME}_bundle)
endfunction()

# emberfall_use_project_fonts(<target>)
# Copies the application fonts (resources/Fonts: fontconfig files and font files) to
# build/bin/Fonts, where the drawing layer loads them when a program starts.
function(emberfall_use_project_fonts target)
  if(NOT TARGET EmberfallFonts)
    set(source ${PROJECT_SOURCE_DIR}/resources/Fonts)
    file(GLOB font_files CONFIGURE_DEPENDS ${source}/*)
    set(stamp ${CMAKE_BINARY_DIR}/EmberfallFonts.stamp)
    add_custom_command(OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -E copy_directory ${source} ${EMBERFALL_RESOURCE_DIR}/Fonts
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${font_files} COMMENT "Application fonts" VERBATIM)
    add_custom_target(EmberfallFonts DEPENDS ${stamp})
  endif()
  add_dependencies(${target} EmberfallFonts)
endfunction()

# emberfall_bundle_resources(TARGET <deliverable> RESOURCES <folder> FROM <targets...>)
# Packages resources into a deliverable bundle: after <deliverable> is built, the
# resource bundles that emberfall_add_resource_bundle attached to each FROM target and
# the application fonts (as Fonts/) are copied into <folder>, normally the bundle's
# Contents/Resources, where the code inside the bundle finds them (the second place of
# the resource-bundle lookup; fonts of a loaded bundle are loaded by the drawing layer).
# Call it after the FROM targets have declared their bundles.
function(emberfall_bundle_resources)
  cmake_parse_arguments(ARG "" "TARGET;RESOURCES" "FROM" ${ARGN})
  if(NOT ARG_TARGET OR NOT ARG_RESOURCES)
    message(FATAL_ERROR "emberfall_bundle_resources needs TARGET and RESOURCES")
  endif()
  set(script ${CMAKE_BINARY_DIR}/EmberfallCopyResources.cmake)
  file(WRITE ${script} [=[
string(REPLACE "|" ";" bundles "${BUNDLES}")
file(MAKE_DIRECTORY "${DESTINATION}")
foreach(bundle IN LISTS bundles)
  if(bundle)
    get_filename_component(name "${bundle}" NAME)
    file(REMOVE_RECURSE "${DESTINATION}/${name}")
    file(COPY "${bundle}" DESTINATION "${DESTINATION}")
  endif()
endforeach()
file(REMOVE_RECURSE "${DESTINATION}/Fonts")
file(COPY "${FONTS}/" DESTINATION "${DESTINATION}/Fonts")
]=])
  set(bundles "")
  foreach(from IN LISTS ARG_FROM)
    get_target_property(paths ${from} EMBERFALL_RESOURCE_BUNDLES)
    get_target_property(builders ${from} EMBERFALL_RESOURCE_BUNDLE_TARGETS)
    if(NOT paths)
      message(FATAL_ERROR "emberfall_bundle_resources: ${from} has no resource bundles (yet)")
    endif()
    list(JOIN paths "|" joined)
    string(APPEND bundles "${joined}|")
    add_dependencies(${ARG_TARGET} ${builders})
  endforeach()
  add_custom_command(TARGET ${ARG_TARGET} POST_BUILD
    COMMAND ${CMAKE_COMMAND} "-DBUNDLES=${bundles}" "-DDESTINATION=${ARG_RESOURCES}"
      "-DFONTS=${PROJECT_SOURCE_DIR}/resources/Fonts" -P ${script}
    COMMENT "Resources of ${ARG_TARGET}" VERBATIM)
endfunction()
