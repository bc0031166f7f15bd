# Installation and packaging: `cmake --install build --prefix DIR` and `cpack` (Debian packages).
#
# Layout under the prefix (GNUInstallDirs):
#   bin/                      tavolex, trackinfo, regsvr, corvana, tavolex-desktop (with Qt)
#   LIBDIR/                   libTavolex.so, libInfo.so, libDemoWizard.so, libFilterGraph.so: component servers,
#                             loaded with dlopen by the path the class registry holds (no SONAME
#                             version: nothing links against them);
#                             libplatform_com_runtime.so.MAJOR: the one shared runtime library;
#                             libplatform_com.a, libplatform_registry.a: what a host links
#   include/tavolex/          the headers a host needs (component runtime, activation, the
#                             control's and the track library's interfaces)
#   LIBDIR/cmake/Tavolex/     find_package(Tavolex): Tavolex::Host and the libraries under it
#   LIBDIR/pkgconfig/         tavolex.pc
# Programs and components find the runtime library through a relative run path, so any
# prefix works. `regsvr --register-all PREFIX` registers the installed component servers.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TAVOLEX_INCLUDE_SUBDIR ${CMAKE_INSTALL_INCLUDEDIR}/tavolex)

# The shared runtime library carries the project's version; programs keep its SONAME.
set_target_properties(platform_com_runtime PROPERTIES
  VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR})

# Installed programs and component servers find the runtime library beside themselves.
file(RELATIVE_PATH tavolex_bin_to_lib
  ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
set(tavolex_programs tavolex trackinfo regsvr corvana)
if(TARGET tavolex-desktop)
  list(APPEND tavolex_programs tavolex-desktop)
endif()
set(tavolex_servers Tavolex Info DemoWizard FilterGraph)
# Libraries libInfo.so loads beside itself at run time: the Windows Media runtime and the dialog.
foreach(companion wmvcore InfoDialog)
  if(TARGET ${companion})
    list(APPEND tavolex_servers ${companion})
  endif()
endforeach()
set_target_properties(${tavolex_programs} PROPERTIES INSTALL_RPATH "$ORIGIN/${tavolex_bin_to_lib}")
set_target_properties(${tavolex_servers} PROPERTIES INSTALL_RPATH "$ORIGIN")

# `regsvr --register-all PREFIX` also looks in the installation's library folder.
target_compile_definitions(regsvr PRIVATE REGSVR_INSTALL_LIBDIR="${CMAKE_INSTALL_LIBDIR}")

# Host libraries: headers come from the source tree while building, from the prefix once
# installed.
foreach(lib platform_com platform_registry platform_com_runtime)
  set_target_properties(${lib} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES
    "$<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>;$<INSTALL_INTERFACE:${TAVOLEX_INCLUDE_SUBDIR}>")
endforeach()
set_target_properties(platform_com_runtime PROPERTIES EXPORT_NAME Runtime)
set_target_properties(platform_com PROPERTIES EXPORT_NAME Com)
set_target_properties(platform_registry PROPERTIES EXPORT_NAME Registry)

install(TARGETS ${tavolex_programs}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Tools)
install(TARGETS ${tavolex_servers}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime)
install(TARGETS platform_com_runtime platform_com platform_registry EXPORT TavolexTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Runtime NAMELINK_COMPONENT Development
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Development)

# Headers a host includes, with their folders kept ("platform/com/Types.h").
install(DIRECTORY platform/com platform/registry
  DESTINATION ${TAVOLEX_INCLUDE_SUBDIR}/platform COMPONENT Development FILES_MATCHING PATTERN "*.h")
install(FILES audioedit/AudioInfo.h audioedit/CdFrames.h audioedit/Divider.h audioedit/Pec.h
  DESTINATION ${TAVOLEX_INCLUDE_SUBDIR}/audioedit COMPONENT Development)
install(FILES audioedit/control/IAudioEditCtl.h audioedit/control/AudioEditCtlIds.h
              audioedit/control/ControlRecords.h
  DESTINATION ${TAVOLEX_INCLUDE_SUBDIR}/audioedit/control COMPONENT Development)
install(FILES info/InfoInterfaces.h info/TrackTypes.h
  DESTINATION ${TAVOLEX_INCLUDE_SUBDIR}/info COMPONENT Development)

# find_package(Tavolex): Tavolex::Host links what a host needs to create the components.
set(TAVOLEX_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Tavolex)
install(EXPORT TavolexTargets NAMESPACE Tavolex:: DESTINATION ${TAVOLEX_CMAKE_DIR}
  COMPONENT Development)
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/TavolexConfig.cmake.in
  ${PROJECT_BINARY_DIR}/TavolexConfig.cmake INSTALL_DESTINATION ${TAVOLEX_CMAKE_DIR}
  PATH_VARS TAVOLEX_INCLUDE_SUBDIR)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/TavolexConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/TavolexConfig.cmake ${PROJECT_BINARY_DIR}/TavolexConfigVersion.cmake
  DESTINATION ${TAVOLEX_CMAKE_DIR} COMPONENT Development)

# pkg-config, relocatable: the prefix is found from the .pc file's own folder.
file(RELATIVE_PATH tavolex_pc_to_prefix
  ${CMAKE_INSTALL_FULL_LIBDIR}/pkgconfig ${CMAKE_INSTALL_PREFIX})
configure_file(${PROJECT_SOURCE_DIR}/cmake/tavolex.pc.in ${PROJECT_BINARY_DIR}/tavolex.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/tavolex.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT Development)

# Debian packages: libtavolex1 (runtime library and component servers), tavolex (programs),
# libtavolex-dev (headers, host libraries, CMake and pkg-config files).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavolex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tavolex developers")
set(CPACK_PACKAGE_CONTACT "Tavolex developers <tavolex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "audio editing control, track information library and CD wizard launcher")
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL Runtime Tools Development)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The runtime library is in its own package (a dependency below), not in a system folder.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libtavolex${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_TOOLS_PACKAGE_NAME tavolex)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME libtavolex-dev)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_TOOLS_DEPENDS Runtime)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS Runtime)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
include(CPack)
