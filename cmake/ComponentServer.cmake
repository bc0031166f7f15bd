# add_component_server(<target> SOURCES ... [LIBS ...])
# A shared library lib<target>.so that exports exactly DllCanUnloadNow, DllGetClassObject,
# DllRegisterServer and DllUnregisterServer (define them with DEFINE_SERVER_EXPORTS).
function(add_component_server name)
  cmake_parse_arguments(S "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} SHARED ${S_SOURCES})
  target_link_libraries(${name} PRIVATE server_machinery ${S_LIBS})
  set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_link_options(${name} PRIVATE
    "LINKER:--version-script=${PROJECT_SOURCE_DIR}/server/ComponentExports.map")
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS
    ${PROJECT_SOURCE_DIR}/server/ComponentExports.map)
endfunction()
