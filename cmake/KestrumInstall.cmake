# What `cmake --install` puts under the prefix: the component and its header, the
# command-line host with its man page, a pkg-config file and a CMake package. Each
# installed part has its own block here; a front end with its own install rules adds
# a block of its own.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(KESTRUM_CMAKE_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Kestrum)

# The component and its header.
target_include_directories(kestrum INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
install(TARGETS kestrum EXPORT KestrumTargets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(FILES ${CMAKE_SOURCE_DIR}/include/kestrum/kestrum.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kestrum)

# The command-line host finds the component beside it in the installed tree.
file(RELATIVE_PATH KESTRUM_BIN_TO_LIB /prefix/${CMAKE_INSTALL_BINDIR} /prefix/${CMAKE_INSTALL_LIBDIR})
set_target_properties(kestrum_cli PROPERTIES INSTALL_RPATH "$ORIGIN/${KESTRUM_BIN_TO_LIB}")
install(TARGETS kestrum_cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The man page, from the program's help text, so that the two never disagree. The
# fuzzing build's program is not run at build time: that build is never installed.
if(NOT KESTRUM_FUZZ)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/kestrum.1
    COMMAND ${CMAKE_COMMAND} -DKESTRUM_CLI=$<TARGET_FILE:kestrum_cli> -DVERSION=${PROJECT_VERSION}
            -DOUTPUT=${CMAKE_BINARY_DIR}/kestrum.1 -P ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
    DEPENDS kestrum_cli kestrum ${CMAKE_SOURCE_DIR}/cmake/ManPage.cmake
    COMMENT "Writing the kestrum(1) man page")
  add_custom_target(kestrum_man ALL DEPENDS ${CMAKE_BINARY_DIR}/kestrum.1)
  install(FILES ${CMAKE_BINARY_DIR}/kestrum.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# pkg-config: the paths are relative to the .pc file, so the tree can be installed
# under any prefix (`cmake --install build --prefix DIR`).
file(RELATIVE_PATH KESTRUM_PC_TO_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
configure_file(${CMAKE_SOURCE_DIR}/cmake/kestrum.pc.in ${CMAKE_BINARY_DIR}/kestrum.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/kestrum.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The CMake package: find_package(Kestrum) and the target Kestrum::kestrum.
install(EXPORT KestrumTargets NAMESPACE Kestrum:: DESTINATION ${KESTRUM_CMAKE_PACKAGE_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/KestrumConfig.cmake.in
  ${CMAKE_BINARY_DIR}/KestrumConfig.cmake INSTALL_DESTINATION ${KESTRUM_CMAKE_PACKAGE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/KestrumConfigVersion.cmake COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/KestrumConfig.cmake ${CMAKE_BINARY_DIR}/KestrumConfigVersion.cmake
  DESTINATION ${KESTRUM_CMAKE_PACKAGE_DIR})
