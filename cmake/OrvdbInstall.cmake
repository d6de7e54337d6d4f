# What `cmake --install` puts in place for programs that use liborvdb:
#
#   lib/liborvdb.so.<version> (SONAME liborvdb.so.<major>) and its links
#   include/orvdb/*.h, *.hpp        the public headers
#   bin/orvdb                       the command-line tool
#   lib/pkgconfig/orvdb.pc          pkg-config --cflags --libs orvdb
#   lib/cmake/orvdb/                find_package(orvdb): target orvdb::orvdb
#
# Other install() rules (documentation, manual pages) sit beside these in
# their own files.
include(CMakePackageConfigHelpers)

set(ORVDB_CMAKE_DIR "${CMAKE_INSTALL_LIBDIR}/cmake/orvdb")

install(TARGETS liborvdb EXPORT orvdbTargets
        LIBRARY DESTINATION "${CMAKE_INSTALL_LIBDIR}"
        NAMELINK_COMPONENT Development
        COMPONENT Runtime)
install(DIRECTORY "${PROJECT_SOURCE_DIR}/include/orvdb"
        DESTINATION "${CMAKE_INSTALL_INCLUDEDIR}"
        COMPONENT Development)
install(TARGETS orvdb_cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT Runtime)

install(EXPORT orvdbTargets NAMESPACE orvdb:: FILE orvdbTargets.cmake
        DESTINATION "${ORVDB_CMAKE_DIR}" COMPONENT Development)
configure_package_config_file(
  "${PROJECT_SOURCE_DIR}/cmake/orvdbConfig.cmake.in"
  "${PROJECT_BINARY_DIR}/orvdbConfig.cmake"
  INSTALL_DESTINATION "${ORVDB_CMAKE_DIR}")
write_basic_package_version_file(
  "${PROJECT_BINARY_DIR}/orvdbConfigVersion.cmake"
  VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES "${PROJECT_BINARY_DIR}/orvdbConfig.cmake"
              "${PROJECT_BINARY_DIR}/orvdbConfigVersion.cmake"
        DESTINATION "${ORVDB_CMAKE_DIR}" COMPONENT Development)

# pkg-config: the prefix is found from the .pc file's own folder, so that
# `cmake --install --prefix`, DESTDIR and a moved tree all work.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(ORVDB_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH _orvdb_pc_up "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
  string(REGEX REPLACE "/$" "" _orvdb_pc_up "${_orvdb_pc_up}")
  set(ORVDB_PC_PREFIX "\${pcfiledir}/${_orvdb_pc_up}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
  set(ORVDB_PC_LIBDIR "${CMAKE_INSTALL_LIBDIR}")
else()
  set(ORVDB_PC_LIBDIR "\${prefix}/${CMAKE_INSTALL_LIBDIR}")
endif()
if(IS_ABSOLUTE "${CMAKE_INSTALL_INCLUDEDIR}")
  set(ORVDB_PC_INCLUDEDIR "${CMAKE_INSTALL_INCLUDEDIR}")
else()
  set(ORVDB_PC_INCLUDEDIR "\${prefix}/${CMAKE_INSTALL_INCLUDEDIR}")
endif()
configure_file("${PROJECT_SOURCE_DIR}/cmake/orvdb.pc.in" "${PROJECT_BINARY_DIR}/orvdb.pc" @ONLY)
install(FILES "${PROJECT_BINARY_DIR}/orvdb.pc"
        DESTINATION "${CMAKE_INSTALL_LIBDIR}/pkgconfig" COMPONENT Development)
